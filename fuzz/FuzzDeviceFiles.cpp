// Import of a device folder: the input becomes the folder's files, which are read as an
// import reads them (LoadFiles twice, the ECG header, the cut-record check) and decoded
// into events, CPR periods, series and samples. The first byte picks the model (its file
// names and texts) and whether a Temp file is there; then three 16-bit lengths cut the
// ECG file (with its header), the HR and the Temp file, and the trend file takes the rest.
// Every input must import without a crash, and every stored sample lies on the device's
// 1..250 scale.
#include "FuzzSupport.h"

#include "archive/MifImport.h"
#include "case/CaseSession.h"
#include "device/MifCase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace FuzzSupport;
    InputCutter input(data, size);
    const uint8_t flags = input.byte();
    const int32_t models[] = {ModelQ21, ModelQ25, ModelNone};
    const int32_t model = models[flags % 3];
    const bool withTemp = (flags & 4) != 0;
    const size_t ecgLength = input.length16();
    const size_t hrLength = input.length16();
    const size_t tempLength = input.length16();

    const QDir folder(scratchFolder());
    const auto path = [&](CC8Class::Kind kind) { return folder.filePath(CC8Class::MifFileName(model, kind)); };
    writeFile(path(CC8Class::Kind::CT), QByteArray(16, '\x5A'));
    writeFile(path(CC8Class::Kind::ECG), input.take(ecgLength));
    writeFile(path(CC8Class::Kind::HR), input.take(hrLength));
    const QByteArray temp = input.take(tempLength);
    if (withTemp)
        writeFile(path(CC8Class::Kind::Temp), temp);
    else
        QFile::remove(path(CC8Class::Kind::Temp));
    writeFile(path(CC8Class::Kind::Trend), input.rest());

    SilentPlatform platform;
    CaseSession view(texts(), platform);
    view.state.deviceModel = model;
    view.state.mifFolderPath = folder.path();
    view.store.setTempFilePresent(view.store.nextCaseSlot(), withTemp ? 1 : 0);
    MifImport import(view);
    const int slot = import.DecodeFolder();
    if (slot < 0)
        __builtin_trap(); // every file is there and readable
    import.archiveName();
    view.store.at(slot).tempLoaded = withTemp ? 1 : 0;
    MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex);
    for (char sample : view.store.at(slot).record->ecgSamples) {
        if (uint8_t(sample) < 1 || uint8_t(sample) > 250)
            __builtin_trap();
    }
    view.store.FreeCase(slot);
    return 0;
}
