#pragma once

#include "cpr/HandsOffInput.h"
#include "cpr/HandsOffResult.h"

#include <QString>
#include <cstdint>
#include <map>

struct CprQualityResult;

// Every millisecond of hands-off time explained by its cause.
//
// The pauses are those of the CPR measures with the same threshold. A pause [a, b) that
// holds a shock (the first s with a < s < b) is split at x, the latest analysis start
// before s, at r, the first analysis result at or after it, and at y, the latest ready
// event before s, each held inside [a, s] and in that order: until analysis [a, x),
// analysis [x, r), charge [r, y), to shock [y, s), after shock [s, b). A missing event
// takes the split before it. A pause with no shock but an analysis start x inside is
// split into until analysis [a, x), analysis [x, r) to the first result r at or after x
// (held inside [x, b]) and after analysis [r, b). Any other pause is one part: pads when a
// pads event lies inside, else breaths when breaths were prompted inside, else other.
// A cause the reviewer set for a pause (keyed by its start) replaces its parts last.
HandsOffResult handsOff(const HandsOffInput &input, int32_t pauseThresholdMs,
                        const std::map<int32_t, PauseCause> &reviewerCauses = {});
// The same with the pauses of measures already taken of the input's compressions (at the
// threshold wanted), which are not measured again.
HandsOffResult handsOff(const HandsOffInput &input, const CprQualityResult &measures,
                        const std::map<int32_t, PauseCause> &reviewerCauses = {});

// "until-analysis", "analysis", "charge", ..., "transport".
QString pauseCauseName(PauseCause cause);
// The causes a reviewer set, by pause start, as the review file names them
// ("breaths", "pads", "rhythm-check", "airway", "transport", "other"); a name that is not
// one of them is left out.
std::map<int32_t, PauseCause> reviewerPauseCauses(const std::map<int32_t, QString> &named);
