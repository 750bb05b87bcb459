#include "tools/CprArguments.h"

#include "cpr/CprQualitySettings.h"
#include "tools/ArchiveCommandArguments.h"
#include "tools/CliOutput.h"

namespace {

CprArguments failure(const QString &message)
{
    CprArguments a;
    a.message = message;
    return a;
}

} // namespace

CprArguments CprArguments::parse(const QStringList &arguments)
{
    const QCommandLineOption zone = zoneOption();
    const QCommandLineOption threshold(
        QStringLiteral("pause-threshold"),
        QStringLiteral("A gap between compressions of MS or more is a pause: %1..%2 (default 2000).")
            .arg(CprQualitySettings::MinPauseThresholdMs)
            .arg(CprQualitySettings::MaxPauseThresholdMs),
        QStringLiteral("MS"), QStringLiteral("2000"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("json (every measure, default) or csv (a table, see --table)."),
                                    QStringLiteral("format"), QStringLiteral("json"));
    const QCommandLineOption table(
        QStringLiteral("table"),
        QStringLiteral("With --format csv: minutes (one row a minute, default), pauses (one row per pause with "
                       "the ms each cause explains, one column per cause, and whether the reviewer set it) or "
                       "shocks (one row per shock: analysis, charge, to shock and the pauses around it, in ms)."),
        QStringLiteral("table"), QStringLiteral("minutes"));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Write the printed CPR quality report to FILE as PDF (A4) instead."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption overwrite = overwriteOption(QStringLiteral(
        "With --pdf: replaces FILE when it exists (never the archive, a file read with it, or another archive)."));
    const QCommandLineOption anonymize(
        QStringLiteral("anonymize"),
        QStringLiteral("With --pdf: the report names neither the start nor the serial number (the JSON and CSV "
                       "never do)."));
    const QCommandLineOption deviceReading(
        QStringLiteral("device-reading"),
        QStringLiteral("The causes of the pauses as the device's events give them, leaving out the causes the "
                       "reviewer set (kept in the case's review file)."));
    const QCommandLineOption depthUnit = depthUnitOption();
    const QCommandLineOption pack = languagePackOption();
    CommandArgumentParser parser({zone, threshold, format, table, pdf, overwrite, anonymize, deviceReading, depthUnit, pack},
                                 QStringLiteral("ARCHIVE"),
                                 QStringLiteral("The archive (.aed) to open; \"CPR Feedback.bin\" must lie beside it."));

    CprArguments a;
    a.outcome = parser.parse(arguments, CprSynopsis,
                             QStringLiteral("Opens ARCHIVE as \"Load AED File\" does and prints the CPR quality measures"
                                            "\nof its case: compression fraction, rate, depth, pauses and the pauses"
                                            "\naround each shock, for the whole case and minute by minute.\n\n"),
                             a.archive, a.message);
    if (a.outcome != Outcome::Run)
        return a;

    QString why;
    if (!readZoneOption(parser, zone, a.zoneRow, why))
        return failure(why);

    bool ok = false;
    a.pauseThresholdMs = parser.value(threshold).toInt(&ok);
    if (!ok || a.pauseThresholdMs < CprQualitySettings::MinPauseThresholdMs
        || a.pauseThresholdMs > CprQualitySettings::MaxPauseThresholdMs)
        return failure(QStringLiteral("--pause-threshold must be %1 to %2 ms, not \"%3\"")
                           .arg(CprQualitySettings::MinPauseThresholdMs)
                           .arg(CprQualitySettings::MaxPauseThresholdMs)
                           .arg(parser.value(threshold)));

    const QString f = parser.value(format).toLower();
    if (f == QLatin1String("json"))
        a.format = Format::Json;
    else if (f == QLatin1String("csv"))
        a.format = Format::Csv;
    else
        return failure(QStringLiteral("--format must be json or csv, not \"%1\"").arg(parser.value(format)));

    // In the order of Table.
    const QStringList tables = {QStringLiteral("minutes"), QStringLiteral("pauses"), QStringLiteral("shocks")};
    const qsizetype t = tables.indexOf(parser.value(table).toLower());
    if (t < 0)
        return failure(QStringLiteral("--table must be minutes, pauses or shocks, not \"%1\"").arg(parser.value(table)));
    a.table = Table(t);
    if (parser.isSet(table) && a.format != Format::Csv)
        return failure(QStringLiteral("--table goes with --format csv only"));

    if (parser.isSet(pdf)) {
        a.pdfPath = parser.value(pdf);
        if (a.pdfPath.isEmpty())
            return failure(QStringLiteral("--pdf needs the path of the file to write"));
    }
    a.overwrite = parser.isSet(overwrite);
    if (a.overwrite && a.pdfPath.isEmpty())
        return failure(QStringLiteral("--overwrite goes with --pdf only"));
    a.anonymize = parser.isSet(anonymize);
    a.deviceReading = parser.isSet(deviceReading);
    if (!readDepthUnitOption(parser, depthUnit, a.depthUnit, why))
        return failure(why);
    a.languagePack = parser.value(pack);
    a.outcome = Outcome::Run;
    return a;
}
