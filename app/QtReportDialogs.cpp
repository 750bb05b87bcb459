#include "app/QtReportDialogs.h"

#include "base/ContextMenuBuilder.h"
#include "report/CprQualityReportPainter.h"
#include "report/SelectionReportPainter.h"
#include "base/AtomicFileWriter.h"
#include "base/FileError.h"

#include <QCursor>
#include <QDir>
#include <QMenu>
#include <QPageSetupDialog>
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

namespace {

PrintJob selectionJob(const SelectionReport &report)
{
    PrintJob job;
    job.documentName = SelectionReportTexts::forLanguage(report.language).title.trimmed();
    job.pageCount = report.pageCount;
    job.pdf = [&report](const QPageLayout &layout, int from, int to) {
        return SelectionReportPainter::pdf(report, layout, from, to);
    };
    job.print = [&report](QPagedPaintDevice &device, int from, int to) {
        return SelectionReportPainter(report).print(device, from, to);
    };
    return job;
}

PrintJob cprJob(const CprQualityReport &report)
{
    PrintJob job;
    job.documentName = report.title;
    job.pageCount = CprQualityReportPainter(report).pageCount();
    job.pdf = [&report](const QPageLayout &layout, int from, int to) {
        return CprQualityReportPainter::pdf(report, layout, from, to);
    };
    job.print = [&report](QPagedPaintDevice &device, int from, int to) {
        return CprQualityReportPainter(report).print(device, from, to);
    };
    return job;
}

} // namespace

PrintOutcome printSelectionReport(QWidget *parent, const SelectionReport &report, QPrinter &printer)
{
    return runPrintDialog(parent, selectionJob(report), printer);
}

PrintOutcome printCprQualityReport(QWidget *parent, const CprQualityReport &report, QPrinter &printer)
{
    return runPrintDialog(parent, cprJob(report), printer);
}

PrintOutcome runPrintDialog(QWidget *parent, const PrintJob &job, QPrinter &printer)
{
    printer.setDocName(job.documentName);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(1, job.pageCount);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, job.pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return PrintOutcome::cancelled();
    const bool range = printer.printRange() == QPrinter::PageRange;
    return printJob(job, printer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0);
}

PrintOutcome printReport(const SelectionReport &report, QPrinter &printer, int fromPage, int toPage)
{
    return printJob(selectionJob(report), printer, fromPage, toPage);
}

PrintOutcome printJob(const PrintJob &job, QPrinter &printer, int fromPage, int toPage)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString path = printer.outputFileName();
        if (path.isEmpty())
            return PrintOutcome::failed(QStringLiteral("No printer is available, and no file was chosen to print to."));
        // The same page ravelin-cli writes for this paper.
        const QByteArray bytes = job.pdf(printer.pageLayout(), fromPage, toPage);
        if (bytes.isEmpty())
            return PrintOutcome::failed(QStringLiteral("The report could not be drawn for %1.")
                                            .arg(QDir::toNativeSeparators(path)));
        try {
            AtomicFileWriter::write(path, bytes);
        } catch (const FileError &e) {
            return PrintOutcome::failed(e.message());
        }
        return PrintOutcome::printed();
    }

    const QString name = printer.printerName();
    if (!printer.isValid() || name.isEmpty())
        return PrintOutcome::failed(name.isEmpty() ? QStringLiteral("No printer is available.")
                                                   : QStringLiteral("The printer \"%1\" is not available.").arg(name));
    if (!job.print(printer, fromPage, toPage) || printer.printerState() == QPrinter::Error)
        return PrintOutcome::failed(QStringLiteral("The printer \"%1\" could not print the report.").arg(name));
    return PrintOutcome::printed();
}

bool runPrintSetup(QWidget *parent, QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace QtReportDialogs
