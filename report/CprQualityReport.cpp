#include "report/CprQualityReport.h"

#include "base/LanguagePack.h"
#include "case/CaseRecord.h"
#include "cpr/CprQuality.h"
#include "cpr/CprQualityInput.h"
#include "cpr/CprTexts.h"
#include "report/SelectionReportPainter.h"

CprQualityReport makeCprQualityReport(const CaseRecord &c, bool hasFeedback, const CprReviewSettings &settings,
                                      const LanguagePack &texts, bool anonymize)
{
    using namespace CprText;
    CprQualityReport r;
    r.hasFeedback = hasFeedback;
    r.settings = settings;
    if (hasFeedback) {
        r.result = measureCprQuality(cprQualityInput(c), settings.quality);
        r.summary = CprSummary::rows(r.result, settings, texts);
        r.pauses = CprSummary::pauseRows(r.result, texts);
    }

    r.title = texts.GetText(ReportCommand);
    r.sectionTitle = texts.GetText(Tab);
    if (!anonymize) {
        r.caseLine = SelectionReportLayout::headerStartText(c).simplified();
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
    r.rateChart = texts.GetText(RateChart);
    r.depthChart = texts.GetText(DepthChart) + QStringLiteral(" (") + CprSummary::unitName(settings.depthUnit)
        + QLatin1Char(')');
    r.ccfChart = texts.GetText(CcfChart);
    r.definitionsTitle = texts.GetText(Definitions);
    for (int i = 0; i < DefinitionCount; ++i)
        r.definitions << texts.GetText(FirstDefinition + i);
    r.pageFormat = texts.GetText(PageOf);
    return r;
}
