// ravelin-cli: headless commands over the program's core. The commands register
// themselves (CliCommand.h); this file only picks one and gives it a Qt application.
#include "base/ProgramInfo.h"
#include "tools/CliCommand.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdlib>
#include <memory>

namespace {

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

    std::unique_ptr<QCoreApplication> app;
    if (command.application == CliCommand::Application::Gui) {
        // Drawing needs no screen: without one, render offscreen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
            && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeAt(1);
    arguments[0] = QStringLiteral("ravelin-cli ") + name;
    return command.run(arguments);
}
