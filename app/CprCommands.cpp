// The commands of the CPR quality review: its settings and its printed report.
#include "app/CRavelinView.h"
#include "case/AuditAction.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "cpr/CprSettingsForm.h"
#include "cpr/CprTexts.h"
#include "export/ExportText.h"
#include "cpr/HandsOff.h"
#include "report/CprQualityReport.h"

#include <QSettings>

namespace {
constexpr int CantPrintCaseText = 73;
} // namespace

void CRavelinView::OnCprQualitySettings()
{
    CprSettingsForm form(cprSettings, texts());
    if (!platform().runCprSettingsDialog(form))
        return;
    if (form.settings() == cprSettings)
        return;
    cprSettings = form.settings();
    QSettings settings;
    CprSettingsStore::save(settings, cprSettings);
    if (cprSettingsChanged)
        cprSettingsChanged(cprSettings);
}

void CRavelinView::OnCprQualityReport()
{
    if (store.slotCount() <= 0) {
        platform().showError(GetText(CantPrintCaseText), GetText(TextId::Caption));
        return;
    }
    const CaseRecord *c = store.caseAt(session.selSlot);
    if (!c) {
        platform().showError(GetText(TextId::SelectCase), GetText(TextId::Caption));
        return;
    }
    if (!store.find(session.selSlot)->hasCprFeedback) {
        platform().messageBox(GetText(CprText::NoFeedback), GetText(TextId::Caption), Platform::Icon::Information,
                              Platform::Buttons::Ok);
        return;
    }
    QList<Platform::Option> options{{QLatin1String(ExportOptionText::Anonymise), false}};
    if (!platform().askOptions(GetText(CprText::ReportCommand), options))
        return;
    const CprQualityReport report = makeCprQualityReport(
        *c, true, reviewerPauseCauses(store.find(session.selSlot)->pauseCauses), cprSettings, texts(),
        options.value(0).checked);
    const PrintOutcome outcome = platform().printCprQualityReport(report);
    if (outcome.result == PrintOutcome::Result::Printed)
        session.audit(session.selSlot, AuditAction::Printed,
                      options.value(0).checked ? QStringLiteral("CPR quality report, anonymised")
                                               : QStringLiteral("CPR quality report"));
    if (outcome.result == PrintOutcome::Result::Failed)
        platform().showError(GetText(CantPrintCaseText) + QStringLiteral("\n\n") + outcome.reason,
                             GetText(TextId::Caption));
}
