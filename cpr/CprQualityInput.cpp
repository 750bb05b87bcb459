#include "cpr/CprQualityInput.h"

#include "case/CaseRecord.h"

namespace {

// Device codes of "Analyzing heart rhythm" and "Analyzing and Charging".
constexpr int32_t AnalyzingCode = 6;
constexpr int32_t AnalyzingAndChargingCode = 31;

} // namespace

CprQualityInput cprQualityInput(const CaseRecord &c)
{
    CprQualityInput input;
    input.compressions = c.cprFeedback;
    c.events.forEachUsed([&](int, const EventItem &e) {
        if (e.code == EventCode::ShockDelivered)
            input.shocksMs.push_back(e.timeMs);
        else if (e.code == AnalyzingCode || e.code == AnalyzingAndChargingCode)
            input.analysesMs.push_back(e.timeMs);
    });
    return input;
}
