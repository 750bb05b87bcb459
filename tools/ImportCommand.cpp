// "ravelin-cli import FOLDER --serial SN ...": a device folder converted into an archive.
#include "base/LanguagePack.h"
#include "archive/AedArchiveReader.h"
#include "archive/CaseCompanions.h"
#include "archive/RecordingId.h"
#include "base/FileError.h"
#include "archive/ImportChecks.h"
#include "archive/MifImport.h"
#include "archive/OutputTarget.h"
#include "case/CC8Class.h"
#include "case/CaseSession.h"
#include "device/OpenDialogLogic.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/ConsolePlatform.h"
#include "tools/ImportArguments.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Reads the archive back and erases the device files when it holds them as converted.
bool eraseAfterReadBack(CaseSession &session, const MifConversion &conversion, QTextStream &err, const QString &name)
{
    const int slot = session.store.AllocateCaseSlot(conversion.archivePath);
    try {
        ReadAedArchive(session.store, conversion.archivePath, slot, session.state.timeZoneChoice);
    } catch (const FileError &error) {
        err << name << ": " << error.message() << "\n" << name << ": the device files were kept\n";
        return false;
    }
    const bool holds = ArchiveHoldsConversion(session, slot, conversion);
    session.store.FreeCase(slot);
    if (!holds) {
        err << name << ": \"" << QDir::toNativeSeparators(conversion.archivePath)
            << "\" does not hold the device files as they were read; they were kept\n";
        return false;
    }
    const MifEraseResult erase = EraseMifFiles(conversion);
    if (!erase.complete())
        err << name << ": " << ImportChecks::eraseOutcomeText(erase.changed, erase.notErased, session.texts()) << "\n";
    return erase.complete();
}

// Why the archive may not go to path; "" when it may.
QString refusedTarget(const QString &folder, const QString &path, bool overwrite)
{
    OutputInputs inputs;
    inputs.deviceFolders << folder;
    if (QString refusal = OutputTarget::refusal(path, inputs, OutputTarget::Writes::Archive); !refusal.isEmpty())
        return refusal;
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
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        err << name << ": no folder \"" << QDir::toNativeSeparators(args.folder) << "\"\n";
        return 1;
    }

    ConsolePlatform platform(err, name);
    CaseSession session(texts, platform);
    // The checks of "Load MIF File": the serial number, then the first missing device file.
    OpenDialogLogic logic(session.state, platform, texts);
    session.state.mifFolderPath = folder;
    logic.setSerialText(args.serialNumber);
    if (!logic.loadMifFile())
        return 1;
    session.store.setTempFilePresent(session.store.nextCaseSlot(), logic.tempFilePresent());

    MifImport import(session);
    const int slot = import.DecodeFolder();
    if (slot < 0)
        return 1;
    const QString path = args.output.isEmpty() ? folder + QLatin1Char('/') + import.archiveName() + QStringLiteral(".aed")
                                               : args.output;
    // The case travels whole: the device's CPR data and sound go beside an archive written to
    // another folder, never beside another recording's, and the review file binds them.
    const QString recordingId = RecordingId(*session.store.at(slot).fileSet);
    const CompanionPlan companions = PlanCompanions(ImportedCompanions(folder, recordingId), path);
    QString refusal = refusedTarget(folder, path, args.overwrite);
    if (refusal.isEmpty())
        refusal = companions.refusal;
    if (!refusal.isEmpty()) {
        err << name << ": " << refusal << "\n";
        session.store.FreeCase(slot);
        return 1;
    }
    if (!import.WriteArchive(slot, path))
        return 1;
    QStringList notes;
    try {
        CarryCompanions(companions, path);
        WriteReviewFileWithBinding(path, recordingId, companions.binding(), std::nullopt, false, notes,
                                   CC8Class::ModelCode(session.state.deviceModel));
    } catch (const FileError &error) {
        err << name << ": " << error.message() << "\n" << name << ": the device files were kept\n";
        return 1;
    }
    for (const QString &note : notes)
        err << name << ": " << note << "\n";
    if (args.erase && !eraseAfterReadBack(session, import.conversion(), err, name))
        return 1;
    QTextStream(stdout) << QDir::toNativeSeparators(path) << "\n";
    return 0;
}

const CliCommandRegistration registration({QStringLiteral("import"), QLatin1String(ImportSynopsis), runImport,
                                           CliCommand::Application::Core});

} // namespace
