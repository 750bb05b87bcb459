#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the built ravelin-cli with arguments and collects its exit status (-1 when it did
// not exit normally) and its two output streams.
struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

inline CliRun runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(RAVELIN_CLI), arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}
