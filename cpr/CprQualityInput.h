#pragma once

#include "case/CprFeedbackRecord.h"

#include <cstdint>
#include <vector>

struct CaseRecord;

// What the CPR quality measures read of a case. Times are ms of case time.
struct CprQualityInput
{
    std::vector<CprFeedbackRecord> compressions; // as recorded; the measures order them
    std::vector<int32_t> shocksMs;               // "Prompt : Shock delivered." events
    std::vector<int32_t> analysesMs;             // events of the two analysing prompts
};

// The compressions of a case's CPR feedback and the shocks and analyses among its events.
CprQualityInput cprQualityInput(const CaseRecord &c);
