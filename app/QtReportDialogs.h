#pragma once

#include "app/PrintSupport.h"
#include "archive/OutputTarget.h"

#include <QList>

class QPrinter;
class QWidget;
struct CprQualityReport;
struct MenuEntry;
struct SelectionReport;

// The widgets behind the report services of the platform seam. What prints goes through the
// printing plugin; without it each print fails with the reason.
namespace QtReportDialogs {

// The report menu, 10 pixels below the cursor, after bringing parent's window to the
// front; returns the command chosen, 0 when dismissed.
int showReportMenu(QWidget *parent, const QList<MenuEntry> &entries, const QList<int> &disabledCommands);

// The print dialog for the report's pages on printer (its paper and orientation as the
// print setup left them), then the chosen pages on the chosen printer or PDF file. A PDF
// file that is one of inputs (OutputTarget) fails with the reason, nothing written.
PrintOutcome printSelectionReport(QWidget *parent, const SelectionReport &report, QPrinter &printer,
                                  const OutputInputs &inputs = {});

// Pages from..to (0: the first or last page) on a printer as the dialog left it. A PDF
// file is written whole through a temporary file beside it, so a file that cannot be
// written is reported and the file already there stays as it was.
PrintOutcome printReport(const SelectionReport &report, QPrinter &printer, int fromPage = 0, int toPage = 0,
                         const OutputInputs &inputs = {});

// The print dialog and the printing of any report, as for the selection report.
PrintOutcome runPrintDialog(QWidget *parent, const PrintJob &job, QPrinter &printer);
PrintOutcome printJob(const PrintJob &job, QPrinter &printer, int fromPage = 0, int toPage = 0);

// The CPR quality report through the same dialog and printer.
PrintOutcome printCprQualityReport(QWidget *parent, const CprQualityReport &report, QPrinter &printer,
                                   const OutputInputs &inputs = {});

// The page setup dialog over printer; true when accepted.
bool runPrintSetup(QWidget *parent, QPrinter &printer);

} // namespace QtReportDialogs
