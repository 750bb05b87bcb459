#pragma once

#include <QProcess>
#include <QProcessEnvironment>
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

// timeZone, when given, is the TZ the command runs with (a computer set to that zone).
inline CliRun runCli(const QStringList &arguments, const char *timeZone = nullptr)
{
    QProcess process;
    if (timeZone) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TZ"), QString::fromLatin1(timeZone));
        process.setProcessEnvironment(environment);
    }
    process.start(QStringLiteral(RAVELIN_CLI), arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}
