#include "app/QtReportDialogs.h"

#include "base/ContextMenuBuilder.h"
#include "report/CprQualityReportPainter.h"
#include "report/SelectionReportPainter.h"
#include "archive/OutputTarget.h"
#include "base/AtomicFileWriter.h"
#include "base/FileError.h"

#include <QCursor>
#include <QDir>
#include <QMenu>
#include <QPageLayout>
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

using PagePdf = std::function<QByteArray(const QPageLayout &, int, int)>;

// Writes the pages a report draws into a PDF file whole, through a temporary file beside it,
// so a file that cannot be written is reported and the file already there stays as it was;
// a file of inputs is refused with the reason.
std::function<PrintOutcome(const QString &, const QPageLayout &, int, int)> pdfWriter(PagePdf draw,
                                                                                    const OutputInputs &inputs)
{
    return [draw = std::move(draw), inputs](const QString &path, const QPageLayout &layout, int from, int to) {
        // The print dialog has asked before a file is replaced; a file a case is read from
        // is never replaced.
        if (const QString refusal = OutputTarget::refusal(path, inputs); !refusal.isEmpty())
            return PrintOutcome::failed(refusal);
        const QByteArray bytes = draw(layout, from, to);
        if (bytes.isEmpty())
            return PrintOutcome::failed(QStringLiteral("The report could not be drawn for %1.")
                                            .arg(QDir::toNativeSeparators(path)));
        try {
            AtomicFileWriter::write(path, bytes);
        } catch (const FileError &e) {
            return PrintOutcome::failed(e.message());
        }
        return PrintOutcome::printed();
    };
}

PrintJob selectionJob(const SelectionReport &report, const OutputInputs &inputs)
{
    PrintJob job;
    job.documentName = SelectionReportTexts::forLanguage(report.language).title.trimmed();
    job.pageCount = report.pageCount;
    job.writePdf = pdfWriter([&report](const QPageLayout &layout, int from, int to) {
        return SelectionReportPainter::pdf(report, layout, from, to);
    }, inputs);
    job.print = [&report](QPagedPaintDevice &device, int from, int to) {
        return SelectionReportPainter(report).print(device, from, to);
    };
    return job;
}

PrintJob cprJob(const CprQualityReport &report, const OutputInputs &inputs)
{
    PrintJob job;
    job.documentName = report.title;
    job.pageCount = CprQualityReportPainter(report).pageCount();
    job.writePdf = pdfWriter([&report](const QPageLayout &layout, int from, int to) {
        return CprQualityReportPainter::pdf(report, layout, from, to);
    }, inputs);
    job.print = [&report](QPagedPaintDevice &device, int from, int to) {
        return CprQualityReportPainter(report).print(device, from, to);
    };
    return job;
}

} // namespace

PrintOutcome printSelectionReport(QWidget *parent, const SelectionReport &report, QPrinter &printer,
                                  const OutputInputs &inputs)
{
    return runPrintDialog(parent, selectionJob(report, inputs), printer);
}

PrintOutcome printCprQualityReport(QWidget *parent, const CprQualityReport &report, QPrinter &printer,
                                   const OutputInputs &inputs)
{
    return runPrintDialog(parent, cprJob(report, inputs), printer);
}

PrintOutcome runPrintDialog(QWidget *parent, const PrintJob &job, QPrinter &printer)
{
    QString error;
    PrintSupport *support = PrintSupport::load(&error);
    return support ? support->runPrintDialog(parent, job, printer) : PrintOutcome::failed(error);
}

PrintOutcome printReport(const SelectionReport &report, QPrinter &printer, int fromPage, int toPage,
                         const OutputInputs &inputs)
{
    return printJob(selectionJob(report, inputs), printer, fromPage, toPage);
}

PrintOutcome printJob(const PrintJob &job, QPrinter &printer, int fromPage, int toPage)
{
    QString error;
    PrintSupport *support = PrintSupport::load(&error);
    return support ? support->print(job, printer, fromPage, toPage) : PrintOutcome::failed(error);
}

bool runPrintSetup(QWidget *parent, QPrinter &printer)
{
    PrintSupport *support = PrintSupport::load(nullptr);
    return support && support->runPageSetup(parent, printer);
}

} // namespace QtReportDialogs
