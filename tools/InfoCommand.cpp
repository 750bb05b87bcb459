// "ravelin-cli info ARCHIVE ...": the case of an archive as one JSON object.
#include "tools/ArchiveCommandArguments.h"
#include "tools/CaseInfoJson.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"

#include <QTextStream>

namespace {

int runInfo(const QStringList &arguments)
{
    return runArchiveCommand(
        arguments, InfoSynopsis,
        QStringLiteral("Opens ARCHIVE as \"Load AED File\" does and prints its case as one JSON object: the"
                       "\ncase and patient fields, annotations, file sizes, decoded series, CPR periods, CPR"
                       "\nfeedback and sound."),
        [](CliArchiveCase &archiveCase, int slot, QTextStream &out) { out << CaseInfoJson(archiveCase.session().store, slot); });
}

const CliCommandRegistration registration({QStringLiteral("info"), QLatin1String(InfoSynopsis), runInfo,
                                           CliCommand::Application::Core});

} // namespace
