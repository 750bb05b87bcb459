// "ravelin-cli --help", "--version" and "COMMAND --help", as the man page and the package check
// read them: the built program, its exit status and its output.
#include "base/ProgramInfo.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CliRun.h"

namespace {

// The command names of the "commands:" block of the general help, in their order.
QStringList listedCommands(const QString &help)
{
    QStringList names;
    const QString block = help.section(QStringLiteral("commands:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    static const QRegularExpression line(QStringLiteral("^  ravelin-cli (\\S+) ?"));
    for (const QString &text : block.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch found = line.match(text);
        EXPECT_TRUE(found.hasMatch()) << "not one command per line: " << qPrintable(text);
        if (found.hasMatch())
            names.append(found.captured(1));
    }
    return names;
}

} // namespace

TEST(CliHelp, VersionIsTheProgramVersion)
{
    for (const char *option : {"--version", "-v"}) {
        const CliRun run = runCli({QString::fromLatin1(option)});
        EXPECT_EQ(run.status, 0) << option;
        EXPECT_EQ(run.out, QStringLiteral("ravelin-cli %1\n").arg(ProgramInfo::Version)) << option;
        EXPECT_EQ(run.err, "") << option;
    }
}

// Every command appears on one line of the general help, and its own help describes its options.
TEST(CliHelp, ListsEveryCommandOnOneLineAndEachHasItsOwnHelp)
{
    const CliRun run = runCli({"--help"});
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.startsWith("usage: ravelin-cli COMMAND")) << qPrintable(run.out);
    EXPECT_TRUE(run.out.contains("--version")) << qPrintable(run.out);
    const QStringList commands = listedCommands(run.out);
    for (const char *known : {"simulate", "import", "events", "info", "render", "log", "print", "cpr"})
        EXPECT_TRUE(commands.contains(QLatin1String(known))) << known << " missing from\n" << qPrintable(run.out);

    for (const QString &command : commands) {
        const CliRun help = runCli({command, "--help"});
        EXPECT_EQ(help.status, 0) << qPrintable(command);
        EXPECT_TRUE(help.out.startsWith("usage: ravelin-cli " + command + ' ')) << qPrintable(help.out);
        EXPECT_TRUE(help.out.contains("-h, --help")) << qPrintable(help.out);
        EXPECT_EQ(help.err, "") << qPrintable(command);
    }
}

TEST(CliHelp, UnknownCommandIsAnErrorWithTheUsage)
{
    const CliRun run = runCli({"frobnicate"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.startsWith("ravelin-cli: unknown command \"frobnicate\"\nusage: ravelin-cli COMMAND"))
        << qPrintable(run.err);
}

// The commands that draw run in the drawing program beside ravelin-cli; without it they
// fail with a message naming it, and the other commands work as before.
TEST(CliHelp, ADrawingCommandWithoutTheDrawingProgramSaysWhatIsMissing)
{
    QTemporaryDir dir;
    const QString alone = dir.filePath(QStringLiteral("ravelin-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(RAVELIN_CLI), alone));
    for (const char *command : {"render", "cpr"}) {
        QProcess process;
        process.start(alone, {QString::fromLatin1(command), QStringLiteral("--help")});
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 1) << command;
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_TRUE(err.contains(QStringLiteral("ravelin-cli-drawing is missing"))) << qPrintable(err);
        EXPECT_TRUE(err.contains(dir.path())) << "names where it looked: " << qPrintable(err);
    }
    QProcess process;
    process.start(alone, {QStringLiteral("import"), QStringLiteral("--help")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
}
