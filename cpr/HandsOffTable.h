#pragma once

#include <QStringList>
#include <vector>

struct CprQualityResult;
struct HandsOffResult;

// The hands-off explanation as tables of text, for a spreadsheet: a header row, then one row
// per pause or shock. Times and lengths are whole ms; a figure a row has none of is empty.

// startMs, lengthMs, kind, then one column per cause in PauseCause order holding the ms of
// the pause that cause explains ("untilAnalysisMs" .. "transportMs", so each row's causes add
// up to its length and a column adds up to that cause's total), and setByReviewer (true or
// false). measures and handsOff are of the same pause threshold, so they list the same pauses.
std::vector<QStringList> handsOffPauseTable(const CprQualityResult &measures, const HandsOffResult &handsOff);

// timeMs, analysisMs, chargeMs, toShockMs, preShockPauseMs, postShockPauseMs,
// periShockPauseMs: one row per shock in time order.
std::vector<QStringList> handsOffShockTable(const HandsOffResult &handsOff);
