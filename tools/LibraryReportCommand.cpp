// "ravelin-cli library ... report": the QA report of the case library as PDF (and its tables as
// CSV), drawn by the drawing program, to which ravelin-cli hands the report over.
#include "library/CaseLibrary.h"
#include "library/LibraryQaReport.h"
#include "library/LibraryQaReportPainter.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/CliLibrary.h"
#include "tools/CliOutput.h"
#include "tools/LibraryArguments.h"

#include <QDir>
#include <QTextStream>

namespace {

// The tables by month and by device as "library stats --format csv" writes them, the months
// first, an empty line between.
QByteArray reportCsv(const LibraryQaReport &report)
{
    return (libraryStatsText(report.months, LibraryGrouping::Month, LibraryFormat::Csv, report.ccfTarget)
            + QLatin1Char('\n')
            + libraryStatsText(report.devices, LibraryGrouping::Device, LibraryFormat::Csv, report.ccfTarget))
        .toUtf8();
}

int runLibraryReport(const QStringList &arguments)
{
    const LibraryArguments args = LibraryArguments::parse(arguments);
    QTextStream err(stderr);
    const QString name = arguments.value(0);
    LanguagePack texts;
    int status = 0;
    if (!startCommand(args.outcome, args.message, args.languagePack, name, LibrarySynopsis, err, texts, status))
        return status;
    if (args.action != LibraryArguments::Action::Report) {
        err << name << ": the drawing program only draws the report; run ravelin-cli\n";
        return 1;
    }
    if (!outputAllowed(args.pdfPath, QString(), args.overwrite, err, name)
        || (!args.csvPath.isEmpty() && !outputAllowed(args.csvPath, QString(), args.overwrite, err, name)))
        return 1;

    const std::unique_ptr<CaseLibrary> library = openCliLibrary(args.db, err, name);
    if (!library)
        return 1;
    LibraryQaReport report;
    if (!readLibraryQaReport(*library, args.filter, args.ccfTarget, report)) {
        err << name << ": " << library->errorText() << "\n";
        return 1;
    }
    const QByteArray pdf = LibraryQaReportPainter::pdf(report, texts, args.anonymize);
    if (pdf.isEmpty()) {
        err << name << ": the report could not be drawn for " << QDir::toNativeSeparators(args.pdfPath) << "\n";
        return 1;
    }
    // It can name patients: private, and never written through a link.
    if (!writePrivateOutput(args.pdfPath, pdf, err, name)
        || (!args.csvPath.isEmpty() && !writePrivateOutput(args.csvPath, reportCsv(report), err, name)))
        return 1;
    QTextStream out(stdout);
    out << QDir::toNativeSeparators(args.pdfPath) << "\n";
    if (!args.csvPath.isEmpty())
        out << QDir::toNativeSeparators(args.csvPath) << "\n";
    return 0;
}

// A GUI application (offscreen without a screen): the PDF is drawn with fonts.
const CliCommandRegistration registration({QStringLiteral("library"), QLatin1String(LibrarySynopsis), runLibraryReport,
                                           CliCommand::Application::Gui});

} // namespace
