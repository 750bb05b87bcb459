#include "report/CprQualityReport.h"

#include "base/LanguagePack.h"
#include "case/CaseRecord.h"
#include "case/EventListText.h"
#include "device/TimeZoneTable.h"
#include "cpr/CprQuality.h"
#include "cpr/CprQualityInput.h"
#include "cpr/CprTexts.h"
#include "cpr/HandsOff.h"
#include "cpr/HandsOffInput.h"
#include "cpr/HandsOffTexts.h"
#include "report/CprChart.h"
#include "report/SelectionReportPainter.h"

namespace {

// The report's measured numbers written with the language's decimal separator.
void localizeNumbers(CprQualityReport &r, const LanguagePack &texts)
{
    const auto local = [&texts](QString &text) { text = texts.localNumbers(text); };
    for (CprSummaryRow &row : r.summary) {
        local(row.value);
        local(row.target);
    }
    for (CprPauseRow &row : r.pauses) {
        local(row.length);
        local(row.parts);
    }
    for (HandsOffCauseRow &row : r.byCause)
        local(row.amount);
    const auto localShock = [&local](HandsOffShockRow &row) {
        for (QString *cell : {&row.analysis, &row.charge, &row.toShock, &row.preShockPause, &row.postShockPause,
                              &row.periShockPause})
            local(*cell);
    };
    localShock(r.shockTargets);
    for (HandsOffShockRow &row : r.shocks)
        localShock(row);
    local(r.handsOffTotal);
}

} // namespace

CprQualityReport makeCprQualityReport(const CaseRecord &c, bool hasFeedback,
                                      const std::map<int32_t, PauseCause> &reviewerCauses,
                                      const CprReviewSettings &settings, const LanguagePack &texts, bool anonymize)
{
    using namespace CprText;
    CprQualityReport r;
    r.hasFeedback = hasFeedback;
    r.settings = settings;
    if (hasFeedback) {
        r.result = measureCprQuality(cprQualityInput(c), settings.quality);
        r.summary = CprSummary::rows(r.result, settings, texts);
        r.pauses = CprSummary::pauseRows(r.result, texts);
        r.handsOff = handsOff(handsOffInput(c), r.result, reviewerCauses);
        // The hands-off pauses are the measures' pauses, in the same order.
        for (size_t i = 0; i < r.pauses.size() && i < r.handsOff.pauses.size(); ++i) {
            r.pauses[i].parts = HandsOffRows::partsText(r.handsOff.pauses[i], texts);
            r.pauses[i].setByReviewer = r.handsOff.pauses[i].setByReviewer;
        }
        r.byCause = HandsOffRows::causeRows(r.handsOff, texts);
        r.shocks = HandsOffRows::shockRows(r.handsOff, settings.quality);
        r.beforeCpr = HandsOffRows::beforeCprRows(r.handsOff.beforeCpr, texts);
    }

    r.title = texts.GetText(ReportCommand);
    r.sectionTitle = texts.GetText(Tab);
    if (!anonymize) {
        // The start as the window shows it: "2021-03-07 09:05:00(UTC+09:00)".
        r.caseLine = c.startTimeValid ? EventListText::startTimeText(c.startTime)
                                            + EventListText::zoneSuffix(TimeZoneTable::offsetOfRow(c.timeZoneIndex), false)
                                      : EventListText::unknownStartTimeText();
        if (!c.serialNumber.isEmpty())
            r.caseLine += QStringLiteral("    ") + c.serialNumber;
    }
    r.settingsLine = texts.GetText(SettingsLine).arg(settings.quality.pauseThresholdMs);
    r.noFeedback = texts.GetText(NoFeedback);
    r.measureHeader = texts.GetText(Measure);
    r.valueHeader = texts.GetText(Value);
    r.targetHeader = texts.GetText(Target);
    r.resultHeader = texts.GetText(Result);
    r.pausesTitle = texts.GetText(Pauses);
    r.pausesContinued = texts.GetText(PausesContinued);
    r.noPauses = texts.GetText(NoPauses);
    r.startHeader = texts.GetText(PauseStart);
    r.lengthHeader = texts.GetText(PauseLength);
    r.kindHeader = texts.GetText(PauseKind);
    r.partsHeader = texts.GetText(HandsOffText::Parts);
    r.handsOffTitle = texts.GetText(HandsOffText::ByCauseTitle);
    r.handsOffTotal = texts.GetText(HandsOffText::HandsOffTime) + QStringLiteral(": ")
        + CprSummary::seconds(r.handsOff.totalMs);
    r.shocksTitle = texts.GetText(HandsOffText::ShocksTitle);
    r.noShocks = texts.GetText(HandsOffText::NoShocks);
    r.shockHeaders = HandsOffRows::shockHeaders(texts);
    r.shockTargets = HandsOffRows::targetRow(settings.quality, texts.GetText(Target));
    r.beforeCprTitle = texts.GetText(HandsOffText::BeforeCpr);
    r.rateChart = texts.GetText(RateChart);
    r.depthChart = texts.GetText(DepthChart) + QStringLiteral(" (") + CprSummary::unitName(settings.depthUnit)
        + QLatin1Char(')');
    r.ccfChart = texts.GetText(CcfChart);
    r.definitionsTitle = texts.GetText(Definitions);
    for (int i = 0; i < DefinitionCount; ++i)
        r.definitions << texts.GetText(FirstDefinition + i);
    for (int i = 0; i < HandsOffText::DefinitionCount; ++i)
        r.definitions << texts.GetText(HandsOffText::FirstDefinition + i);
    r.pageFormat = texts.GetText(PageOf);
    r.decimalSeparator = texts.decimalSeparator();
    localizeNumbers(r, texts);
    return r;
}

std::vector<CprChartSeries> cprQualityCharts(const CprQualityReport &report)
{
    const CprQualityResult &r = report.result;
    std::vector<CprChartSeries> charts = {CprChart::rateSeries(r, report.settings, report.rateChart),
                                          CprChart::depthSeries(r, report.settings, report.depthChart),
                                          CprChart::ccfSeries(r, report.settings, report.ccfChart)};
    for (CprChartSeries &c : charts)
        c.decimalSeparator = report.decimalSeparator;
    return charts;
}
