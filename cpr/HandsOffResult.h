#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// Times are ms of case time (since power-on), lengths ms; shares are fractions 0..1.
// std::nullopt is "none".

// Why the hands were off the chest: the steps of a shock or an analysis, what else a
// pause held, or what the reviewer read into it.
enum class PauseCause {
    UntilAnalysis,
    Analysis,
    Charge,
    ToShock,
    AfterShock,
    AfterAnalysis,
    Pads,
    Breaths,
    Other,
    RhythmCheck,
    Airway,
    Transport,
};
constexpr size_t PauseCauseCount = size_t(PauseCause::Transport) + 1;

// One stretch of a pause, [startMs, startMs + lengthMs); it may be empty.
struct PausePart
{
    PauseCause cause = PauseCause::Other;
    int32_t startMs = 0;
    int64_t lengthMs = 0;
};

// A pause of the CPR measures with its parts: they follow one another from its start and
// their lengths add up to its length.
struct HandsOffPause
{
    int32_t startMs = 0;
    int64_t lengthMs = 0;
    std::vector<PausePart> parts;
    bool setByReviewer = false; // one part, of the cause the reviewer set
};

// The steps to one shock, measured in the pause that holds it; none when no pause does.
struct HandsOffShock
{
    int32_t timeMs = 0;
    std::optional<int64_t> analysisMs;         // analysis start to its result
    std::optional<int64_t> chargeMs;           // result to ready
    std::optional<int64_t> toShockMs;          // ready to the shock
    std::optional<int64_t> preShockPauseMs;    // pause start to the shock
    std::optional<int64_t> postShockPauseMs;   // the shock to the pause's end
    std::optional<int64_t> periShockPauseMs;   // the whole pause
};

// What happened before the first compression could be counted.
struct BeforeCpr
{
    std::optional<int32_t> firstPadsOnMs;
    std::optional<int32_t> firstAnalysisMs;
    std::optional<int32_t> firstShockMs;
    std::optional<int32_t> firstCompressionMs;
};

struct HandsOffResult
{
    BeforeCpr beforeCpr;
    std::vector<HandsOffPause> pauses; // time order, the same pauses as the CPR measures'
    int64_t totalMs = 0;               // the pauses' lengths added up
    std::array<int64_t, PauseCauseCount> byCauseMs{};
    std::array<std::optional<double>, PauseCauseCount> share{}; // none when totalMs is 0
    std::vector<HandsOffShock> shocks; // time order
};
