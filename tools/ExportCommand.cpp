// "ravelin-cli export ARCHIVE ...": the case as EDF+ or one of its tables as CSV.
#include "base/AtomicFileWriter.h"
#include "base/FileError.h"
#include "device/AudioRecordFile.h"
#include "export/CaseExport.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/ExportArguments.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

// --wav: the bytes of the WAV the program makes beside the case's audio record.
int writeCaseWav(const OpenCase &openCase, const ExportArguments &args, const QString &name, QTextStream &err)
{
    if (!openCase.hasAudio) {
        err << name << ": " << QDir::toNativeSeparators(args.archive) << ": the case has no sound\n";
        return 1;
    }
    if (AtomicFileWriter::finalPath(QFileInfo(args.output).absoluteFilePath())
        == AtomicFileWriter::finalPath(QFileInfo(openCase.audioRecordPath).absoluteFilePath())) {
        err << name << ": \"" << QDir::toNativeSeparators(args.output) << "\" is the case's audio record\n";
        return 1;
    }
    try {
        AudioRecordFile::writeWav(openCase.audioRecordPath, args.output);
    } catch (const FileError &e) {
        err << name << ": " << e.message() << "\n";
        return 1;
    }
    return 0;
}

int runExport(const QStringList &arguments)
{
    const ExportArguments args = ExportArguments::parse(arguments);
    QTextStream err(stderr);
    const QString name = arguments.value(0);
    LanguagePack texts;
    int status = 0;
    if (!startCommand(args.outcome, args.message, args.languagePack, name, ExportSynopsis, err, texts, status))
        return status;

    // An export never replaces the archive it comes from, and replaces another file only when asked.
    const QFileInfo target(args.output);
    if (target.exists() && AtomicFileWriter::finalPath(target.absoluteFilePath())
                               == AtomicFileWriter::finalPath(QFileInfo(args.archive).absoluteFilePath())) {
        err << name << ": \"" << QDir::toNativeSeparators(args.output) << "\" is the archive itself\n";
        return 1;
    }
    if (target.exists() && !args.overwrite) {
        err << name << ": \"" << QDir::toNativeSeparators(args.output)
            << "\" already exists; --overwrite replaces it\n";
        return 1;
    }

    CliArchiveCase archiveCase(texts, err, name);
    const int slot = archiveCase.open(args.archive, args.zoneRow, 0);
    if (slot < 0)
        return 1;
    if (args.wav)
        return writeCaseWav(archiveCase.session().store.at(slot), args, name, err);
    const CaseExport::Built built =
        CaseExport::build(archiveCase.session().store.at(slot), texts, args.kind, args.options);
    if (built.problemText != 0) {
        err << name << ": " << QDir::toNativeSeparators(args.archive) << ": " << texts.GetText(built.problemText) << "\n";
        return 1;
    }
    try {
        AtomicFileWriter::write(args.output, built.bytes);
    } catch (const FileError &e) {
        err << name << ": " << e.message() << "\n";
        return 1;
    }
    if (built.compressionsLeftOut > 0)
        err << name << ": " << built.compressionsLeftOut << " compressions outside the ECG were left out\n";
    return 0;
}

const CliCommandRegistration registration({QStringLiteral("export"), QLatin1String(ExportSynopsis), runExport,
                                           CliCommand::Application::Core});

} // namespace
