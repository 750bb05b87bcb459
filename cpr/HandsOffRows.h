#pragma once

#include "cpr/CprQualitySettings.h"
#include "cpr/CprTargets.h"
#include "cpr/HandsOffResult.h"

#include <QString>
#include <QStringList>
#include <vector>

class LanguagePack;

// One line of the per-shock table: the shock's time since power-on and its steps ("—" for none).
struct HandsOffShockRow
{
    QString time, analysis, charge, toShock, preShockPause, postShockPause, periShockPause;
    CprTargetStatus preShock = CprTargetStatus::None;  // against the pre-shock limit
    CprTargetStatus postShock = CprTargetStatus::None; // against the post-shock limit
    CprTargetStatus periShock = CprTargetStatus::None; // against the two limits added up

    QStringList cells() const
    {
        return {time, analysis, charge, toShock, preShockPause, postShockPause, periShockPause};
    }
};

// One stretch of the hands-off bar and its legend line: the time of one cause, kept apart
// by whether the reviewer set it (hatched) or the device's events explain it.
struct HandsOffCauseRow
{
    PauseCause cause = PauseCause::Other;
    bool setByReviewer = false;
    int64_t ms = 0;
    double share = 0;  // of the whole hands-off time, 0..1
    QString name;      // "analysis", "breaths (set by the reviewer)"
    QString amount;    // "12.3 s · 14.0 %"
};

// A line of the before-CPR times: what happened and when, since power-on.
struct HandsOffTimeRow
{
    QString label;
    QString time;      // "m:ss", "—" when it did not happen
};

namespace HandsOffRows {

// The shocks in time order; pre- and post-shock pauses against their limits, the peri-shock
// pause against their sum.
std::vector<HandsOffShockRow> shockRows(const HandsOffResult &result, const CprQualitySettings &settings);
// The line under the column headers that gives those limits: "≤ 10 s" under the three pauses.
HandsOffShockRow targetRow(const CprQualitySettings &settings, const QString &label);
// The column headers, in the order of HandsOffShockRow::cells().
QStringList shockHeaders(const LanguagePack &texts);

// The causes present, in PauseCause order, the device's reading of a cause before the
// reviewer's; causes without time are left out.
std::vector<HandsOffCauseRow> causeRows(const HandsOffResult &result, const LanguagePack &texts);
std::vector<HandsOffTimeRow> beforeCprRows(const BeforeCpr &before, const LanguagePack &texts);

// The word of a cause, "(set by the reviewer)" added when it was.
QString causeName(PauseCause cause, bool setByReviewer, const LanguagePack &texts);
// A pause's parts: "until analysis 3.1 s · analysis 7.2 s · …"; empty parts are left out.
QString partsText(const HandsOffPause &pause, const LanguagePack &texts);

} // namespace HandsOffRows
