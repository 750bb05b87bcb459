#pragma once

#include "cpr/CprReviewSettings.h"

#include <QString>
#include <QStringList>
#include <vector>

struct CprQualityResult;
struct HandsOffResult;

// The measures and the hands-off time by cause as one JSON object ("ravelin-cli cpr"):
// members in a fixed order, two blanks of indent per level, shares as fractions 0..1, none
// as null, a line feed at the end. Both results are of the same pause threshold.
QString CprQualityJson(const CprQualityResult &result, const HandsOffResult &handsOff);

// A table of rows (its header first) as CSV with line feeds, fields quoted as the exported
// CSV files quote them.
QString CprTableCsv(const std::vector<QStringList> &table);

// The table of minutes (cprMinuteTable) as CSV with line feeds: a header line, then one
// line a minute, the depths in unit.
QString CprMinutesCsv(const CprQualityResult &result, CprDepthUnit unit = CprDepthUnit::Inches);
