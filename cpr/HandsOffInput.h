#pragma once

#include "case/CprFeedbackRecord.h"

#include <cstdint>
#include <vector>

struct CaseRecord;

// What the hands-off explanation reads of a case: the compressions and the times of the
// events that explain a pause. Times are ms of case time, in any order.
struct HandsOffInput
{
    std::vector<CprFeedbackRecord> compressions; // as recorded; the pauses order them
    std::vector<int32_t> shocksMs;               // "Shock delivered"
    std::vector<int32_t> analysisStartsMs;       // the two analysing prompts (codes 6 and 31)
    std::vector<int32_t> analysisResultsMs;      // the shock / no-shock advice (code 7)
    std::vector<int32_t> readyMs;                // ready to shock: the button prompts, the countdown (codes 9, 32, 27)
    std::vector<int32_t> padsMs;                 // pads prompts (codes 5 and 29) and every pads off and on
    std::vector<int32_t> padsOnMs;               // pads put on
    std::vector<int32_t> breathsMs;              // "Give two breaths" (code 13)
};

// The compressions of a case's CPR feedback and its events by the codes they were decoded from.
HandsOffInput handsOffInput(const CaseRecord &c);
