// "ravelin-cli import" never destroys what a reviewer has: its archive never goes over a
// file of the device folder or over an archive already there (unless --overwrite), it
// says what the system said when the disk is full, and "info" and "events" open archives
// where nothing can be written.
#include "support/FileHashes.h"
#include "support/ScratchMount.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "CliRescue.h"
#include "CliRun.h"

TEST(CliImportSafety, TheArchiveGoesNeitherOverADeviceFolderFileNorOverAnArchiveThatIsThere)
{
    TempDir dir;
    const QString folder = dir.file("card");
    cliRescue().write(folder);
    dir.write("card/Audio Record.wav", "an older sound");
    const QString reviewed = dir.write("card/Q25_0905(2021-03-07).aed", "a reviewed archive");
    const struct { QString out; bool overwrite; bool written; QString error; } cases[] = {
        {folder + "/Q25 CT Data.MIF", false, false, "is a device file of the case's folder"},
        {folder + "/Q25 ECG Data.MIF", false, false, "is a device file of the case's folder"},
        {folder + "/Q25 ECG Data.MIF", true, false, "is a device file of the case's folder"},
        {folder + "/Q25 HR Data.MIF", false, false, "is a device file of the case's folder"},
        {folder + "/Q25 Trend Data.MIF", false, false, "is a device file of the case's folder"},
        {folder + "/Q25 Temp Data.MIF", false, false, "is a device file of the case's folder"},
        {folder + "/CPR Feedback.bin", true, false, "is the case's CPR data file"},
        {folder + "/Audio Record.bin", false, false, "is the case's audio record"},
        {folder + "/Audio Record.wav", true, false, "is the case's audio record as WAV"},
        {dir.path() + "/card/./Q25 HR Data.MIF", false, false, "is a device file of the case's folder"},
        {QString(), false, false, "exists already"}, // the automatic name, taken by a reviewed archive
        {reviewed, false, false, "exists already"},
        {reviewed, true, true, QString()},
    };
    for (const auto &c : cases) {
        const auto before = fileHashesIn(folder);
        QStringList arguments{"import", folder, "--serial", "SN-7", "--erase"};
        if (!c.out.isEmpty())
            arguments << "--out" << c.out;
        if (c.overwrite)
            arguments << "--overwrite";
        const std::string what = (c.out + (c.overwrite ? " --overwrite" : "")).toStdString();

        const CliRun run = runCli(arguments);

        if (!c.written) {
            EXPECT_EQ(run.status, 1) << what;
            EXPECT_EQ(run.out, "") << what;
            EXPECT_TRUE(run.err.startsWith("ravelin-cli import: \"" + (c.out.isEmpty() ? reviewed : c.out) + "\""))
                << what << ": " << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(c.error)) << what << ": " << run.err.toStdString();
            EXPECT_EQ(fileHashesIn(folder), before) << what << ": nothing changed";
            continue;
        }
        EXPECT_EQ(run.status, 0) << what << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, reviewed + "\n");
        auto after = fileHashesIn(folder);
        EXPECT_NE(after.take("Q25_0905(2021-03-07).aed"), before.value("Q25_0905(2021-03-07).aed"));
        EXPECT_EQ(after.keys(), (QStringList{"Audio Record.bin", "Audio Record.wav", "CPR Feedback.bin",
                                             "Q25_0905(2021-03-07).aed.review.json"}))
            << "the device files were erased once read back; the review file binds the rest";
    }
}

TEST(CliImportSafety, DeviceFilesWithACutRecordImportWithAWarning)
{
    TempDir dir;
    const QString folder = dir.file("card");
    cliRescue().write(folder);
    QFile hr(folder + "/Q25 HR Data.MIF");
    hr.resize(hr.size() - 1);

    const CliRun run = runCli({"import", folder, "--serial", "SN-7"});

    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith("ravelin-cli import: These device files end in a cut record")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(folder + "/Q25 HR Data.MIF: 7 bytes after the last whole record"));
}

TEST(CliImportSafety, AFullDiskIsNamedAndNothingIsErased)
{
    ScratchMount full(8 * 1024);
    if (!full.isMounted())
        GTEST_SKIP() << ScratchMount::skipReason().toStdString() << "; the full file system is not tried";
    TempDir dir;
    const QString folder = dir.file("card");
    cliRescue().write(folder);
    const auto before = fileHashesIn(folder);

    const CliRun run = runCli({"import", folder, "--serial", "SN-7", "--erase", "--out", full.file("case.aed")});

    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ravelin-cli import: An error occurred while writing " + full.file("case.aed")
                           + ".\nNo space left on device\n");
    EXPECT_EQ(fileHashesIn(folder), before);
    EXPECT_EQ(QDir(full.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(CliImportSafety, InfoAndEventsOpenAnArchiveWhereNothingCanBeWritten)
{
    ReadOnlyFolder folder([&](const QString &path) {
        cliRescue().write(path);
        const CliRun import = runCli({"import", path, "--serial", "SN-7"});
        ASSERT_EQ(import.status, 0) << import.err.toStdString();
    });
    if (!folder.isLocked())
        GTEST_SKIP() << ReadOnlyFolder::skipReason().toStdString();
    const QString archive = folder.path() + "/Q25_0905(2021-03-07).aed";
    for (const char *command : {"info", "events"}) {
        const CliRun run = runCli({QString::fromLatin1(command), archive});
        EXPECT_EQ(run.status, 0) << command << ": " << run.err.toStdString();
        EXPECT_FALSE(run.out.isEmpty()) << command;
        EXPECT_EQ(run.err, "") << command << ": a reading command tries to write nothing";
    }
    EXPECT_TRUE(runCli({"info", archive}).out.contains("\"hasAudio\": true"));
}
