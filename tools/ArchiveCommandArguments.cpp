#include "tools/ArchiveCommandArguments.h"

#include "case/SharedState.h"
#include "device/TimeZoneTable.h"

namespace {

// The code the Q26 choice stores: a model that is neither Q21 nor Q25.
constexpr int32_t ModelQ26 = 26;

ArchiveCommandArguments failure(const QString &message)
{
    ArchiveCommandArguments a;
    a.message = message;
    return a;
}

} // namespace

QCommandLineOption zoneOption()
{
    return QCommandLineOption(QStringLiteral("zone"),
                              QStringLiteral("Time-zone row 0..178 of the Open dialog, or \"local\" for this "
                                             "computer's zone (default: the device's own clock, the same on every "
                                             "computer)."),
                              QStringLiteral("N"));
}

bool readZoneOption(const CommandArgumentParser &parser, const QCommandLineOption &zone, int &zoneRow,
                    QString &message)
{
    if (!parser.isSet(zone))
        return true;
    if (parser.value(zone) == QLatin1String("local")) {
        zoneRow = LocalZone;
        return true;
    }
    bool ok = false;
    zoneRow = parser.value(zone).toInt(&ok);
    if (ok && zoneRow >= 0 && zoneRow < TimeZoneTable::RowCount)
        return true;
    message = QStringLiteral("--zone must be a row from 0 to %1 or \"local\", not \"%2\"")
                  .arg(TimeZoneTable::RowCount - 1)
                  .arg(parser.value(zone));
    return false;
}

QCommandLineOption depthUnitOption()
{
    return QCommandLineOption(QStringLiteral("depth-unit"),
                              QStringLiteral("in or cm: the unit compression depths are shown in (default: in)."),
                              QStringLiteral("unit"), QStringLiteral("in"));
}

bool readDepthUnitOption(const CommandArgumentParser &parser, const QCommandLineOption &depthUnit, CprDepthUnit &unit,
                         QString &message)
{
    return !parser.isSet(depthUnit) || parseDepthUnit(parser.value(depthUnit), unit, message);
}

bool parseDepthUnit(const QString &value, CprDepthUnit &unit, QString &message)
{
    const QString v = value.toLower();
    if (v == QLatin1String("in") || v == QLatin1String("cm")) {
        unit = v == QLatin1String("cm") ? CprDepthUnit::Centimetres : CprDepthUnit::Inches;
        return true;
    }
    message = QStringLiteral("--depth-unit must be in or cm, not \"%1\"").arg(value);
    return false;
}

ArchiveCommandArguments ArchiveCommandArguments::parse(const QStringList &arguments, const char *synopsis,
                                                       const QString &description)
{
    const QCommandLineOption zone = zoneOption();
    const QCommandLineOption model(QStringLiteral("device-model"),
                                   QStringLiteral("Device model of the last import: Q21, Q25 or Q26 (default: none)."),
                                   QStringLiteral("model"));
    const QCommandLineOption pack = languagePackOption();
    CommandArgumentParser parser({zone, model, pack}, QStringLiteral("ARCHIVE"),
                                 QStringLiteral("The archive (.aed) to open."));

    ArchiveCommandArguments a;
    a.outcome = parser.parse(arguments, synopsis, description + QStringLiteral("\n\n"), a.archive, a.message);
    if (a.outcome != Outcome::Run)
        return a;
    QString why;
    if (!readZoneOption(parser, zone, a.zoneRow, why))
        return failure(why);
    if (parser.isSet(model)) {
        const QString name = parser.value(model).toUpper();
        if (name == QLatin1String("Q21"))
            a.deviceModel = ModelQ21;
        else if (name == QLatin1String("Q25"))
            a.deviceModel = ModelQ25;
        else if (name == QLatin1String("Q26"))
            a.deviceModel = ModelQ26;
        else
            return failure(QStringLiteral("--device-model must be Q21, Q25 or Q26, not \"%1\"").arg(parser.value(model)));
    }
    a.languagePack = parser.value(pack);
    a.outcome = Outcome::Run;
    return a;
}
