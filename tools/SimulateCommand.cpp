// "ravelin-cli simulate FOLDER ...": writes the device folder of a simulated rescue.
#include "tools/CliCommand.h"
#include "tools/SimulateArguments.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace {

// Files of an earlier simulation in the same folder that this one does not write: they
// would otherwise be taken for part of this rescue. "Audio Record.wav" is made by the
// program from "Audio Record.bin" only when missing, so an old one is always stale.
QStringList staleFiles(const QString &folder, const DeviceFiles::DeviceFolder &device)
{
    QStringList names{QStringLiteral("Audio Record.wav")};
    if (!device.hasTemp)
        names << DeviceFiles::mifFileName(device.model, QStringLiteral("Temp"));
    if (!device.hasAudio)
        names << QStringLiteral("Audio Record.bin");
    if (!device.hasCprFeedback)
        names << QStringLiteral("CPR Feedback.bin");
    QStringList paths;
    for (const QString &name : names)
        paths << QDir(folder).filePath(name);
    return paths;
}

int runSimulate(const QStringList &arguments)
{
    const SimulateArguments args = SimulateArguments::parse(arguments);
    if (args.outcome == SimulateArguments::Outcome::Help) {
        QTextStream(stdout) << args.message;
        return 0;
    }
    QTextStream err(stderr);
    if (args.outcome == SimulateArguments::Outcome::Error) {
        err << arguments.value(0) << ": " << args.message << "\n"
            << "usage: ravelin-cli " << SimulateSynopsis << "\n";
        return 1;
    }

    const DeviceFiles::DeviceFolder device = simulateRescue(args.options);
    QString failed;
    if (!device.write(args.folder, &failed)) {
        err << arguments.value(0) << ": cannot write \"" << QDir::toNativeSeparators(failed) << "\"\n";
        return 1;
    }
    for (const QString &path : staleFiles(args.folder, device)) {
        if (QFile::exists(path) && !QFile::remove(path)) {
            err << arguments.value(0) << ": cannot remove the stale \"" << QDir::toNativeSeparators(path) << "\"\n";
            return 1;
        }
    }
    QTextStream(stdout) << QDir::toNativeSeparators(args.folder) << "\n";
    return 0;
}

const CliCommandRegistration registration({QStringLiteral("simulate"), QLatin1String(SimulateSynopsis), runSimulate,
                                           CliCommand::Application::Core});

} // namespace
