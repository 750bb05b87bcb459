#pragma once

#include "library/LibraryCase.h"
#include "library/LibraryFilter.h"
#include "library/LibraryStatsRow.h"

#include <QString>
#include <QStringList>
#include <vector>

class CaseLibrary;
class LanguagePack;

// The figures of the QA report of the cases a filter takes, every one of them the library's
// own summary (CaseLibrary::stats, the same as "ravelin-cli library stats"): all of them in
// one row, by month and by device, and the recordings that need attention, the most recent
// AttentionLimit of them.
struct LibraryQaReport
{
    static constexpr int AttentionLimit = 200;

    LibraryFilter filter;
    double ccfTarget = DefaultLibraryCcfTarget; // 0..1
    LibraryStatsRow all;
    std::vector<LibraryStatsRow> months;        // month order
    std::vector<LibraryStatsRow> devices;       // serial number order
    std::vector<LibraryCase> attention;         // latest first, with their review status
    int attentionTotal = 0;                     // how many need attention, listed or not
};

// Reads the report's figures from library; false with library.errorText() saying why.
bool readLibraryQaReport(CaseLibrary &library, const LibraryFilter &filter, double ccfTarget, LibraryQaReport &report);

// The report's texts in the pack's language, numbers with its decimal separator. Anonymised,
// it names no patient (no names, no patient IDs, no search text); it never holds a comment
// or a review note.
namespace LibraryQaLines {

// A label and its value: a line of the summary or of the hands-off time by cause.
struct Line
{
    QString label;
    QString value;
};

// "72.4 %", "12.5 s", with the pack's decimal separator; "—" for none.
QString percent(std::optional<double> share, const LanguagePack &texts);
QString seconds(std::optional<double> ms, const LanguagePack &texts);

// "Period: 2026-01-01 to 2026-03-31", an open end named as such.
QString period(const LibraryFilter &filter, const LanguagePack &texts);
// The filters that chose the rows, one "label: value" each (the period's days included);
// "none" when there are none.
QStringList filters(const LibraryFilter &filter, const LanguagePack &texts, bool anonymize);
// The summary of all the rows: recordings, shocks, CCF, pauses, times to the first steps.
std::vector<Line> summary(const LibraryQaReport &report, const LanguagePack &texts);
// The hands-off time by cause with its shares, the whole time first; empty when no row has it.
std::vector<Line> handsOffByCause(const LibraryStatsRow &row, const LanguagePack &texts);
// The device table: headers, then a line per device (serial, model, recordings, median CCF,
// median pre-shock pause).
QStringList deviceHeaders(const LanguagePack &texts);
QList<QStringList> deviceRows(const LibraryQaReport &report, const LanguagePack &texts);
// The attention list: headers, then a line per recording (date, device, patient unless
// anonymised, CCF, shocks, longest pre-shock pause, why, review status).
QStringList attentionHeaders(const LanguagePack &texts, bool anonymize);
QList<QStringList> attentionRows(const LibraryQaReport &report, const LanguagePack &texts, bool anonymize);
// The definitions of the figures and the targets used.
QStringList definitions(const LibraryQaReport &report, const LanguagePack &texts);

} // namespace LibraryQaLines
