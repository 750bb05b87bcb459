#include "app/QtPrintDialogs.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

std::shared_ptr<QPrinter> QtPrintDialogs::newPrinter()
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    // All of the paper the printer reaches (a PDF file: all of it): the report brings its own
    // margins, and the page is the one ravelin-cli prints on the same paper.
    printer->setPageMargins(QMarginsF(), QPageLayout::Point);
    return printer;
}

PrintOutcome QtPrintDialogs::runPrintDialog(QWidget *parent, const PrintJob &job, QPrinter &printer)
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
    return print(job, printer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0);
}

PrintOutcome QtPrintDialogs::print(const PrintJob &job, QPrinter &printer, int fromPage, int toPage)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString path = printer.outputFileName();
        if (path.isEmpty())
            return PrintOutcome::failed(QStringLiteral("No printer is available, and no file was chosen to print to."));
        // The same page ravelin-cli writes for this paper.
        return job.writePdf(path, printer.pageLayout(), fromPage, toPage);
    }

    const QString name = printer.printerName();
    if (!printer.isValid() || name.isEmpty())
        return PrintOutcome::failed(name.isEmpty() ? QStringLiteral("No printer is available.")
                                                   : QStringLiteral("The printer \"%1\" is not available.").arg(name));
    if (!job.print(printer, fromPage, toPage) || printer.printerState() == QPrinter::Error)
        return PrintOutcome::failed(QStringLiteral("The printer \"%1\" could not print the report.").arg(name));
    return PrintOutcome::printed();
}

bool QtPrintDialogs::runPageSetup(QWidget *parent, QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}
