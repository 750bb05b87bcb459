#pragma once

#include <QString>
#include <QStringList>
#include <map>

// One headless command of ravelin-cli. Each command lives in its own file, which defines
// a static CliCommandRegistration; ravelin-cli dispatches on the first argument.
struct CliCommand
{
    // The Qt application object the command needs (Gui for drawing and printing);
    // DrawingProgram: the command runs in the drawing program (ravelin-cli hands it over).
    enum class Application { Core, Gui, DrawingProgram };

    QString name;       // first argument: "simulate"
    QString synopsis;   // one line of the usage text, after the program's name
    // Runs the command; arguments[0] is "ravelin-cli NAME", the command's own follow.
    // Returns the exit status: 0, or 1 after writing the error to stderr.
    int (*run)(const QStringList &arguments) = nullptr;
    Application application = Application::Core;
    // For a command of ravelin-cli: whether these arguments (as run gets them) ask for
    // something it hands over to the drawing program; none when nothing.
    bool (*drawnFor)(const QStringList &arguments) = nullptr;
};

// The commands linked into the program, by name.
inline std::map<QString, CliCommand> &cliCommands()
{
    static std::map<QString, CliCommand> commands;
    return commands;
}

struct CliCommandRegistration
{
    explicit CliCommandRegistration(const CliCommand &command) { cliCommands()[command.name] = command; }
};
