#include "device/MifFolderCheck.h"

#include "case/DeviceFolderFiles.h"
#include "case/SharedState.h"

namespace {

// First text of each kind's group of four, CT to Trend; Temp has none.
constexpr int FirstMissingText[MifFolderCheck::KindCount - 1] = {78, 82, 86, 90};

constexpr auto TempKind = CC8Class::Kind::Temp;

} // namespace

MifFolderCheck checkMifFolder(const QString &folder)
{
    MifFolderCheck check;
    if (folder.isEmpty())
        return check;
    const DeviceFolderFiles files(folder);
    const auto fileIn = [&](int32_t deviceModel, CC8Class::Kind kind) {
        return files.hasFile(CC8Class::MifFileName(deviceModel, kind));
    };
    for (int k = 0; k < MifFolderCheck::KindCount; ++k) {
        const auto kind = CC8Class::Kind(k);
        if (kind == TempKind) {
            // The Temp file is read under the model's own name, so only that one counts.
            check.found[size_t(k)] = fileIn(check.deviceModel, kind);
            continue;
        }
        if (fileIn(ModelQ21, kind)) {
            check.deviceModel = ModelQ21;
        } else if (fileIn(ModelQ25, kind)) {
            check.deviceModel = ModelQ25;
        } else if (fileIn(ModelNone, kind)) {
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
