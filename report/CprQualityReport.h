#pragma once

#include "cpr/CprQualityResult.h"
#include "cpr/CprReviewSettings.h"
#include "cpr/CprSummary.h"
#include "cpr/HandsOffResult.h"
#include "cpr/HandsOffRows.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <vector>

struct CprChartSeries;

class LanguagePack;
struct CaseRecord;

// The CPR quality review of one case as the tab, the incident log and the printed report
// show it: the measures, their texts in the pack's language and the texts around them.
struct CprQualityReport
{
    bool hasFeedback = false;        // the case has CPR feedback to measure
    CprReviewSettings settings;
    CprQualityResult result;         // empty without feedback
    std::vector<CprSummaryRow> summary;
    std::vector<CprPauseRow> pauses; // with their parts
    HandsOffResult handsOff;         // with the reviewer's causes
    std::vector<HandsOffCauseRow> byCause;
    std::vector<HandsOffShockRow> shocks;
    HandsOffShockRow shockTargets;   // the limits under the column headers
    std::vector<HandsOffTimeRow> beforeCpr;

    QString title;                   // "CPR quality report"
    QString sectionTitle;            // "CPR quality"
    QString caseLine;                // start time and serial number of the case; "" when anonymised
    QString settingsLine;            // "Pause threshold P = 2000 ms"
    QString noFeedback;              // the sentence shown instead of everything else
    QString measureHeader, valueHeader, targetHeader, resultHeader;
    QString pausesTitle, pausesContinued, noPauses;
    QString startHeader, lengthHeader, kindHeader, partsHeader;
    QString handsOffTitle;           // "Hands-off time by cause"
    QString handsOffTotal;           // "Hands-off time: 84.2 s"
    QString shocksTitle, noShocks;
    QStringList shockHeaders;        // in the order of HandsOffShockRow::cells()
    QString beforeCprTitle;
    QString rateChart, depthChart, ccfChart;
    QString definitionsTitle;
    QStringList definitions;
    QString pageFormat;              // "Page %1 of %2"
    QChar decimalSeparator = QLatin1Char('.'); // of the numbers shown, in the pack's language
};

// The review of case c (hasFeedback: its CPR feedback was read) with the causes the reviewer
// set for its pauses (by pause start, reviewerPauseCauses of the open case) and the settings, in
// the pack's language. Anonymised, it names neither the start nor the device's serial number; its
// other times count from power-on either way and it carries no patient field or annotation.
CprQualityReport makeCprQualityReport(const CaseRecord &c, bool hasFeedback,
                                      const std::map<int32_t, PauseCause> &reviewerCauses,
                                      const CprReviewSettings &settings, const LanguagePack &texts,
                                      bool anonymize = false);

// The rate, depth and CCF charts of a report, their numbers written as the report's.
std::vector<CprChartSeries> cprQualityCharts(const CprQualityReport &report);
