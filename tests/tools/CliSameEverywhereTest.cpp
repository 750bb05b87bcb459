// Without --zone every reading command shows the case in its device's own clock, so the
// same archive gives the same bytes on computers set to any zone; --zone local follows
// the computer.
#include "support/TempDir.h"
#include "tools/Simulator.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>

#include "CliRun.h"

namespace {

const char *const Computers[] = {"UTC", "Asia/Seoul", "America/New_York"};

// What changes from one run to the next whatever the zone: the moment the report was made.
QByteArray withoutRunTime(QByteArray bytes)
{
    static const QRegularExpression creation(QStringLiteral("/CreationDate \\(D:\\d{14}Z\\)"));
    static const QRegularExpression reportDate(QStringLiteral("Report Date: [^<]*<"));
    QString text = QString::fromLatin1(bytes);
    text.replace(creation, QStringLiteral("/CreationDate (D:run)"));
    text.replace(reportDate, QStringLiteral("Report Date: run<"));
    return text.toLatin1();
}

TEST(CliSameEverywhere, ReadingCommandsWriteTheSameBytesInEveryZone)
{
    TempDir dir;
    SimulationOptions options;
    options.seed = 5;
    options.minutes = 4;
    options.audio = false;
    options.start = QDateTime(QDate(2021, 3, 7), QTime(8, 50, 0)); // the day before in New York, in UTC
    ASSERT_TRUE(simulateRescue(options).write(dir.file("card")));
    const QString archive = dir.file("case.aed");
    ASSERT_EQ(runCli({"import", dir.file("card"), "--serial", "SN-5", "--out", archive}, "UTC").status, 0);
    const QString db = dir.file("library.sqlite");
    ASSERT_EQ(runCli({"library", "--db", db, "add", archive}, "UTC").status, 0);

    // Each command with its arguments; "OUT" stands for a file it writes.
    const std::vector<std::pair<const char *, QStringList>> commands = {
        {"events", {"events", archive}},
        {"info", {"info", archive}},
        {"cpr", {"cpr", archive}},
        {"cpr csv", {"cpr", archive, "--format", "csv"}},
        {"cpr pdf", {"cpr", archive, "--pdf", "OUT"}},
        {"export edf", {"export", archive, "--edf", "OUT"}},
        {"export events", {"export", archive, "--events-csv", "OUT"}},
        {"log", {"log", archive, "-o", "OUT"}},
        {"print", {"print", archive, "--segment", "60000-66000", "-o", "OUT"}},
        {"render", {"render", archive, "--view", "entire", "--at", "30", "--size", "640x360", "-o", "OUT"}},
        {"library list", {"library", "--db", db, "list", "--format", "csv"}},
        {"library stats", {"library", "--db", db, "stats", "--by", "month", "--format", "json"}},
    };
    std::map<std::string, QByteArray> first;
    for (const char *zone : Computers) {
        for (const auto &[name, arguments] : commands) {
            const QString out = dir.file(QString::fromLatin1(zone).replace('/', '_') + " " + name);
            QStringList args = arguments;
            args.replaceInStrings(QRegularExpression("^OUT$"), out);
            const CliRun run = runCli(args, zone);
            ASSERT_EQ(run.status, 0) << name << " " << zone << ": " << run.err.toStdString();
            QByteArray bytes = run.out.toUtf8();
            if (args.contains(out)) {
                QFile file(out);
                ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
                bytes = file.readAll();
            }
            bytes = withoutRunTime(bytes);
            const auto [at, inserted] = first.emplace(name, bytes);
            if (!inserted) {
                EXPECT_TRUE(bytes == at->second) << name << " differs under " << zone;
            }
        }
    }
    EXPECT_TRUE(first["events"].contains("\n    2021-03-07 08:50:00(UTC+09:00)\n")) << first["events"].toStdString();

    // --zone local shows the computer's zone: the same start is the evening before in New York.
    const CliRun local = runCli({"events", archive, "--zone", "local"}, "America/New_York");
    ASSERT_EQ(local.status, 0) << local.err.toStdString();
    EXPECT_TRUE(local.out.contains("\n    2021-03-06 18:50:00(UTC-05:00)\n")) << local.out.toStdString();
    const CliRun wrong = runCli({"events", archive, "--zone", "here"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(wrong.err.contains("--zone must be a row from 0 to 178 or \"local\", not \"here\"")) << wrong.err.toStdString();
}

} // namespace
