#include "device/MifFolderCheck.h"

#include "case/SharedState.h"

#include <QFileInfo>

namespace {

// First text of each kind's group of four, CT to Trend; Temp has none.
constexpr int FirstMissingText[MifFolderCheck::KindCount - 1] = {78, 82, 86, 90};

bool fileIn(const QString &folder, int32_t deviceModel, CC8Class::Kind kind)
{
    return QFileInfo(folder + u'/' + CC8Class::MifFileName(deviceModel, kind)).isFile();
}

} // namespace

MifFolderCheck checkMifFolder(const QString &folder)
{
    MifFolderCheck check;
    if (folder.isEmpty())
        return check;
    for (int k = 0; k < MifFolderCheck::KindCount; ++k) {
        const auto kind = CC8Class::Kind(k);
        if (fileIn(folder, ModelQ21, kind)) {
            check.deviceModel = ModelQ21;
        } else if (fileIn(folder, ModelQ25, kind)) {
            check.deviceModel = ModelQ25;
        } else if (fileIn(folder, ModelNone, kind)) {
            check.modelQ26Found = 1;
        } else {
            continue;
        }
        check.found[size_t(k)] = true;
    }
    return check;
}

int missingMifFileText(const MifFolderCheck &check)
{
    int variant = 3;
    if (check.deviceModel == ModelQ21)
        variant = 0;
    else if (check.deviceModel == ModelQ25)
        variant = 1;
    else if (check.modelQ26Found == 1)
        variant = 2;
    for (int k = 0; k < MifFolderCheck::KindCount - 1; ++k) {
        if (!check.found[size_t(k)])
            return FirstMissingText[k] + variant;
    }
    return 0;
}
