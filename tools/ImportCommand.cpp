// "ravelin-cli import FOLDER --serial SN ...": a device folder converted into an archive.
#include "app/LanguagePack.h"
#include "archive/AedArchiveReader.h"
#include "archive/FileError.h"
#include "archive/ImportChecks.h"
#include "archive/MifImport.h"
#include "case/CRavelinView.h"
#include "case/OpenDialogLogic.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/ConsolePlatform.h"
#include "tools/ImportArguments.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Reads the archive back and erases the device files when it holds them as converted.
bool eraseAfterReadBack(CRavelinView &view, const MifConversion &conversion, QTextStream &err, const QString &name)
{
    const int slot = view.AllocateCaseSlot();
    try {
        ReadAedArchive(view, conversion.archivePath, slot);
    } catch (const FileError &error) {
        err << name << ": " << error.message() << "\n" << name << ": the device files were kept\n";
        return false;
    }
    const bool holds = ArchiveHoldsConversion(view, slot, conversion);
    view.FreeCase(slot);
    if (!holds) {
        err << name << ": \"" << QDir::toNativeSeparators(conversion.archivePath)
            << "\" does not hold the device files as they were read; they were kept\n";
        return false;
    }
    const QStringList kept = EraseMifFiles(conversion);
    if (!kept.isEmpty())
        err << name << ": " << ImportChecks::keptChangedText(kept) << "\n";
    return kept.isEmpty();
}

// Why the archive may not go to path; "" when it may.
QString refusedTarget(const CRavelinView &view, const QString &path, bool overwrite)
{
    if (!ImportChecks::deviceFolderFileAt(view.scratchFileSet, path).isEmpty())
        return ImportChecks::protectedTargetText(QDir::toNativeSeparators(path));
    if (!overwrite && QFileInfo::exists(path))
        return QStringLiteral("\"%1\" exists already; it may hold a reviewer's annotations and patient fields. "
                              "Give --overwrite to replace it.")
            .arg(QDir::toNativeSeparators(path));
    return QString();
}

int runImport(const QStringList &arguments)
{
    const ImportArguments args = ImportArguments::parse(arguments);
    QTextStream err(stderr);
    const QString name = arguments.value(0);
    LanguagePack texts;
    int status = 0;
    if (!startCommand(args.outcome, args.message, args.languagePack, name, ImportSynopsis, err, texts, status))
        return status;
    const QString folder = QDir::cleanPath(args.folder);
    if (!QFileInfo(folder).isDir()) {
        err << name << ": no folder \"" << QDir::toNativeSeparators(args.folder) << "\"\n";
        return 1;
    }

    ConsolePlatform platform(err, name);
    CRavelinView view(texts, platform);
    // The checks of "Load MIF File": the serial number, then the first missing device file.
    OpenDialogLogic logic(view.state, platform, texts);
    view.state.mifFolderPath = folder;
    logic.setSerialText(args.serialNumber);
    if (!logic.loadMifFile())
        return 1;
    view.setTempFilePresent(view.nextCaseSlot(), logic.tempFilePresent());

    MifImport import(view);
    const int slot = import.DecodeFolder();
    if (slot < 0)
        return 1;
    const QString path = args.output.isEmpty() ? folder + QLatin1Char('/') + import.archiveName() + QStringLiteral(".aed")
                                               : args.output;
    if (const QString refusal = refusedTarget(view, path, args.overwrite); !refusal.isEmpty()) {
        err << name << ": " << refusal << "\n";
        view.FreeCase(slot);
        return 1;
    }
    if (!import.WriteArchive(slot, path))
        return 1;
    if (args.erase && !eraseAfterReadBack(view, import.conversion(), err, name))
        return 1;
    QTextStream(stdout) << QDir::toNativeSeparators(path) << "\n";
    return 0;
}

const CliCommandRegistration registration({QStringLiteral("import"), QLatin1String(ImportSynopsis), runImport,
                                           CliCommand::Application::Core});

} // namespace
