#pragma once

#include "cpr/CprQualityResult.h"
#include "cpr/CprReviewSettings.h"
#include "cpr/CprTargets.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class LanguagePack;

// One line of the summary as the tab, the log and the printed report show it.
struct CprSummaryRow
{
    QString measure;
    QString value;                                  // "—" for none
    QString target;                                 // "" where the measure has no target
    CprTargetStatus status = CprTargetStatus::None; // judged measures only
    bool judged = false;                            // the measure has a target to meet
    QString result;                                 // "Met", "Not met" or "—"; "" when not judged
};

// One pause of the list.
struct CprPauseRow
{
    int32_t startMs = 0; // case time of the compression before the pause
    QString start;       // that time as "m:ss" (or "h:mm:ss") since power-on
    QString length;      // "12.3 s"
    QString kind;        // in the pack's language
    QString parts;       // the hands-off parts: "until analysis 3.1 s · analysis 7.2 s"
    bool setByReviewer = false; // its cause is the reviewer's
};

// The texts of the CPR quality review, in the pack's language. Numbers are written with
// a point whatever the language, as the command line writes them.
namespace CprSummary {

constexpr auto None = u"\u2014"; // what a measure that is none shows

QString percent(std::optional<double> share);           // "72.4 %"
QString rate(std::optional<double> perMinute);          // "108 /min"
QString depth(std::optional<double> inches, CprDepthUnit unit); // "2.13 in", "5.41 cm"
QString seconds(std::optional<int64_t> ms);             // "14.2 s"
QString caseTime(std::optional<int64_t> ms);            // "4:05", "1:02:03"
QString unitName(CprDepthUnit unit);                    // "in", "cm"

QString statusText(CprTargetStatus status, const LanguagePack &texts); // "Met", "Not met", "—"
QString kindText(CprPauseKind kind, const LanguagePack &texts);

// Targets as shown beside their measures: "≥ 80 %", "100–120 /min", "5.08–6.10 cm", "≤ 10 s".
QString ccfTarget(const CprQualitySettings &s);
QString rateTarget(const CprQualitySettings &s);
QString depthTarget(const CprQualitySettings &s, CprDepthUnit unit);
QString pauseLimit(int32_t ms);

std::vector<CprSummaryRow> rows(const CprQualityResult &result, const CprReviewSettings &settings,
                                const LanguagePack &texts);
std::vector<CprPauseRow> pauseRows(const CprQualityResult &result, const LanguagePack &texts);

} // namespace CprSummary
