#include "ecg/HandsOffCache.h"

#include "case/CaseRecord.h"
#include "cpr/HandsOff.h"
#include "ecg/ShownCase.h"

const HandsOffResult *HandsOffCache::result(const ShownCase &shown, int32_t pauseThresholdMs)
{
    if (!shown.record || !shown.hasCprFeedback)
        return nullptr;
    const CaseRecord &c = *shown.record;
    Key key{&c,
            c.cprFeedback.data(),
            c.cprFeedback.size(),
            c.events.count(),
            c.annotationChangeCount,
            pauseThresholdMs,
            shown.pauseCauses ? *shown.pauseCauses : std::map<int32_t, QString>()};
    if (m_key != key) {
        m_result = handsOff(handsOffInput(c), pauseThresholdMs, reviewerPauseCauses(key.causes));
        m_key = std::move(key);
    }
    return &m_result;
}
