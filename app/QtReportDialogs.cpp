#include "app/QtReportDialogs.h"

#include "base/ContextMenuBuilder.h"
#include "report/SelectionReportPainter.h"

#include <QCursor>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

namespace QtReportDialogs {

int showReportMenu(QWidget *parent, const QList<MenuEntry> &entries, const QList<int> &disabledCommands)
{
    QMenu menu(parent);
    ContextMenuBuilder::addEntries(&menu, entries);
    for (int command : disabledCommands)
        ContextMenuBuilder::setEnabled(&menu, command, false);
    if (parent) {
        parent->window()->raise();
        parent->window()->activateWindow();
    }
    return ContextMenuBuilder::exec(menu, ContextMenus::reportMenuPosition(QCursor::pos()));
}

bool printSelectionReport(QWidget *parent, const SelectionReport &report)
{
    QPrinter printer(QPrinter::HighResolution);
    return printSelectionReport(parent, report, printer);
}

bool printSelectionReport(QWidget *parent, const SelectionReport &report, QPrinter &printer)
{
    printer.setDocName(SelectionReportTexts::forLanguage(report.language).title.trimmed());
    printer.setFromTo(1, report.pageCount);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, report.pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const bool range = printer.printRange() == QPrinter::PageRange;
    SelectionReportPainter(report).print(printer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0);
    return true;
}

} // namespace QtReportDialogs
