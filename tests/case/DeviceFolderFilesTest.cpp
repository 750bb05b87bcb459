// Device files are found by name without regard to case, and a folder's listing, shared
// between lookups, never hides a change made to the folder since.
#include "case/DeviceFolderFiles.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// Dates the folder's modification an hour back, as a folder untouched for a while is.
void settle(const QString &folder)
{
    timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0), 0);
}

TEST(DeviceFolderFiles, FindsNamesInAnyCaseAndSeesEveryChangeToTheFolder)
{
    TempDir dir;
    const QString folder = dir.path();
    dir.write("audio record.bin", "1");
    dir.write("Q25 ECG Data.MIF", "2");
    settle(folder);

    EXPECT_EQ(DeviceFolderFiles(folder).filePath("Audio Record.bin"), folder + "/audio record.bin");
    EXPECT_EQ(DeviceFolderFiles(folder).filePath("Q25 ECG Data.MIF"), folder + "/Q25 ECG Data.MIF");
    EXPECT_FALSE(DeviceFolderFiles(folder).hasFile("CPR Feedback.bin"));

    // Renamed, then dated back again: the folder still reads as changed.
    ASSERT_TRUE(QFile::rename(folder + "/audio record.bin", folder + "/AUDIO RECORD.BIN"));
    settle(folder);
    EXPECT_EQ(DeviceFolderFiles(folder).filePath("Audio Record.bin"), folder + "/AUDIO RECORD.BIN");

    dir.write("cpr feedback.BIN", "3");
    EXPECT_TRUE(DeviceFolderFiles(folder).hasFile("CPR Feedback.bin"));

    ASSERT_TRUE(QFile::remove(folder + "/AUDIO RECORD.BIN"));
    EXPECT_FALSE(DeviceFolderFiles(folder).hasFile("Audio Record.bin"));
    EXPECT_EQ(DeviceFolderFiles(folder).filePath("Audio Record.bin"), folder + "/Audio Record.bin")
        << "a missing file gets its exact name";
}

} // namespace
