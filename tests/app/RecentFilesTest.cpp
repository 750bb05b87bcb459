// The recent-file list: five archives, newest first, kept in the settings, and the File
// menu's Recent entries that open them again.
#include "AppArchives.h"
#include "app/CMainFrame.h"
#include "base/CommandIds.h"
#include "app/RecentFileList.h"
#include "archive/AedArchiveWriter.h"
#include "app/CRavelinView.h"
#include "device/MifCase.h"
#include "support/FakePlatform.h"
#include "support/Packs.h"
#include "support/TempDir.h"
#include "tools/DeviceFolderWriter.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<QSettings> iniIn(const TempDir &dir)
{
    return std::make_unique<QSettings>(dir.file("settings.ini"), QSettings::IniFormat);
}

QStringList entryTexts(CMainFrame &frame)
{
    frame.updateRecentMenu();
    QStringList out;
    for (QAction *a : frame.action(CommandId::RecentFileList)->menu()->actions())
        out << a->text();
    return out;
}

} // namespace

TEST(RecentFiles, FiveNewestFirstEachOnceAndKeptBetweenRuns)
{
    TempDir dir;
    {
        RecentFileList list(iniIn(dir));
        for (const char *path : {"/a.aed", "/b.aed", "/c.aed", "/d.aed", "/e.aed", "/f.aed"})
            list.add(QString::fromLatin1(path));
        EXPECT_EQ(list.files(), (QStringList{"/f.aed", "/e.aed", "/d.aed", "/c.aed", "/b.aed"}));
        list.add("/x/../d.aed");
        EXPECT_EQ(list.files(), (QStringList{"/x/../d.aed", "/f.aed", "/e.aed", "/c.aed", "/b.aed"}));
        list.remove("/e.aed");
    }
    RecentFileList again(iniIn(dir));
    EXPECT_EQ(again.files(), (QStringList{"/x/../d.aed", "/f.aed", "/c.aed", "/b.aed"}));
    QSettings raw(dir.file("settings.ini"), QSettings::IniFormat);
    EXPECT_EQ(raw.value("Recent File List/File1").toString(), "/x/../d.aed");
    EXPECT_FALSE(raw.contains("Recent File List/File5"));
}

TEST(RecentFiles, OpenedArchivesAreOfferedAndReopenedFromTheFileMenu)
{
    TempDir dir;
    FakePlatform platform;
    CMainFrame frame(Packs::builtInEnglish(), platform);
    for (const QString &path : frame.recentFiles().files())
        frame.recentFiles().remove(path);
    EXPECT_EQ(entryTexts(frame), QStringList());
    EXPECT_FALSE(frame.action(CommandId::RecentFileList)->isEnabled());

    const QString first = makeArchive(dir, "first.aed");
    const QString second = makeArchive(dir, "second.aed");
    ASSERT_TRUE(frame.view().OpenArchiveFile(first));
    ASSERT_TRUE(frame.view().OpenArchiveFile(second));
    EXPECT_TRUE(frame.action(CommandId::RecentFileList)->isEnabled());
    EXPECT_EQ(entryTexts(frame), (QStringList{"&1 " + second, "&2 " + first}));

    frame.action(CommandId::RecentFileList)->menu()->actions().at(1)->trigger();
    EXPECT_EQ(frame.view().store.slotCount(), 2) << "an archive open already is shown, not opened again";
    EXPECT_EQ(frame.view().session.selSlot, 0);
    EXPECT_EQ(entryTexts(frame), (QStringList{"&1 " + first, "&2 " + second}));

    // An archive that went is reported and leaves the list.
    QFile::remove(second);
    frame.action(CommandId::RecentFileList)->menu()->actions().at(1)->trigger();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.contains(second));
    EXPECT_EQ(entryTexts(frame), QStringList{"&1 " + first});
    for (const QString &path : frame.recentFiles().files())
        frame.recentFiles().remove(path);
}
