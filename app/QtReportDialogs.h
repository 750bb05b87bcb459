#pragma once

#include <QList>

class QPrinter;
class QWidget;
struct MenuEntry;
struct SelectionReport;

// The widgets behind the report services of the platform seam.
namespace QtReportDialogs {

// The report menu, 10 pixels below the cursor, after bringing parent's window to the
// front; returns the command chosen, 0 when dismissed.
int showReportMenu(QWidget *parent, const QList<MenuEntry> &entries, const QList<int> &disabledCommands);

// The print dialog for the report's pages, then the chosen pages on the chosen printer
// (or PDF file); false when the dialog was cancelled.
bool printSelectionReport(QWidget *parent, const SelectionReport &report);
// The same on a printer the caller set up (an output file, for instance).
bool printSelectionReport(QWidget *parent, const SelectionReport &report, QPrinter &printer);

} // namespace QtReportDialogs
