#pragma once

#include "app/CRavelinView.h"
#include "archive/AedArchiveWriter.h"
#include "device/MifCase.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/TempDir.h"
#include "tools/DeviceFolderWriter.h"

// A converted archive of a small device folder, written as dir/name.
inline QString makeArchive(const TempDir &dir, const QString &name)
{
    FakePlatform platform;
    LanguagePack texts = Packs::builtInEnglish();
    CRavelinView view(texts, platform);
    DeviceFiles::DeviceFolder folder;
    folder.trend = {DeviceFiles::TrendBlock{}};
    folder.write(dir.file("device"));
    view.state.mifFolderPath = dir.file("device");
    const int slot = MifCase::CreateCaseFromMif(view.session);
    WriteAedArchive(view.store, slot, dir.file(name), AedArchiveVariant::Conversion);
    return dir.file(name);
}
