#include "cpr/HandsOffInput.h"

#include "case/CaseRecord.h"

namespace {

// Device codes of the events that explain hands-off time.
constexpr int32_t PlacePadsCode = 5;
constexpr int32_t AnalyzingCode = 6;
constexpr int32_t AnalysisResultCode = 7;
constexpr int32_t PressRedButtonCode = 9;
constexpr int32_t BreathsCode = 13;
constexpr int32_t ShockWillBeDeliveredCode = 27;
constexpr int32_t ReplacePadsCode = 29;
constexpr int32_t AnalyzingAndChargingCode = 31;
constexpr int32_t PressFlashingButtonCode = 32;

} // namespace

HandsOffInput handsOffInput(const CaseRecord &c)
{
    HandsOffInput input;
    input.compressions = c.cprFeedback;
    c.events.forEachUsed([&](int, const EventItem &e) {
        switch (e.code) {
        case EventCode::ShockDelivered:
            input.shocksMs.push_back(e.timeMs);
            break;
        case AnalyzingCode:
        case AnalyzingAndChargingCode:
            input.analysisStartsMs.push_back(e.timeMs);
            break;
        case AnalysisResultCode:
            input.analysisResultsMs.push_back(e.timeMs);
            break;
        case PressRedButtonCode:
        case PressFlashingButtonCode:
        case ShockWillBeDeliveredCode:
            input.readyMs.push_back(e.timeMs);
            break;
        case EventCode::PadsOn:
            input.padsOnMs.push_back(e.timeMs);
            input.padsMs.push_back(e.timeMs);
            break;
        case PlacePadsCode:
        case ReplacePadsCode:
        case EventCode::PadsOff:
            input.padsMs.push_back(e.timeMs);
            break;
        case BreathsCode:
            input.breathsMs.push_back(e.timeMs);
            break;
        default:
            break;
        }
    });
    return input;
}
