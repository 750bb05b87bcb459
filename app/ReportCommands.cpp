// The view's report commands: the Print command with its report menu and the segment
// print, and the HTML incident log.
#include "app/CommandIds.h"
#include "app/ContextMenuTemplate.h"
#include "app/IncidentLog.h"
#include "app/LanguagePack.h"
#include "app/Platform.h"
#include "archive/AtomicFileWriter.h"
#include "archive/FileError.h"
#include "case/CRavelinView.h"

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
        const int command = m_platform.showReportMenu(ContextMenus::submenu(m_texts, ContextSubmenu::Report),
                                                      {CommandId::EcgWaveform});
        if (command == CommandId::IncidentLog)
            OnIncidentLog();
        return;
    }

    if (p.printKind == SelectionPrintState::KindAllSegments && !p.listBuilt) {
        const CaseRecord *c = caseAt(selSlot);
        p.sortedSegments = c ? SelectionPrint::sortedSegments(c->segments) : std::vector<EcgSegment>();
        p.printList = SelectionPrint::buildPrintList(p.sortedSegments);
        p.listSlot = selSlot;
        p.listBuilt = 1;
    }

    // The kept list of a failed job prints only while its case is still open, and a job
    // without a piece has nothing to print: both end without a dialog.
    const bool allSegments = p.printKind == SelectionPrintState::KindAllSegments;
    const SelectionReport report = SelectionPrint::report(caseAt(p.listSlot), allSegments ? p.printList
                                                                                          : std::vector<PrintPiece>(),
                                                          m_texts.language());
    if (report.pieces.empty()) {
        printState = SelectionPrintState();
        return;
    }
    const PrintOutcome outcome = m_platform.printSelectionReport(report);
    if (outcome.result != PrintOutcome::Result::Failed) {
        // Printed, or cancelled by the reviewer: the job is over either way, and the
        // segments stay selected for another "Print All Segment".
        printState = SelectionPrintState();
        return;
    }
    // Nothing was printed: the job stays for the next Print command.
    m_platform.showError(GetText(CantPrintCaseText) + QStringLiteral("\n\n") + outcome.reason,
                         GetText(TextId::Caption));
}

void CRavelinView::OnIncidentLog()
{
    if (slotCount <= 0) {
        m_platform.showError(GetText(CantPrintCaseText), GetText(TextId::Caption));
        return;
    }
    const CaseRecord *c = caseAt(selSlot);
    if (!c) {
        m_platform.showError(GetText(TextId::SelectCase), GetText(TextId::Caption));
        return;
    }

    ++logCounter;
    const QString path = IncidentLog::reportPath(logCounter);
    QDir().mkpath(IncidentLog::reportFolder());
    IncidentLog::ReportInput input;
    input.caseRecord = c;
    input.shockCount = selSlot < int(shockCounts.size()) ? shockCounts[size_t(selSlot)] : 0;
    input.timeAdjusted = state.timeAdjusted != 0;
    input.reportTime = CTime::GetCurrentTime();
    try {
        AtomicFileWriter::write(path, IncidentLog::document(input));
    } catch (const FileError &e) {
        // A stale report of an earlier run may sit under the same name: never show it.
        m_platform.showError(e.message(), GetText(TextId::Caption));
        return;
    }
    m_platform.openWithDefaultApplication(path);
}
