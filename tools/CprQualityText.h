#pragma once

#include <QString>

struct CprQualityResult;

// The measures as one JSON object ("ravelin-cli cpr"): members in a fixed order, two blanks
// of indent per level, shares as fractions 0..1, none as null, a line feed at the end.
QString CprQualityJson(const CprQualityResult &result);

// The table of minutes (cprMinuteTable) as CSV with line feeds: a header line, then one
// line a minute.
QString CprMinutesCsv(const CprQualityResult &result);
