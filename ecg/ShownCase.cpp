#include "ecg/ShownCase.h"

#include "case/CaseStore.h"

bool ShownCase::audioCovers(int32_t ms) const
{
    return hasAudio && audioStartMs <= ms && int64_t(ms) <= int64_t(audioStartMs) + 1000LL * audioDurationSec;
}

ShownCase shownCase(const CaseStore &store, int slot)
{
    ShownCase s;
    s.record = store.caseAt(slot);
    if (!s.record)
        return s;
    const OpenCase &entry = *store.find(slot);
    s.hasCprFeedback = entry.hasCprFeedback;
    s.hasAudio = entry.hasAudio;
    s.hasTemperature = entry.tempLoaded == 1;
    s.audioStartMs = entry.audioStartMs;
    s.audioDurationSec = entry.audioDurationSec;
    s.pauseCauses = &entry.pauseCauses;
    return s;
}
