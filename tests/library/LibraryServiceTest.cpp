#include "archive/AedArchiveWriter.h"
#include "archive/ArchiveFixture.h"
#include "library/CaseLibrary.h"
#include "library/LibraryService.h"
#include "support/FakePasswordStore.h"
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

// A server library whose password is remembered: it comes from the store, or is asked once and
// kept there; without a keyring the program says so once and goes on with libpq's own sources.
// The password is in no message. The server here does not exist, so every open fails.
TEST_F(LibraryServiceTest, ARememberedPasswordComesFromTheStoreOrIsAskedOnce)
{
    const QString url = QStringLiteral("postgresql://qa@/cases?host=") + dir.file(QStringLiteral("no-server"));
    const QString key = QStringLiteral("qa@/cases?host=") + dir.file(QStringLiteral("no-server"));
    struct Case {
        const char *name;
        bool remember;
        bool keyring;
        QString kept;       // in the store before
        QString typed;      // the answer to a question ("": cancelled)
        int questions;
        QString keptAfter;
        bool sayCannotRemember;
    };
    const std::vector<Case> cases = {
        {"kept: not asked", true, true, "kept-pw", "", 0, "kept-pw", false},
        {"none kept: asked once and kept", true, true, "", "typed-pw", 1, "typed-pw", false},
        {"question cancelled: nothing kept", true, true, "", "", 1, "", false},
        {"no keyring: said once, not asked", true, false, "", "typed-pw", 0, "", true},
        {"not remembered: the store is not asked", false, true, "kept-pw", "typed-pw", 0, "kept-pw", false},
    };
    for (const Case &c : cases) {
        FakePlatform asked;
        LibraryService server(texts, asked);
        auto store = std::make_unique<FakePasswordStore>();
        FakePasswordStore &kept = *store;
        kept.available = c.keyring;
        if (!c.kept.isEmpty())
            kept.kept.insert(key, c.kept);
        server.setPasswordStore(std::move(store));
        server.rememberPassword = c.remember;
        if (!c.typed.isEmpty())
            asked.passwordAnswers.push_back(c.typed);
        server.setLocationText(url);
        EXPECT_EQ(server.library(), nullptr) << c.name;
        EXPECT_EQ(server.library(), nullptr) << c.name;
        EXPECT_EQ(asked.passwordQuestions.size(), c.questions) << c.name;
        EXPECT_EQ(kept.kept.value(key), c.keptAfter) << c.name;
        EXPECT_EQ(kept.requests.isEmpty(), !c.remember) << c.name;
        int cannotRemember = 0;
        for (const QString &text : asked.texts()) {
            cannotRemember += text.contains(QStringLiteral("cannot be remembered")) ? 1 : 0;
            EXPECT_FALSE(text.contains(QStringLiteral("-pw"))) << c.name << ": " << text.toStdString();
        }
        EXPECT_EQ(cannotRemember, c.sayCannotRemember ? 1 : 0) << c.name;
    }
}

// The connection, and the lock's own connection, use the remembered password.
TEST_F(LibraryServiceTest, TheServerConnectionsUseTheRememberedPassword)
{
    const QString url = qEnvironmentVariable("RAVELIN_PG_URL");
    if (url.isEmpty())
        GTEST_SKIP() << "no PostgreSQL server: RAVELIN_PG_URL is not set (eval \"$(scripts/pg-server start)\")";
    LibraryLocation location;
    QString why;
    ASSERT_TRUE(parseLibraryLocation(url, location, why));
    auto store = std::make_unique<FakePasswordStore>();
    store->kept.insert(location.passwordKey(), QStringLiteral("from-the-keyring"));
    service.setPasswordStore(std::move(store));
    service.rememberPassword = true;
    service.setLocationText(url);
    ASSERT_NE(service.library(), nullptr) << servicePlatform.texts().join('\n').toStdString();
    EXPECT_EQ(service.library()->database().password(), QStringLiteral("from-the-keyring"));
    EXPECT_EQ(service.library()->location().displayName(), location.displayName());
    EXPECT_TRUE(servicePlatform.passwordQuestions.isEmpty());
}

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
