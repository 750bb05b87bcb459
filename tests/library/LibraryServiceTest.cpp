#include "archive/AedArchiveWriter.h"
#include "archive/ArchiveFixture.h"
#include "library/CaseLibrary.h"
#include "library/LibraryService.h"
#include "support/RawNameFile.h"

#include <QDir>
#include <QFile>

namespace {

class LibraryServiceTest : public ArchiveFixture, public testing::Test
{
protected:
    // Archives of one empty rescue each, at the given paths under the fixture's folder.
    QStringList makeArchives(const QStringList &names)
    {
        const int slot = createCase(emptyFolder());
        QStringList paths;
        for (const QString &name : names) {
            paths << dir.file(name);
            QDir().mkpath(QFileInfo(paths.last()).path());
            WriteAedArchive(view.store, slot, paths.last(), AedArchiveVariant::Conversion);
        }
        view.store.FreeCase(slot);
        return paths;
    }

    FakePlatform servicePlatform;
    LibraryService service{texts, servicePlatform};
};

TEST_F(LibraryServiceTest, ALibraryThatCannotBeUsedIsReportedOnceAndTheRestGoesOn)
{
    const QString notes = dir.write(QStringLiteral("notes.sqlite"), QByteArray("not a database\n").repeated(100));
    const QStringList archives = makeArchives({QStringLiteral("a/one.aed"), QStringLiteral("a/two.aed")});
    service.setLocationText(notes);

    service.archiveTouched(archives[0]);
    service.archiveTouched(archives[1]);
    EXPECT_EQ(service.library(), nullptr);
    EXPECT_FALSE(service.addFolder(dir.file(QStringLiteral("a"))).has_value());
    ASSERT_EQ(servicePlatform.messages.size(), 1);
    EXPECT_TRUE(servicePlatform.messages[0].text.contains(QStringLiteral("notes.sqlite")))
        << servicePlatform.messages[0].text.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("notes.sqlite")), QByteArray("not a database\n").repeated(100));

    // Another location is tried afresh.
    service.setLocationText(dir.file(QStringLiteral("good.sqlite")));
    service.archiveTouched(archives[0]);
    ASSERT_NE(service.library(), nullptr);
    QStringList paths;
    ASSERT_TRUE(service.library()->paths(paths));
    EXPECT_EQ(paths.size(), 1);
    EXPECT_EQ(servicePlatform.messages.size(), 1);
}

TEST_F(LibraryServiceTest, ArchivesAreIndexedAutomaticallyOnlyWhenTheSettingSaysSo)
{
    const QStringList archives = makeArchives({QStringLiteral("one.aed"), QStringLiteral("two.aed")});
    service.setLocationText(dir.file(QStringLiteral("library.sqlite")));
    service.autoIndex = false;
    service.archiveTouched(archives[0]);
    service.autoIndex = true;
    service.archiveTouched(archives[1]);
    QStringList paths;
    ASSERT_TRUE(service.library()->paths(paths));
    ASSERT_EQ(paths.size(), 1);
    EXPECT_TRUE(paths[0].endsWith(QStringLiteral("/two.aed")));
    EXPECT_TRUE(servicePlatform.messages.isEmpty());
}

TEST_F(LibraryServiceTest, AddingAFolderShowsProgressStopsWhenCancelledAndSaysWhatItDid)
{
    makeArchives({QStringLiteral("tree/a.aed"), QStringLiteral("tree/x/b.aed"), QStringLiteral("tree/x/y/c.aed")});
    dir.write(QStringLiteral("tree/x/broken.aed"), QByteArray("\x01", 1));
    dir.write(QStringLiteral("tree/readme.txt"), QByteArray("not an archive"));
    // A name Qt cannot read back: said, not skipped.
    const RawNameFile undecodable(dir.file(QStringLiteral("tree/x")), "caso\xFF.aed");
    ASSERT_TRUE(undecodable.made());
    service.setLocationText(dir.file(QStringLiteral("library.sqlite")));

    servicePlatform.cancelProgressAfterChecks = 2;
    const auto cancelled = service.addFolder(dir.file(QStringLiteral("tree")));
    ASSERT_TRUE(cancelled.has_value());
    EXPECT_TRUE(cancelled->cancelled);
    EXPECT_EQ(cancelled->added, 2);
    EXPECT_EQ(servicePlatform.progressEnds, 1);
    EXPECT_FALSE(servicePlatform.progressOpen);

    servicePlatform.cancelProgressAfterChecks = -1;
    const auto summary = service.addFolder(dir.file(QStringLiteral("tree")));
    ASSERT_TRUE(summary.has_value());
    EXPECT_FALSE(summary->cancelled);
    EXPECT_EQ(summary->added, 1);
    EXPECT_EQ(summary->unchanged, 2);
    ASSERT_EQ(summary->failed.size(), 2);
    EXPECT_TRUE(summary->failed[0].contains(QStringLiteral("caso\\xFF.aed\": its name is not valid UTF-8")))
        << summary->failed[0].toStdString();
    EXPECT_TRUE(summary->failed[1].contains(QStringLiteral("broken.aed")));
    EXPECT_EQ(servicePlatform.progressPositions.last(), 10000);
    ASSERT_FALSE(servicePlatform.messages.isEmpty());
    EXPECT_TRUE(servicePlatform.messages.last().text.startsWith(QStringLiteral("1 added, 0 updated, 2 unchanged, 2 could")))
        << servicePlatform.messages.last().text.toStdString();
    for (const char *name : {"caso\\xFF.aed", "broken.aed"})
        EXPECT_TRUE(servicePlatform.messages.last().text.contains(QLatin1String(name))) << name;
}

} // namespace
