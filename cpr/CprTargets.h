#pragma once

#include "cpr/CprQualityResult.h"
#include "cpr/CprQualitySettings.h"

#include <cstdint>
#include <optional>

// Whether a measure reached its target; None when the measure itself is none.
enum class CprTargetStatus { None, Met, NotMet };

// The five targets of the review, each judged on the whole case.
struct CprTargetChecks
{
    CprTargetStatus ccf = CprTargetStatus::None;       // CCF at least the target
    CprTargetStatus rate = CprTargetStatus::None;      // mean rate inside the band
    CprTargetStatus depth = CprTargetStatus::None;     // mean depth inside the band (inches)
    CprTargetStatus preShock = CprTargetStatus::None;  // every pre-shock pause at most the limit
    CprTargetStatus postShock = CprTargetStatus::None; // every post-shock pause at most the limit
};

// The longest pre- and post-shock pause over the case's shocks; none when no shock has one.
std::optional<int64_t> longestPreShockPauseMs(const CprQualityResult &result);
std::optional<int64_t> longestPostShockPauseMs(const CprQualityResult &result);

// Bounds are part of their band. Shares and means are compared with a tolerance of 1e-9,
// so that a CCF of exactly 80 % computed as 4 / 5 meets a target of 0.80.
CprTargetStatus atLeast(std::optional<double> value, double target);
CprTargetStatus inBand(std::optional<double> value, double low, double high);
CprTargetStatus atMost(std::optional<int64_t> value, int64_t limit);

CprTargetChecks evaluateCprTargets(const CprQualityResult &result, const CprQualitySettings &settings);
