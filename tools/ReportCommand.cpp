// "ravelin-cli log ARCHIVE ..." and "ravelin-cli print ARCHIVE ...": the incident log and
// the selection report of an archive's case, written as the program writes them.
#include "cpr/CprQualitySettings.h"
#include "ecg/HandsOffCache.h"
#include "ecg/ShownCase.h"
#include "report/IncidentLog.h"
#include "report/SelectionPrint.h"
#include "report/SelectionReportPainter.h"
#include "cpr/HandsOff.h"
#include "report/CprQualityReport.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/CliOutput.h"
#include "tools/ReportArguments.h"

#include <QByteArray>
#include <QDir>
#include <QHash>
#include <QPageLayout>
#include <QTextStream>
#include <functional>

namespace {

// The document of the case in the slot; empty when there is nothing to write.
using Document = std::function<QByteArray(const ReportArguments &args, const LanguagePack &texts, CaseSession &session,
                                          int slot, QString &why)>;

// Checks the arguments, opens the archive, makes the document and writes it whole.
int runReport(const QStringList &arguments, ReportArguments::Kind kind, const char *synopsis,
              const Document &document)
{
    const QString name = arguments.value(0);
    const ReportArguments args = ReportArguments::parse(arguments, kind);
    QTextStream err(stderr);
    LanguagePack texts;
    int status = 0;
    if (!startCommand(args.outcome, args.message, args.languagePack, name, synopsis, err, texts, status))
        return status;
    if (!outputAllowed(args.output, args.archive, args.overwrite, err, name))
        return 1;
    CliArchiveCase archive(texts, err, name);
    const int slot = archive.open(args.archive, args.zoneRow, ModelNone);
    if (slot < 0)
        return 1;

    QString why;
    const QByteArray bytes = document(args, texts, archive.session(), slot, why);
    if (bytes.isEmpty()) {
        err << name << ": " << why << "\n";
        return 1;
    }
    if (!writeOutput(args.output, bytes, err, name))
        return 1;
    QTextStream(stdout) << QDir::toNativeSeparators(args.output) << "\n";
    return 0;
}

int runLog(const QStringList &arguments)
{
    return runReport(arguments, ReportArguments::Kind::Log, LogSynopsis,
                     [](const ReportArguments &args, const LanguagePack &texts, CaseSession &session, int slot,
                        QString &) {
                         IncidentLog::ReportInput input;
                         input.caseRecord = session.store.caseAt(slot);
                         input.shockCount = session.store.at(slot).shockCount;
                         input.timeAdjusted = session.store.at(slot).timeAdjusted();
                         input.reportTime = CTime::GetCurrentTime();
                         // The CPR section with the default targets, as "ravelin-cli cpr" measures.
                         CprReviewSettings settings;
                         settings.depthUnit = args.depthUnit;
                         const CprQualityReport cpr = IncidentLog::cprQuality(
                             *input.caseRecord, session.store.at(slot).hasCprFeedback,
                             reviewerPauseCauses(session.store.at(slot).pauseCauses), settings, texts);
                         input.cprQuality = &cpr;
                         return IncidentLog::document(input);
                     });
}

// The paper of the arguments without margins: the page the program prints on that paper
// with the margins of its PDF printer.
QPageLayout pageLayout(const ReportArguments &args)
{
    static const QHash<QString, QPageSize::PageSizeId> sizes{
        {QStringLiteral("A3"), QPageSize::A3},         {QStringLiteral("A4"), QPageSize::A4},
        {QStringLiteral("A5"), QPageSize::A5},         {QStringLiteral("B5"), QPageSize::B5},
        {QStringLiteral("Letter"), QPageSize::Letter}, {QStringLiteral("Legal"), QPageSize::Legal},
        {QStringLiteral("Executive"), QPageSize::Executive}};
    return QPageLayout(QPageSize(sizes.value(args.paper, QPageSize::A4)),
                       args.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

int runPrint(const QStringList &arguments)
{
    // The segments are selected in the order given, then printed the way "Print All
    // Segment" prints them.
    return runReport(arguments, ReportArguments::Kind::Print, PrintSynopsis,
                     [](const ReportArguments &args, const LanguagePack &texts, CaseSession &session, int slot,
                        QString &why) {
                         for (const auto &[start, end] : args.segments)
                             session.store.AddSegment(slot, start, end);
                         const CaseRecord *c = session.store.caseAt(slot);
                         SelectionReport report = SelectionPrint::report(
                             c, SelectionPrint::buildPrintList(SelectionPrint::sortedSegments(c->segments)),
                             texts.language());
                         HandsOffCache handsOff;
                         if (const HandsOffResult *r = handsOff.result(shownCase(session.store, slot),
                                                                       CprQualitySettings().pauseThresholdMs))
                             report.handsOff = *r;
                         if (report.pieces.empty()) {
                             why = QStringLiteral("no segment to print");
                             return QByteArray();
                         }
                         return SelectionReportPainter::pdf(report, pageLayout(args));
                     });
}

const CliCommandRegistration logRegistration({QStringLiteral("log"), QLatin1String(LogSynopsis), runLog,
                                              CliCommand::Application::Core});
const CliCommandRegistration printRegistration({QStringLiteral("print"), QLatin1String(PrintSynopsis), runPrint,
                                                CliCommand::Application::Gui});

} // namespace
