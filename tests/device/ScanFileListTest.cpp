#include "device/ScanFileList.h"

#include <gtest/gtest.h>

using namespace ScanFileList;

TEST(ScanFileList, FoldersSortByTheNumbersTheirNamesStartWith)
{
    QStringList files = {
        "/r/10/1 a.aed",
        "/r/2/10.x",
        "/r/99999999999999999999999/x", // longer than any integer type
        "/r/2/sub/1",
        "/r/2/9.x",
        "/r/abc/3",
        "/r/007/x",
        "/r/2/05.x",
        "/r/1/x",
    };
    sortScanFiles(files);
    const QStringList expected = {
        "/r/abc/3",  // no digits: 0
        "/r/1/x",
        "/r/2/05.x", // files by their leading numbers
        "/r/2/9.x",
        "/r/2/10.x",
        "/r/2/sub/1", // a folder's own files before its sub-folders
        "/r/007/x",
        "/r/10/1 a.aed",
        "/r/99999999999999999999999/x",
    };
    EXPECT_EQ(files, expected);
}

TEST(ScanFileList, EachFolderIsListedOnceWhateverItsNames)
{
    // Names without digits all count as 0; the files of a folder must still stay together.
    QStringList files = {"/r/a/x", "/r/b/1", "/r/a/b/1", "/r/a/0abc", "/r/b/y", "/r/a/5"};
    sortScanFiles(files);
    EXPECT_EQ(files, (QStringList{"/r/a/0abc", "/r/a/x", "/r/a/5", "/r/a/b/1", "/r/b/y", "/r/b/1"}));
    EXPECT_EQ(distinctFolders(files), (QStringList{"/r/a", "/r/a/b", "/r/b"}));
}

TEST(ScanFileList, FolderOfAPath)
{
    EXPECT_EQ(folderOf("/a/b/c.MIF"), "/a/b");
    EXPECT_EQ(folderOf("/c.MIF"), "/");
    EXPECT_EQ(folderOf("c.MIF"), "");
}
