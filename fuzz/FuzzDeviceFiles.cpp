// Decoding of the device files: the input is cut into the HR, Temp, ECG and trend buffers
// of one case (three leading 16-bit lengths, the trend data taking the rest), which are
// decoded into events, CPR periods, series and samples. Every input must decode without
// a crash, and every stored sample lies on the device's 1..250 scale.
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "case/CaseSession.h"
#include "device/MifCase.h"

#include <cstddef>
#include <cstdint>

namespace {

class SilentPlatform : public Platform
{
public:
    Answer messageBox(const QString &, const QString &, Icon, Buttons) override { return Answer::Ok; }
};

QByteArray take(const uint8_t *&data, size_t &size, size_t count)
{
    count = count < size ? count : size;
    QByteArray out(reinterpret_cast<const char *>(data), qsizetype(count));
    data += count;
    size -= count;
    return out;
}

size_t length(const uint8_t *&data, size_t &size)
{
    const QByteArray b = take(data, size, 2);
    return b.size() < 2 ? 0 : size_t(uint8_t(b[0]) | (uint8_t(b[1]) << 8));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static LanguagePack texts = [] {
        LanguagePack pack;
        pack.loadBuiltIn();
        return pack;
    }();
    SilentPlatform platform;
    CaseSession view(texts, platform);
    view.state.deviceModel = int32_t(size % 3 == 0 ? ModelQ21 : ModelNone);

    const size_t hrLength = length(data, size);
    const size_t tempLength = length(data, size);
    const size_t ecgLength = length(data, size);
    const int slot = view.store.AllocateCaseSlot(view.state.currentFolder + view.state.currentArchiveName);
    CC8Class &files = *view.store.at(slot).fileSet;
    files.hrData = take(data, size, hrLength);
    files.tempData = take(data, size, tempLength);
    files.ecgData = take(data, size, ecgLength);
    files.trendData = take(data, size, size);
    files.SplitTrendBlocks();
    view.store.at(slot).tempLoaded = 1;

    MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex);
    const CaseRecord &record = *view.store.at(slot).record;
    for (char sample : record.ecgSamples) {
        if (uint8_t(sample) < 1 || uint8_t(sample) > 250)
            __builtin_trap();
    }
    view.store.FreeCase(slot);
    return 0;
}
