// The language pack's UTF-16 parser: any bytes give a table of texts, and no text holds a
// line end or a column separator.
#include "base/LanguagePack.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LanguagePack pack;
    pack.parseUtf16(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (uint8_t language : {pack.language(), uint8_t(1), uint8_t(2)}) {
        pack.setLanguage(language);
        for (int n = -1; n <= pack.textCount(); ++n) {
            const QString text = pack.GetText(n);
            if (text.contains(u'\n') || text.contains(u'\r') || text.contains(u'\t'))
                __builtin_trap();
        }
    }
    return 0;
}
