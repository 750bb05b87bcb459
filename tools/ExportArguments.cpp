#include "tools/ExportArguments.h"

#include "tools/ArchiveCommandArguments.h"
#include "tools/CliOutput.h"

#include <utility>

namespace {

ExportArguments failure(const QString &message)
{
    ExportArguments a;
    a.message = message;
    return a;
}

} // namespace

ExportArguments ExportArguments::parse(const QStringList &arguments)
{
    const QCommandLineOption zone = zoneOption();
    const QCommandLineOption edf(QStringLiteral("edf"),
                                 QStringLiteral("Write the ECG with every event as EDF+ (BDF+ when the raw values need "
                                                "24 bits) to FILE."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption anonymize(
        QStringLiteral("anonymize"),
        QStringLiteral("With --edf or a CSV: no patient field, time of day, date, serial number or text a reviewer "
                       "typed; times from power-on, a reviewer's annotation as \"Annotation\"."));
    const QCommandLineOption compressions(QStringLiteral("with-compressions"),
                                          QStringLiteral("With --edf: one annotation per compression."));
    const QCommandLineOption eventsCsv(QStringLiteral("events-csv"), QStringLiteral("Write the events as CSV to FILE."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption compressionsCsv(QStringLiteral("compressions-csv"),
                                             QStringLiteral("Write the compressions as CSV to FILE."),
                                             QStringLiteral("FILE"));
    const QCommandLineOption pausesCsv(QStringLiteral("pauses-csv"),
                                       QStringLiteral("Write the pauses between compressions as CSV to FILE."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption minutesCsv(QStringLiteral("per-minute-csv"),
                                        QStringLiteral("Write the CPR quality measures of every minute as CSV to FILE."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption wav(QStringLiteral("wav"),
                                 QStringLiteral("Write the case's sound as the WAV the program makes of it to FILE."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption overwrite = overwriteOption();
    const QCommandLineOption pack = languagePackOption();
    CommandArgumentParser parser(
        {zone, edf, anonymize, compressions, eventsCsv, compressionsCsv, pausesCsv, minutesCsv, wav, overwrite, pack},
        QStringLiteral("ARCHIVE"), QStringLiteral("The archive (.aed) to open."));

    ExportArguments a;
    a.outcome = parser.parse(arguments, ExportSynopsis,
                             QStringLiteral("Opens ARCHIVE as \"Load AED File\" does and writes its case to one file:"
                                            "\nthe ECG with its events as EDF+, or a table as CSV.\n\n"),
                             a.archive, a.message);
    if (a.outcome != Outcome::Run)
        return a;

    QString why;
    if (!readZoneOption(parser, zone, a.zoneRow, why))
        return failure(why);

    const std::pair<const QCommandLineOption *, ExportKind> outputs[] = {
        {&edf, ExportKind::Edf},
        {&eventsCsv, ExportKind::EventsCsv},
        {&compressionsCsv, ExportKind::CompressionsCsv},
        {&pausesCsv, ExportKind::PausesCsv},
        {&minutesCsv, ExportKind::MinutesCsv},
    };
    int chosen = 0;
    for (const auto &[option, kind] : outputs) {
        if (!parser.isSet(*option))
            continue;
        ++chosen;
        a.kind = kind;
        a.output = parser.value(*option);
    }
    if (parser.isSet(wav)) {
        ++chosen;
        a.wav = true;
        a.output = parser.value(wav);
    }
    if (chosen != 1)
        return failure(QStringLiteral(
            "give exactly one of --edf, --events-csv, --compressions-csv, --pauses-csv, --per-minute-csv, --wav"));
    if (a.output.isEmpty())
        return failure(QStringLiteral("the output file name is empty"));
    a.overwrite = parser.isSet(overwrite);
    a.options.anonymize = parser.isSet(anonymize);
    a.options.withCompressions = parser.isSet(compressions);
    if ((a.wav || a.kind != ExportKind::Edf) && a.options.withCompressions)
        return failure(QStringLiteral("--with-compressions goes with --edf only"));
    if (a.wav && a.options.anonymize)
        return failure(QStringLiteral("--anonymize does not go with --wav: a sound recording cannot be anonymised"));

    a.languagePack = parser.value(pack);
    a.outcome = Outcome::Run;
    return a;
}
