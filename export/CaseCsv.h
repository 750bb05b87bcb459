#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct CaseRecord;
struct CprQualityResult;

// The tables of a case as CSV (RFC 4180): UTF-8, a header row, CR LF after every row, a
// field in double quotes (its quotes doubled) when it holds a comma, a quote or a line break.
namespace CaseCsv {

// One row of fields.
QByteArray row(const QStringList &fields);

// time_ms, clock_time, text, detail: every event in time order; the clock time is that of
// the case as shown ("YYYY-MM-DD HH:MM:SS"), empty when the start is not valid.
// Anonymised, the clock time is always empty (time_ms counts from power-on), a reviewer's
// annotation reads Anonymity::annotationText() and no event has a detail.
QByteArray events(const CaseRecord &c, bool anonymize = false);
// The tables below hold times from power-on and measures only, anonymised or not.

// time_ms, depth, depth_in, depth_cm: every compression of the CPR feedback as recorded,
// depth in the sensor's units.
QByteArray compressions(const CaseRecord &c);
// start_ms, length_ms, kind: the pauses between compressions of the CPR quality measures.
QByteArray pauses(const CprQualityResult &result);
// The per-minute table of the CPR quality measures (cprMinuteTable).
QByteArray minutes(const CprQualityResult &result);

} // namespace CaseCsv
