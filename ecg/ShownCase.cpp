#include "ecg/ShownCase.h"

#include "case/CRavelinView.h"

namespace {

template <typename T>
T slotValue(const std::vector<T> &values, int slot)
{
    return slot >= 0 && size_t(slot) < values.size() ? values[size_t(slot)] : T{};
}

} // namespace

bool ShownCase::audioCovers(int32_t ms) const
{
    return hasAudio && audioStartMs <= ms && int64_t(ms) <= int64_t(audioStartMs) + 1000LL * audioDurationSec;
}

ShownCase shownCase(const CRavelinView &view, int slot)
{
    ShownCase s;
    if (slot < 0 || slot >= view.slotCount)
        return s;
    s.record = view.caseAt(slot);
    if (!s.record)
        return s;
    s.hasCprFeedback = slotValue(view.hasCprFeedback, slot);
    s.hasAudio = slotValue(view.hasAudio, slot);
    s.hasTemperature = slotValue(view.tempLoaded, slot) == 1;
    s.audioStartMs = slotValue(view.audioStartMs, slot);
    s.audioDurationSec = slotValue(view.audioDurationSec, slot);
    return s;
}
