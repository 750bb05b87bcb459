#pragma once

#include "cpr/HandsOffResult.h"

#include <QString>
#include <cstdint>
#include <map>
#include <optional>

struct CprFeedbackRecord;
struct CaseRecord;
struct ShownCase;

// The hands-off explanation of the case a window shows, worked out again only when what it
// reads changes: another case, its compressions or events, the pause threshold or the
// reviewer's causes. A cause set elsewhere shows at the next drawing run.
class HandsOffCache
{
public:
    // Null for a case without CPR feedback (or no case). The result stays valid until the
    // next call.
    const HandsOffResult *result(const ShownCase &shown, int32_t pauseThresholdMs);

private:
    struct Key
    {
        const CaseRecord *record = nullptr;
        const CprFeedbackRecord *compressions = nullptr; // the vector's memory
        size_t compressionCount = 0;
        int eventCount = 0;
        int32_t annotationChanges = 0;
        int32_t pauseThresholdMs = 0;
        std::map<int32_t, QString> causes;

        bool operator==(const Key &) const = default;
    };

    std::optional<Key> m_key;
    HandsOffResult m_result;
};
