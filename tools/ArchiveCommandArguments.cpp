#include "tools/ArchiveCommandArguments.h"

#include "case/SharedState.h"
#include "case/TimeZoneTable.h"

#include <QCommandLineParser>

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

ArchiveCommandArguments ArchiveCommandArguments::parse(const QStringList &arguments, const char *synopsis,
                                                       const QString &description)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption zone(QStringLiteral("zone"),
                                  QStringLiteral("Time-zone row 0..178 of the Open dialog (default: this computer's)."),
                                  QStringLiteral("N"));
    const QCommandLineOption model(QStringLiteral("device-model"),
                                   QStringLiteral("Device model of the last import: Q21, Q25 or Q26 (default: none)."),
                                   QStringLiteral("model"));
    const QCommandLineOption pack(QStringLiteral("lang-pack"),
                                  QStringLiteral("Language pack to take the texts from (default: the built-in one)."),
                                  QStringLiteral("FILE"));
    parser.addOptions({help, zone, model, pack});
    parser.addPositionalArgument(QStringLiteral("ARCHIVE"), QStringLiteral("The archive (.aed) to open."));

    if (!parser.parse(arguments))
        return failure(parser.errorText());
    if (parser.isSet(help)) {
        ArchiveCommandArguments a;
        a.outcome = Outcome::Help;
        a.message = QStringLiteral("usage: ravelin-cli ") + QLatin1String(synopsis) + QStringLiteral("\n\n") + description
            + QStringLiteral("\n\n") + parser.helpText().section(QLatin1Char('\n'), 2);
        return a;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return failure(positional.isEmpty() ? QStringLiteral("no ARCHIVE given")
                                             : QStringLiteral("one ARCHIVE only, got: ") + positional.join(QLatin1Char(' ')));
    ArchiveCommandArguments a;
    a.archive = positional.front();

    if (parser.isSet(zone)) {
        bool ok = false;
        a.zoneRow = parser.value(zone).toInt(&ok);
        if (!ok || a.zoneRow < 0 || a.zoneRow >= TimeZoneTable::RowCount)
            return failure(QStringLiteral("--zone must be a row from 0 to %1, not \"%2\"")
                               .arg(TimeZoneTable::RowCount - 1)
                               .arg(parser.value(zone)));
    }
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
