// The commands that draw or print (render, log, print, cpr) live in a program of their own,
// ravelin-cli-drawing, so that ravelin-cli itself loads no graphics libraries: its other
// commands (an import above all) start in half the time. ravelin-cli lists them with the
// rest and hands each one over whole: same arguments, same output, same exit status.
#include "tools/CliCommand.h"
#include "tools/CprArguments.h"
#include "tools/RenderArguments.h"
#include "tools/ReportArguments.h"

namespace {

CliCommandRegistration handedOver(const char *name, const char *synopsis)
{
    return CliCommandRegistration(
        {QLatin1String(name), QLatin1String(synopsis), nullptr, CliCommand::Application::DrawingProgram});
}

const CliCommandRegistration renderCommand = handedOver("render", RenderSynopsis);
const CliCommandRegistration logCommand = handedOver("log", LogSynopsis);
const CliCommandRegistration printCommand = handedOver("print", PrintSynopsis);
const CliCommandRegistration cprCommand = handedOver("cpr", CprSynopsis);

} // namespace
