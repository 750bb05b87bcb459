#pragma once

#include "cpr/HandsOffResult.h"
#include "library/ReviewStatus.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// One shock of an indexed case. Times and pauses in ms; a pause is none when no compression
// was recorded on that side of the shock.
struct LibraryShock
{
    int32_t timeMs = 0;                      // case time of "Shock delivered"
    std::optional<double> energyJ;           // as the device reported it
    std::optional<int64_t> preShockPauseMs;
    std::optional<int64_t> postShockPauseMs;
    // The steps to the shock in the pause that holds it (see HandsOffShock): none when no
    // pause holds it, or in a row indexed before they were kept.
    std::optional<int64_t> analysisMs;
    std::optional<int64_t> chargeMs;
    std::optional<int64_t> toShockMs;
    std::optional<int64_t> handsOffPreShockPauseMs; // that pause's start to the shock
};

// What the case library keeps of one archive. Times of the start are the device's own clock
// (UTC+09:00), the same on every computer; startDay and startMonth are its calendar day
// ("2021-03-07") and month ("2021-03"), empty when the start is not valid. Measures are none
// when the case has nothing to measure (no CPR feedback, no pause). Shares are 0..1.
struct LibraryCase
{
    QString path;                 // absolute, with '/'
    int64_t sizeBytes = 0;
    int64_t modifiedMs = 0;       // file modification time, ms since 1970 UTC
    QString sha256;               // of the archive's bytes, lower-case hex
    QString model;                // "Q21", "Q25" or "Q26"
    QString serialNumber;
    int64_t startTime = 0;        // epoch seconds of the device's power-on
    bool startTimeValid = false;
    QString startDay;
    QString startMonth;
    int64_t durationMs = 0;       // power-on to the last recorded data
    int eventCount = 0;           // device events, annotations not counted
    int shockCount = 0;
    int analysisCount = 0;
    bool hasCprFeedback = false;
    bool hasAudio = false;
    int annotationCount = 0;
    QString patientId;
    QString lastName;
    QString firstName;
    QString comments;
    std::optional<double> ccf;
    std::optional<double> meanRatePerMin;
    std::optional<double> rateInTarget;
    std::optional<double> meanDepthIn;
    std::optional<double> depthInTarget;
    std::optional<int64_t> longestPauseMs;
    std::optional<int64_t> maxPreShockPauseMs;
    std::optional<int64_t> maxPostShockPauseMs;
    // The hands-off time by cause (PauseCause order) at the default pause threshold, with the
    // causes the reviewer set; none without CPR feedback, or in a row indexed before it was kept.
    std::optional<std::array<int64_t, PauseCauseCount>> handsOffByCauseMs;
    // Power-on to the first analysis and the first recorded compression: none when there is
    // none, or in a row indexed before they were kept. The first shock is shocks' first.
    std::optional<int64_t> firstAnalysisMs;
    std::optional<int64_t> firstCompressionMs;
    int64_t indexedAt = 0;        // epoch seconds when the row was written
    QString recordingId;          // the recording the archive holds ("" in a row indexed before it was kept)
    ReviewStatus review;          // of its recording, as a list reads it (not written with the case)
    std::vector<LibraryShock> shocks; // time order
};
