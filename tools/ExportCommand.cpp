// "ravelin-cli export ARCHIVE ...": the case as EDF+ or one of its tables as CSV.
#include "base/FileError.h"
#include "device/AudioRecordFile.h"
#include "export/CaseExport.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/CliOutput.h"
#include "tools/ExportArguments.h"

#include <QDir>
#include <QTextStream>

namespace {

// --wav: the bytes of the WAV the program makes beside the case's audio record.
int writeCaseWav(const OpenCase &openCase, const ExportArguments &args, const QString &name, QTextStream &err)
{
    if (!openCase.hasAudio) {
        err << name << ": " << QDir::toNativeSeparators(args.archive) << ": the case has no sound\n";
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

    if (!outputAllowed(args.output, args.archive, args.overwrite, err, name))
        return 1;

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
    if (!writeOutput(args.output, built.bytes, err, name))
        return 1;
    if (built.compressionsLeftOut > 0)
        err << name << ": " << built.compressionsLeftOut << " compressions outside the ECG were left out\n";
    return 0;
}

const CliCommandRegistration registration({QStringLiteral("export"), QLatin1String(ExportSynopsis), runExport,
                                           CliCommand::Application::Core});

} // namespace
