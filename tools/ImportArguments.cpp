#include "tools/ImportArguments.h"

#include "tools/CliOutput.h"

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
    const QCommandLineOption serial(QStringLiteral("serial"), QStringLiteral("The AED serial number."),
                                    QStringLiteral("SN"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("The archive to write (default: the automatic name in FOLDER)."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption overwrite = overwriteOption(QStringLiteral(
        "Replaces an archive that is already at the target (its annotations and patient fields are lost)."));
    const QCommandLineOption erase(QStringLiteral("erase"),
                                   QStringLiteral("Erases the device files once the archive has been read back."));
    const QCommandLineOption pack = languagePackOption();
    CommandArgumentParser parser({serial, out, overwrite, erase, pack}, QStringLiteral("FOLDER"),
                                 QStringLiteral("The device folder holding the MIF files."));

    ImportArguments a;
    a.outcome = parser.parse(arguments, ImportSynopsis,
                             QStringLiteral("Checks FOLDER as \"Load MIF File\" does and converts its device files into an"
                                            "\narchive; prints the path written. An archive already at the target is kept"
                                            "\nunless --overwrite is given; the device files stay unless --erase is given.\n\n"),
                             a.folder, a.message);
    if (a.outcome != Outcome::Run)
        return a;
    // An empty FOLDER is reported first, by the checks of "Load MIF File" (text 76), as the
    // Open dialog reports a missing path before a missing serial number.
    if (!parser.isSet(serial) && !a.folder.isEmpty())
        return failure(QStringLiteral("no --serial given"));
    a.serialNumber = parser.value(serial);
    a.output = parser.value(out);
    a.overwrite = parser.isSet(overwrite);
    a.erase = parser.isSet(erase);
    a.languagePack = parser.value(pack);
    a.outcome = Outcome::Run;
    return a;
}
