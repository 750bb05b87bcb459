#include "cpr/HandsOffInput.h"

#include "case/CaseRecord.h"
#include "cpr/CprQualityInput.h"

#include <utility>

namespace {

// Device codes of the events that explain hands-off time besides the shocks and the
// analyses, which the CPR measures pick.
constexpr int32_t PlacePadsCode = 5;
constexpr int32_t AnalysisResultCode = 7;
constexpr int32_t PressRedButtonCode = 9;
constexpr int32_t BreathsCode = 13;
constexpr int32_t ShockWillBeDeliveredCode = 27;
constexpr int32_t ReplacePadsCode = 29;
constexpr int32_t PressFlashingButtonCode = 32;

} // namespace

HandsOffInput handsOffInput(const CaseRecord &c)
{
    CprQualityInput measured = cprQualityInput(c);
    HandsOffInput input;
    input.compressions = std::move(measured.compressions);
    input.shocksMs = std::move(measured.shocksMs);
    input.analysisStartsMs = std::move(measured.analysesMs);
    c.events.forEachUsed([&](int, const EventItem &e) {
        switch (e.code) {
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
