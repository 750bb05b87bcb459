// "ravelin-cli bind ARCHIVE": the CPR data and sound files beside an archive bound to its recording.
#include "archive/CaseCompanions.h"
#include "base/FileError.h"
#include "base/LanguagePack.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/CommandArgumentParser.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

inline constexpr char BindSynopsis[] = "bind ARCHIVE [--lang-pack FILE]";

int runBind(const QStringList &arguments)
{
    const QCommandLineOption pack = languagePackOption();
    CommandArgumentParser parser({pack}, QStringLiteral("ARCHIVE"), QStringLiteral("The archive (.aed)."));
    QString archive, message;
    const ArgumentOutcome outcome = parser.parse(
        arguments, BindSynopsis,
        QStringLiteral("Binds the \"CPR Feedback.bin\" and \"Audio Record.bin\" beside ARCHIVE to its recording, as"
                       "\nthe case menu's \"Use this folder's CPR and sound files for this case\" does: its review"
                       "\nfile records their sizes and SHA-256, and every later reading of the case uses them."
                       "\nA review file of another recording there is moved aside. Prints each file bound.\n\n"),
        archive, message);
    QTextStream err(stderr);
    const QString name = arguments.value(0);
    LanguagePack texts;
    int status = 0;
    if (!startCommand(outcome, message, parser.value(pack), name, BindSynopsis, err, texts, status))
        return status;

    const QString path = QFileInfo(archive).absoluteFilePath();
    QStringList notes;
    std::vector<CompanionFile> bound;
    try {
        bound = BindArchiveCompanions(path, notes);
    } catch (const FileError &error) {
        err << name << ": " << error.message() << "\n";
        return 1;
    }
    for (const QString &note : notes)
        err << name << ": " << note << "\n";
    QTextStream out(stdout);
    const QDir folder = QFileInfo(path).absoluteDir();
    for (const CompanionFile &file : bound)
        out << QDir::toNativeSeparators(folder.filePath(file.name)) << "\n";
    if (bound.empty())
        err << name << ": no CPR data or sound file beside the archive; none is bound to it now\n";
    return 0;
}

const CliCommandRegistration registration({QStringLiteral("bind"), QLatin1String(BindSynopsis), runBind,
                                           CliCommand::Application::Core});

} // namespace
