// The report commands: the Print command with its report menu and the segment
// print, and the HTML incident log.
#include "base/CommandIds.h"
#include "base/ContextMenuTemplate.h"
#include "cpr/CprTexts.h"
#include "cpr/HandsOff.h"
#include "ecg/HandsOffCache.h"
#include "ecg/ShownCase.h"
#include "report/CprQualityReport.h"
#include "base/NoticeTexts.h"
#include "report/IncidentLog.h"
#include "report/IncidentLogFile.h"
#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "base/FileError.h"
#include "app/CRavelinView.h"
#include "case/AuditAction.h"
#include "case/AuditAction.h"

#include <QDir>

namespace {
constexpr int CantPrintCaseText = 73;
} // namespace

void CRavelinView::OnPrintSegments(int printKind)
{
    // A new request starts a new job: a list kept from a cancelled dialog may no longer
    // match the segments selected now.
    printState = SelectionPrintState();
    printState.printKind = uint8_t(printKind);
    printState.printRequested = 1;
    OnPrint();
}

void CRavelinView::OnPrint()
{
    SelectionPrintState &p = printState;
    if (p.printRequested != 1) {
        QList<MenuEntry> entries = ContextMenus::submenu(texts(), ContextSubmenu::Report);
        entries.append({MenuEntry::Kind::Command, CommandId::CprQualityReport, GetText(CprText::ReportCommand), {}});
        const int command = platform().showReportMenu(entries, {CommandId::EcgWaveform});
        if (command == CommandId::IncidentLog)
            OnIncidentLog();
        else if (command == CommandId::CprQualityReport)
            OnCprQualityReport();
        return;
    }

    if (p.printKind == SelectionPrintState::KindAllSegments && !p.listBuilt) {
        const CaseRecord *c = store.caseAt(session.selSlot);
        p.sortedSegments = c ? SelectionPrint::sortedSegments(c->segments) : std::vector<EcgSegment>();
        p.printList = SelectionPrint::buildPrintList(p.sortedSegments);
        p.listSlot = session.selSlot;
        p.listBuilt = 1;
    }

    // The kept list of a failed job prints only while its case is still open, and a job
    // without a piece has nothing to print: both end without a dialog.
    const bool allSegments = p.printKind == SelectionPrintState::KindAllSegments;
    SelectionReport report = SelectionPrint::report(store.caseAt(p.listSlot), allSegments ? p.printList
                                                                                    : std::vector<PrintPiece>(),
                                                    texts().language());
    HandsOffCache handsOff;
    if (const HandsOffResult *r = handsOff.result(shownCase(store, p.listSlot), cprSettings.quality.pauseThresholdMs))
        report.handsOff = *r;
    if (report.pieces.empty()) {
        printState = SelectionPrintState();
        return;
    }
    const PrintOutcome outcome = platform().printSelectionReport(report);
    if (outcome.result == PrintOutcome::Result::Printed)
        session.audit(p.listSlot, AuditAction::Printed,
                      allSegments ? QStringLiteral("ECG segments") : QStringLiteral("ECG strip"));
    if (outcome.result != PrintOutcome::Result::Failed) {
        // Printed, or cancelled by the reviewer: the job is over either way, and the
        // segments stay selected for another "Print All Segment".
        printState = SelectionPrintState();
        return;
    }
    // Nothing was printed: the job stays for the next Print command.
    platform().showError(GetText(CantPrintCaseText) + QStringLiteral("\n\n") + outcome.reason,
                         GetText(TextId::Caption));
}

void CRavelinView::OnIncidentLog()
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

    IncidentLog::ReportInput input;
    input.caseRecord = c;
    input.shockCount = store.find(session.selSlot) ? store.find(session.selSlot)->shockCount : 0;
    input.timeAdjusted = store.find(session.selSlot) && store.find(session.selSlot)->timeAdjusted();
    input.reportTime = CTime::GetCurrentTime();
    const OpenCase *open = store.find(session.selSlot);
    const CprQualityReport cpr = IncidentLog::cprQuality(*c, open->hasCprFeedback,
                                                         reviewerPauseCauses(open->pauseCauses), cprSettings, texts());
    input.cprQuality = &cpr;
    try {
        logCounter = IncidentLog::writeNewReport(logCounter + 1, IncidentLog::document(input));
    } catch (const FileError &e) {
        platform().showError(e.message(texts()), GetText(TextId::Caption));
        return;
    }
    const QString path = IncidentLog::reportPath(logCounter);
    if (!platform().openWithDefaultApplication(path))
        platform().messageBox(GetText(NoticeText::IncidentLogNotShown).arg(QDir::toNativeSeparators(path)),
                              GetText(TextId::Caption), Platform::Icon::Information, Platform::Buttons::Ok);
}
