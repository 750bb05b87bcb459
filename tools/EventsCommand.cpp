// "ravelin-cli events ARCHIVE ...": the case's branch of the case tree, one item a line.
#include "tools/ArchiveCommandArguments.h"
#include "tools/CliArchiveCase.h"
#include "tools/CliCommand.h"

#include <QTextStream>

namespace {

int runEvents(const QStringList &arguments)
{
    return runArchiveCommand(
        arguments, EventsSynopsis,
        QStringLiteral("Opens ARCHIVE as \"Load AED File\" does and prints its case's branch of the case tree,"
                       "\none item a line, each label as the tree shows it, indented two blanks per level."),
        [](CliArchiveCase &archiveCase, int, QTextStream &out) {
            for (const QString &line : archiveCase.tree().lines())
                out << line << "\n";
        });
}

const CliCommandRegistration registration({QStringLiteral("events"), QLatin1String(EventsSynopsis), runEvents,
                                           CliCommand::Application::Core});

} // namespace
