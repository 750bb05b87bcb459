// ravelin-cli: headless commands over the program's core. The commands register
// themselves (CliCommand.h); this file only picks one and gives it a Qt application.
// Built twice: as ravelin-cli, which hands the drawing commands over to the drawing
// program, and as that program (RAVELIN_CLI_DRAWING), which runs them with Qt Gui.
#include "base/ProgramInfo.h"
#include "base/ProgramPlugin.h"
#include "tools/CliCommand.h"
#include "tools/ZoneChoice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QTextStream>
#ifdef RAVELIN_CLI_DRAWING
#include <QGuiApplication>
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

constexpr char DrawingProgram[] = "ravelin-cli-drawing";

// Replaces this process with the drawing program, found beside this program (the build
// folder) or in the installed plugin folder, with the same arguments. Returns only when it
// cannot, after saying why.
int handOverToDrawingProgram(char **argv, const QString &command)
{
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QString programFolder = self.isEmpty() ? QFileInfo(QFile::decodeName(argv[0])).absolutePath()
                                                 : QFileInfo(self).absolutePath();
    QStringList tried;
    for (const QString &folder : ProgramPlugin::defaultFolders(programFolder)) {
        const QString path = QDir(folder).filePath(QLatin1String(DrawingProgram));
        tried << QDir::toNativeSeparators(path);
        if (!QFileInfo(path).isExecutable())
            continue;
        ::execv(QFile::encodeName(path).constData(), argv);
        QTextStream(stderr) << "ravelin-cli: " << command << ": \"" << QDir::toNativeSeparators(path)
                            << "\" could not be started: " << QString::fromLocal8Bit(std::strerror(errno)) << "\n";
        return 1;
    }
    QTextStream(stderr) << "ravelin-cli: " << command << ": the drawing program " << DrawingProgram
                        << " is missing (looked for " << tried.join(QStringLiteral(", ")) << ")\n";
    return 1;
}

QString usage()
{
    QString text = QStringLiteral("usage: ravelin-cli COMMAND [ARGUMENTS...]\n"
                                  "       ravelin-cli --help | --version\n\n"
                                  "Headless commands of Ravelin, the review program for what an AED recorded during a\n"
                                  "rescue: errors go to stderr with exit status 1, results to stdout.\n\ncommands:\n");
    for (const auto &[name, command] : cliCommands())
        text += QStringLiteral("  ravelin-cli ") + command.synopsis + QLatin1Char('\n');
    text += QStringLiteral("\noptions:\n"
                           "  -h, --help     Shows this help.\n"
                           "  -v, --version  Shows the program's version.\n"
                           "\n'ravelin-cli COMMAND --help' describes one command.\n");
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    useUtcForTheProcess();
    // Qt's own tables (the fonts of a PDF among them) are then walked in the same order on
    // every run, so the same archive gives the same bytes.
    QHashSeed::setDeterministicGlobalSeed();
    const QString name = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        QTextStream(stdout) << usage();
        return 0;
    }
    if (name == QLatin1String("--version") || name == QLatin1String("-v")) {
        QTextStream(stdout) << "ravelin-cli " << ProgramInfo::Version << '\n';
        return 0;
    }
    const auto found = cliCommands().find(name);
    if (found == cliCommands().end()) {
        QTextStream err(stderr);
        if (!name.isEmpty())
            err << "ravelin-cli: unknown command \"" << name << "\"\n";
        err << usage();
        return 1;
    }
    const CliCommand &command = found->second;
    if (command.application == CliCommand::Application::DrawingProgram)
        return handOverToDrawingProgram(argv, name);
#ifndef RAVELIN_CLI_DRAWING
    if (command.drawnFor) {
        QStringList own = {QStringLiteral("ravelin-cli ") + name};
        for (int i = 2; i < argc; ++i)
            own << QString::fromLocal8Bit(argv[i]);
        if (command.drawnFor(own))
            return handOverToDrawingProgram(argv, name);
    }
#endif

    std::unique_ptr<QCoreApplication> app;
#ifdef RAVELIN_CLI_DRAWING
    if (command.application == CliCommand::Application::Gui) {
        // Drawing needs no screen: without one, render offscreen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    if (!app)
        app = std::make_unique<QCoreApplication>(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeAt(1);
    arguments[0] = QStringLiteral("ravelin-cli ") + name;
    return command.run(arguments);
}
