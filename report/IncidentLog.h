#pragma once

#include "base/CTime.h"
#include "case/CaseRecord.h"
#include "cpr/HandsOffResult.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <map>
#include <vector>

class LanguagePack;
struct CprQualityReport;
struct CprReviewSettings;

// The HTML incident log of one case: header, patient, case, the event summary in time
// order, comments and the signature lines. Every value that comes from the case is
// HTML-escaped, and the line breaks of the comments and annotation bodies are kept as
// <br>; the document is UTF-8 and says so; lines end in CR LF.
namespace IncidentLog {

// What one report is made of besides the case itself.
struct ReportInput
{
    const CaseRecord *caseRecord = nullptr;
    int32_t shockCount = 0;      // shocks the decoding counted for the case
    bool timeAdjusted = false;   // the start time was typed on the General tab this run
    CTime reportTime;            // "Report Date:" (now, for the program), shown in the case's zone
    const CprQualityReport *cprQuality = nullptr; // the "CPR quality" section; none when null
};

// Text with &, <, >, " and ' replaced by their character references.
QString htmlEscaped(QStringView text);
// htmlEscaped text whose line breaks (CR LF, LF or CR) each become "<br>" and a line end.
QString htmlEscapedLines(QStringView text);

// The start text of the title and the header: "   2021.03.07   09:05:00", with
// " Adjust Time" after an adjustment; "   ????.??.??   ??:??:??" for an invalid start.
QString startText(const CaseRecord &c, bool timeAdjusted);

// The case length: the elapsed time of the latest event (the General tab's data
// duration), as "%2d:%02d:%02d" (hours, minutes, seconds), or with days in front when it
// has any.
QString lengthText(const CaseRecord &c);

// Time of an event in the summary: the clock time of start + elapsed (month and day in
// front when it falls on another day of the month than the start); for an invalid start
// the hours within the day, minutes and seconds of elapsed itself.
QString eventTimeText(const CaseRecord &c, const EventItem &e);

// Used event slots by ascending time; equal times keep slot order.
std::vector<int> eventsInTimeOrder(const EventTable &events);

// The "CPR quality" section: the summary and the pause list, or the sentence saying that
// the case has no CPR feedback.
QString cprQualitySection(const CprQualityReport &report);

// The CPR quality review of case c for the log: in English, as the rest of the log, from
// the English column of the pack.
CprQualityReport cprQuality(const CaseRecord &c, bool hasFeedback,
                            const std::map<int32_t, PauseCause> &reviewerCauses, const CprReviewSettings &settings,
                            const LanguagePack &texts);

// The whole document as the file holds it.
QByteArray document(const ReportInput &input);

} // namespace IncidentLog
