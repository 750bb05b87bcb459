// "ravelin-cli cpr ARCHIVE ...": the CPR quality measures of a case as JSON or CSV.
#include "device/CprFeedbackFile.h"
#include "cpr/CprQuality.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
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

    CliArchiveCase archiveCase(texts, err, name);
    const int slot = archiveCase.open(args.archive, args.zoneRow, 0);
    if (slot < 0)
        return 1;
    // Without the sensor's file there is nothing to measure, which is not a case of no CPR.
    if (!archiveCase.session().store.at(slot).hasCprFeedback) {
        const QString feedback = QFileInfo(args.archive).absoluteDir().filePath(CprFeedbackFile::fileName());
        err << name << ": " << (QFileInfo::exists(feedback) ? "cannot read \"" : "no \"")
            << QDir::toNativeSeparators(feedback) << "\" beside the archive\n";
        return 1;
    }

    CprQualitySettings settings;
    settings.pauseThresholdMs = args.pauseThresholdMs;
    const CprQualityResult result = measureCprQuality(cprQualityInput(*archiveCase.session().store.caseAt(slot)), settings);
    QTextStream(stdout) << (args.format == CprArguments::Format::Json ? CprQualityJson(result) : CprMinutesCsv(result));
    return 0;
}

const CliCommandRegistration registration({QStringLiteral("cpr"), QLatin1String(CprSynopsis), runCpr,
                                           CliCommand::Application::Core});

} // namespace
