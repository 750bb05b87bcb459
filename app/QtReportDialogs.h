#pragma once

#include "base/PrintOutcome.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class QPageLayout;
class QPagedPaintDevice;
class QPrinter;
class QWidget;
struct CprQualityReport;
struct MenuEntry;
struct SelectionReport;

// The widgets behind the report services of the platform seam.
namespace QtReportDialogs {

// The report menu, 10 pixels below the cursor, after bringing parent's window to the
// front; returns the command chosen, 0 when dismissed.
int showReportMenu(QWidget *parent, const QList<MenuEntry> &entries, const QList<int> &disabledCommands);

// The print dialog for the report's pages on printer (its paper and orientation as the
// print setup left them), then the chosen pages on the chosen printer or PDF file.
PrintOutcome printSelectionReport(QWidget *parent, const SelectionReport &report, QPrinter &printer);

// Pages from..to (0: the first or last page) on a printer as the dialog left it. A PDF
// file is written whole through a temporary file beside it, so a file that cannot be
// written is reported and the file already there stays as it was.
PrintOutcome printReport(const SelectionReport &report, QPrinter &printer, int fromPage = 0, int toPage = 0);

// What the print path needs of a report: its name, its pages, and how it paints them on
// a printer or into a PDF for a paper (pages from..to, 0 for the first or the last).
struct PrintJob
{
    QString documentName;
    int pageCount = 0;
    std::function<QByteArray(const QPageLayout &, int, int)> pdf;
    std::function<bool(QPagedPaintDevice &, int, int)> print;
};

// The print dialog and the printing of any report, as for the selection report.
PrintOutcome runPrintDialog(QWidget *parent, const PrintJob &job, QPrinter &printer);
PrintOutcome printJob(const PrintJob &job, QPrinter &printer, int fromPage = 0, int toPage = 0);

// The CPR quality report through the same dialog and printer.
PrintOutcome printCprQualityReport(QWidget *parent, const CprQualityReport &report, QPrinter &printer);

// The page setup dialog over printer; true when accepted.
bool runPrintSetup(QWidget *parent, QPrinter &printer);

} // namespace QtReportDialogs
