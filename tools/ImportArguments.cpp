#include "tools/ImportArguments.h"

#include <QCommandLineParser>

namespace {

ImportArguments failure(const QString &message)
{
    ImportArguments a;
    a.message = message;
    return a;
}

} // namespace

ImportArguments ImportArguments::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption serial(QStringLiteral("serial"), QStringLiteral("The AED serial number."),
                                    QStringLiteral("SN"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("The archive to write (default: the automatic name in FOLDER)."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption erase(QStringLiteral("erase"),
                                   QStringLiteral("Erases the device files once the archive has been read back."));
    const QCommandLineOption pack(QStringLiteral("lang-pack"),
                                  QStringLiteral("Language pack to take the texts from (default: the built-in one)."),
                                  QStringLiteral("FILE"));
    parser.addOptions({help, serial, out, erase, pack});
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The device folder holding the MIF files."));

    if (!parser.parse(arguments))
        return failure(parser.errorText());
    if (parser.isSet(help)) {
        ImportArguments a;
        a.outcome = Outcome::Help;
        a.message = QStringLiteral("usage: ravelin-cli ") + QLatin1String(ImportSynopsis)
            + QStringLiteral("\n\nChecks FOLDER as \"Load MIF File\" does and converts its device files into an"
                             "\narchive; prints the path written. The device files stay unless --erase is given.\n\n")
            + parser.helpText().section(QLatin1Char('\n'), 2);
        return a;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return failure(positional.isEmpty() ? QStringLiteral("no FOLDER given")
                                             : QStringLiteral("one FOLDER only, got: ") + positional.join(QLatin1Char(' ')));
    ImportArguments a;
    a.folder = positional.front();
    if (!parser.isSet(serial))
        return failure(QStringLiteral("no --serial given"));
    a.serialNumber = parser.value(serial);
    a.output = parser.value(out);
    a.erase = parser.isSet(erase);
    a.languagePack = parser.value(pack);
    a.outcome = Outcome::Run;
    return a;
}
