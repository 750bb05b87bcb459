// "ravelin-cli export ARCHIVE ...": the case as EDF+ or one of its tables as CSV.
#include "export/CaseExport.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"
#include "tools/CliOutput.h"
#include "tools/ExportArguments.h"

#include <QDir>
#include <QTextStream>

namespace {

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
    const CaseExport::Built built =
        CaseExport::build(archiveCase.session().store.at(slot), texts, args.kind, args.options);
    if (built.problemText != 0) {
        err << name << ": " << QDir::toNativeSeparators(args.archive) << ": " << texts.GetText(built.problemText) << "\n";
        return 1;
    }
    return writeOutput(args.output, built.bytes, err, name) ? 0 : 1;
}

const CliCommandRegistration registration({QStringLiteral("export"), QLatin1String(ExportSynopsis), runExport,
                                           CliCommand::Application::Core});

} // namespace
