#include "device/EventText.h"

#include "base/LanguagePack.h"
#include "case/SharedState.h"

int EventTextNumber(int code, int32_t deviceModel)
{
    if (code < 100)
        return code;
    if (code == 101 && deviceModel != ModelQ21)
        return 49;
    if (code == 103 && deviceModel == ModelQ21)
        return 35;
    if (code > 114)
        return code + 56;
    return code - 66;
}

QString EventText(int code, int32_t deviceModel, const LanguagePack &texts)
{
    return texts.GetText(EventTextNumber(code, deviceModel));
}
