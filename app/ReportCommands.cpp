// The view's report commands: the Print command with its report menu and the segment
// print, and the HTML incident log.
#include "app/CommandIds.h"
#include "app/ContextMenuTemplate.h"
#include "app/IncidentLog.h"
#include "app/IncidentLogFile.h"
#include "app/LanguagePack.h"
#include "app/Platform.h"
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

    // The kept list of a cancelled job prints only while its case is still open, and a
    // job without a piece has nothing to print: both end without a dialog.
    const bool allSegments = p.printKind == SelectionPrintState::KindAllSegments;
    const SelectionReport report = SelectionPrint::report(caseAt(p.listSlot), allSegments ? p.printList
                                                                                          : std::vector<PrintPiece>(),
                                                          m_texts.language());
    if (report.pieces.empty() || m_platform.printSelectionReport(report))
        printState = SelectionPrintState();
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

    IncidentLog::ReportInput input;
    input.caseRecord = c;
    input.shockCount = selSlot < int(shockCounts.size()) ? shockCounts[size_t(selSlot)] : 0;
    input.timeAdjusted = state.timeAdjusted != 0;
    input.reportTime = CTime::GetCurrentTime();
    try {
        logCounter = IncidentLog::writeNewReport(logCounter + 1, IncidentLog::document(input));
    } catch (const FileError &e) {
        m_platform.showError(e.message(), GetText(TextId::Caption));
        return;
    }
    const QString path = IncidentLog::reportPath(logCounter);
    if (!m_platform.openWithDefaultApplication(path))
        m_platform.messageBox(QStringLiteral("The incident log was written to %1, but no application could show it.")
                                  .arg(QDir::toNativeSeparators(path)),
                              GetText(TextId::Caption), Platform::Icon::Information, Platform::Buttons::Ok);
}
