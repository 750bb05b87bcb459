// "ravelin-cli cpr ARCHIVE ...": the CPR quality measures of a case as JSON or CSV, or its
// printed report as PDF.
#include "device/CprFeedbackFile.h"
#include "cpr/CprQuality.h"
#include "cpr/HandsOff.h"
#include "cpr/HandsOffTable.h"
#include "report/CprQualityReport.h"
#include "report/CprQualityReportPainter.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/CliOutput.h"
#include "tools/CprArguments.h"
#include "tools/CprQualityText.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

int runCpr(const QStringList &arguments)
{
    const CprArguments args = CprArguments::parse(arguments);
    QTextStream err(stderr);
    const QString name = arguments.value(0);
    LanguagePack texts;
    int status = 0;
    if (!startCommand(args.outcome, args.message, args.languagePack, name, CprSynopsis, err, texts, status))
        return status;

    if (!args.pdfPath.isEmpty() && !outputAllowed(args.pdfPath, args.archive, args.overwrite, err, name))
        return 1;

    CliArchiveCase archiveCase(texts, err, name);
    const int slot = archiveCase.open(args.archive, args.zoneRow, 0);
    if (slot < 0)
        return 1;
    // Without the sensor's file there is nothing to measure, which is not a case of no CPR.
    if (const OpenCase &entry = archiveCase.session().store.at(slot); !entry.hasCprFeedback) {
        const QString feedback = entry.cprFeedbackPath.isEmpty()
                                     ? QFileInfo(args.archive).absoluteDir().filePath(CprFeedbackFile::fileName())
                                     : entry.cprFeedbackPath;
        if (!QFileInfo::exists(feedback))
            err << name << ": no \"" << QDir::toNativeSeparators(feedback) << "\" beside the archive\n";
        else if (entry.cprFeedbackPath.isEmpty())
            err << name << ": \"" << QDir::toNativeSeparators(feedback)
                << "\" is not this case's CPR data; \"ravelin-cli bind\" binds it to the case\n";
        else
            err << name << ": cannot read \"" << QDir::toNativeSeparators(feedback) << "\"\n";
        return 1;
    }

    CprQualitySettings settings;
    settings.pauseThresholdMs = args.pauseThresholdMs;
    const CaseRecord &c = *archiveCase.session().store.caseAt(slot);
    const std::map<int32_t, PauseCause> causes =
        args.deviceReading ? std::map<int32_t, PauseCause>()
                           : reviewerPauseCauses(archiveCase.session().store.at(slot).pauseCauses);
    if (!args.pdfPath.isEmpty()) {
        CprReviewSettings review;
        review.quality = settings;
        review.depthUnit = args.depthUnit;
        const QByteArray bytes =
            CprQualityReportPainter::pdf(makeCprQualityReport(c, true, causes, review, texts, args.anonymize));
        if (bytes.isEmpty()) {
            err << name << ": the report could not be drawn for " << QDir::toNativeSeparators(args.pdfPath) << "\n";
            return 1;
        }
        if (!writeOutput(args.pdfPath, bytes, err, name))
            return 1;
        QTextStream(stdout) << QDir::toNativeSeparators(args.pdfPath) << "\n";
        return 0;
    }
    const CprQualityResult result = measureCprQuality(cprQualityInput(c), settings);
    if (args.format == CprArguments::Format::Csv && args.table == CprArguments::Table::Minutes) {
        QTextStream(stdout) << CprMinutesCsv(result, args.depthUnit);
        return 0;
    }
    // The pauses of the measures just taken are the ones the hands-off time explains.
    const HandsOffResult explained = handsOff(handsOffInput(c), result, causes);
    QTextStream out(stdout);
    if (args.format == CprArguments::Format::Json)
        out << CprQualityJson(result, explained);
    else if (args.table == CprArguments::Table::Pauses)
        out << CprTableCsv(handsOffPauseTable(result, explained));
    else
        out << CprTableCsv(handsOffShockTable(explained));
    return 0;
}

// A GUI application (offscreen without a screen): the PDF report is drawn with fonts.
const CliCommandRegistration registration({QStringLiteral("cpr"), QLatin1String(CprSynopsis), runCpr,
                                           CliCommand::Application::Gui});

} // namespace
