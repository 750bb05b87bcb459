// A case read from the command line is the case its archive holds: another recording's CPR data
// and sound are never credited to it, a case imported elsewhere takes its own with it, and the
// reading commands leave every file as it was.
#include "support/FileHashes.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "CliRescue.h"
#include "CliRun.h"

namespace {

// A second rescue: another recording with CPR data and sound of its own.
DeviceFiles::DeviceFolder otherRescue()
{
    DeviceFiles::DeviceFolder f = cliRescue();
    f.ecgRaw = std::vector<int32_t>(2500, 9);
    f.cprFeedback = {{3000, 60}, {3600, 58}, {4200, 61}};
    return f;
}

QString imported(const QString &folder, const QStringList &more = {})
{
    const CliRun run = runCli(QStringList{"import", folder, "--serial", "SN-7"} + more);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return run.out.trimmed();
}

TEST(SealedCaseCommands, AnotherRecordingsCprDataIsNeverCreditedToACase)
{
    TempDir dir;
    cliRescue().write(dir.file("card"));
    otherRescue().write(dir.file("card2"));
    const QString first = imported(dir.file("card"));
    const QString second = dir.file("card/second.aed");
    ASSERT_TRUE(QFile::copy(imported(dir.file("card2")), second)) << "an archive copied in by hand";

    CliRun run = runCli({"cpr", first});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    run = runCli({"cpr", second});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("\"" + dir.file("card/CPR Feedback.bin") + "\" was left out of this case"))
        << run.err.toStdString();

    const QString db = dir.file("library.sqlite");
    run = runCli({"library", "--db", db, "add", dir.file("card")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    run = runCli({"library", "--db", db, "list", "--format", "json"});
    const QJsonArray rows = QJsonDocument::fromJson(run.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 2) << run.out.toStdString();
    for (const QJsonValue &row : rows) {
        const bool isFirst = row["path"].toString() == first;
        EXPECT_EQ(row["hasCprFeedback"].toBool(), isFirst) << row["path"].toString().toStdString();
        EXPECT_EQ(row["ccf"].isNull(), !isFirst);
    }
}

TEST(SealedCaseCommands, ACaseImportedElsewhereTakesItsCprDataAndSoundWithIt)
{
    TempDir dir;
    cliRescue().write(dir.file("card"));
    const QString home = imported(dir.file("card"));
    const QString away = imported(dir.file("card"), {"--out", dir.mkdir("elsewhere") + "/x.aed"});
    ASSERT_EQ(away, dir.file("elsewhere/x.aed"));
    const CliRun there = runCli({"cpr", home});
    const CliRun here = runCli({"cpr", away});
    ASSERT_EQ(here.status, 0) << here.err.toStdString();
    EXPECT_EQ(here.out, there.out);
    EXPECT_TRUE(runCli({"info", away}).out.contains("\"hasAudio\": true"));

    // Not beside another recording's files: nothing is written there.
    otherRescue().write(dir.file("occupied"));
    QFile::remove(dir.file("occupied/Q25 CT Data.MIF"));
    const auto before = fileHashesIn(dir.file("occupied"));
    const CliRun refused = runCli({"import", dir.file("card"), "--serial", "SN-7", "--out", dir.file("occupied/y.aed")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("Choose a new folder")) << refused.err.toStdString();
    EXPECT_TRUE(fileHashesIn(dir.file("occupied")) == before);
}

TEST(SealedCaseCommands, ReimportingOverAnArchiveMovesTheOldMarksAside)
{
    TempDir dir;
    otherRescue().write(dir.file("old"));
    cliRescue().write(dir.file("card"));
    const QString archive = dir.file("card/a.aed");
    imported(dir.file("old"), {"--out", dir.mkdir("keep") + "/a.aed"});
    QFile::copy(dir.file("keep/a.aed"), archive);
    dir.write("card/a.aed.review.json",
              "{\"version\": 1, \"adjustedStart\": \"2019-05-01 08:00:00\", \"viewed\": true}\n");

    imported(dir.file("card"), {"--out", archive, "--overwrite"});
    const QStringList aside = QDir(dir.file("card")).entryList({"a.aed.review.*-*.json"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(dir.read("card/" + aside[0]).contains("2019-05-01 08:00:00"));
    const QString events = runCli({"events", archive}).out;
    EXPECT_TRUE(events.startsWith("2021-03-07")) << "the device's own start: " << events.toStdString();
    EXPECT_FALSE(events.contains("2019"));
    const QJsonObject info = QJsonDocument::fromJson(runCli({"info", archive}).out.toUtf8()).object();
    EXPECT_EQ(info["recordingId"].toString().size(), 64);
}

// Every reading command, pointed at a case with a planted link at its sound file's name:
// the folder's files, their bytes and the link's target stay as they were.
TEST(SealedCaseCommands, ReadingCommandsWriteNothingBesideTheArchive)
{
    TempDir dir;
    cliRescue().write(dir.file("card"));
    const QString archive = imported(dir.file("card"));
    QFile::remove(dir.file("card/Q25_0905(2021-03-07).aed.review.json"));
    const QString precious = dir.write("precious.txt", "someone else's file");
    ASSERT_TRUE(QFile::link(precious, dir.file("card/Audio Record.wav")));
    const QString out = dir.mkdir("out");
    const QString db = out + "/library.sqlite";
    const QList<QStringList> commands = {
        {"info", archive},
        {"events", archive},
        {"cpr", archive},
        {"cpr", archive, "--pdf", out + "/cpr.pdf"},
        {"export", archive, "--events-csv", out + "/events.csv"},
        {"export", archive, "--edf", out + "/case.edf", "--with-compressions"},
        {"export", archive, "--wav", out + "/sound.wav"},
        {"render", archive, "--view", "8s", "--at", "5", "-o", out + "/view.png"},
        {"log", archive, "-o", out + "/log.html"},
        {"print", archive, "--segment", "0-2000", "-o", out + "/strip.pdf"},
        {"library", "--db", db, "add", dir.file("card")},
        {"library", "--db", db, "list"},
        {"library", "--db", db, "stats"},
    };
    const auto before = fileHashesIn(dir.file("card"));
    ASSERT_TRUE(before.contains("CPR Feedback.bin"));
    for (const QStringList &command : commands) {
        const CliRun run = runCli(command);
        EXPECT_EQ(run.status, 0) << command.join(' ').toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(fileHashesIn(dir.file("card")) == before)
            << command.join(' ').toStdString() << " left " << fileHashesIn(dir.file("card")).keys().join(", ").toStdString();
        EXPECT_EQ(dir.read("precious.txt"), "someone else's file") << command.join(' ').toStdString();
        EXPECT_TRUE(QFileInfo(dir.file("card/Audio Record.wav")).isSymLink());
    }
    // The sound the program plays is still there to check: the export wrote it on request.
    EXPECT_EQ(QFileInfo(out + "/sound.wav").size(), 44 + 32000);
}

} // namespace
