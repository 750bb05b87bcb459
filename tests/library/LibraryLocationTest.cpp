#include "library/CaseLibrary.h"
#include "library/LibraryLocation.h"
#include "support/TempDir.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

TEST(LibraryLocationTest, UrlsAndFilesAreReadAsTheUserMeansThem)
{
    struct Case {
        const char *text;
        LibraryLocation::Engine engine;
        const char *host;
        int port;
        const char *user;
        const char *database;
        const char *options;
    };
    using E = LibraryLocation::Engine;
    const Case cases[] = {
        {"postgresql://qa@db.example.org:5433/cases", E::Postgres, "db.example.org", 5433, "qa", "cases", ""},
        {"postgres://qa@db.example.org/cases", E::Postgres, "db.example.org", -1, "qa", "cases", ""},
        {"postgresql://qa@/cases?host=/run/postgresql", E::Postgres, "/run/postgresql", -1, "qa", "cases", ""},
        {"postgresql://qa@/cases?host=%2Ftmp%2Fpg%20x&port=6000", E::Postgres, "/tmp/pg x", 6000, "qa", "cases", ""},
        {"postgresql://db/cases?sslmode=require", E::Postgres, "db", -1, "", "cases", "sslmode=require"},
    };
    for (const Case &c : cases) {
        LibraryLocation location;
        QString why;
        ASSERT_TRUE(parseLibraryLocation(QString::fromUtf8(c.text), location, why)) << c.text << ": " << why.toStdString();
        EXPECT_EQ(location.engine, c.engine) << c.text;
        EXPECT_EQ(location.host, QString::fromUtf8(c.host)) << c.text;
        EXPECT_EQ(location.port, c.port) << c.text;
        EXPECT_EQ(location.user, QString::fromUtf8(c.user)) << c.text;
        EXPECT_EQ(location.database, QString::fromUtf8(c.database)) << c.text;
        EXPECT_EQ(location.connectOptions, QString::fromUtf8(c.options)) << c.text;
    }

    LibraryLocation file;
    QString why;
    ASSERT_TRUE(parseLibraryLocation(QStringLiteral("/data/qa/library.sqlite"), file, why));
    EXPECT_EQ(file.engine, E::Sqlite);
    EXPECT_EQ(file.sqliteFile, "/data/qa/library.sqlite");
    ASSERT_TRUE(parseLibraryLocation(QString(), file, why));
    EXPECT_EQ(file.sqliteFile, defaultLibraryFile());
    EXPECT_TRUE(file.sqliteFile.endsWith(QStringLiteral("/library.sqlite")));
}

TEST(LibraryLocationTest, APasswordOrAnUnknownParameterInTheUrlIsRefused)
{
    for (const char *text : {"postgresql://qa:secret@db/cases", "postgresql://qa@db/cases?password=secret",
                             "postgresql://qa@db/cases?colour=blue", "postgresql://qa@db/cases?port=x"}) {
        LibraryLocation location;
        QString why;
        EXPECT_FALSE(parseLibraryLocation(QString::fromUtf8(text), location, why)) << text;
        EXPECT_FALSE(why.isEmpty()) << text;
        EXPECT_FALSE(why.contains(QStringLiteral("secret"))) << text;
    }
    // A URL too broken to read still never shows its password.
    LibraryLocation location;
    QString why;
    EXPECT_FALSE(parseLibraryLocation(QStringLiteral("postgresql://qa:secret@db:99999999/cases"), location, why));
    EXPECT_FALSE(why.contains(QStringLiteral("secret"))) << why.toStdString();

    // Shown masked; kept in the settings without it.
    const struct { const char *text, *masked, *kept; bool password; } rows[] = {
        {"postgresql://qa:secret@db/cases", "postgresql://qa:***@db/cases", "postgresql://qa@db/cases", true},
        {"postgres://qa@db/cases?sslmode=require&password=secret", "postgres://qa@db/cases?sslmode=require&password=***",
         "postgres://qa@db/cases?sslmode=require", true},
        {"postgresql://qa@db/cases?password=b&sslmode=require", "postgresql://qa@db/cases?password=***&sslmode=require",
         "postgresql://qa@db/cases?sslmode=require", true},
        {"postgresql://qa:a@db/cases?password=b", "postgresql://qa:***@db/cases?password=***", "postgresql://qa@db/cases",
         true},
        {"postgresql://qa@db/cases", "postgresql://qa@db/cases", "postgresql://qa@db/cases", false},
        {"/home/qa/library.sqlite", "/home/qa/library.sqlite", "/home/qa/library.sqlite", false},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(maskedLocationText(QString::fromUtf8(r.text)), QString::fromUtf8(r.masked)) << r.text;
        EXPECT_EQ(locationWithoutPassword(QString::fromUtf8(r.text)), QString::fromUtf8(r.kept)) << r.text;
        EXPECT_EQ(locationCarriesPassword(QString::fromUtf8(r.text)), r.password) << r.text;
    }
}

// A file that is not a library: one message naming it, and the file as it was.
TEST(LibraryLocationTest, AFileThatIsNotADatabaseIsNamedAndKept)
{
    TempDir dir;
    const QByteArray bytes = QByteArray("this is not a database, but someone's notes\n").repeated(200);
    LibraryLocation location;
    location.sqliteFile = dir.write(QStringLiteral("library.sqlite"), bytes);
    {
        CaseLibrary library(location);
        EXPECT_FALSE(library.open());
        EXPECT_FALSE(library.isOpen());
        EXPECT_TRUE(library.errorText().contains(QStringLiteral("library.sqlite"))) << library.errorText().toStdString();
    }
    EXPECT_EQ(dir.read(QStringLiteral("library.sqlite")), bytes);
}

TEST(LibraryLocationTest, AServerThatCannotBeReachedGivesOneClearMessage)
{
    TempDir dir;
    LibraryLocation location;
    QString why;
    ASSERT_TRUE(parseLibraryLocation(QStringLiteral("postgresql://nobody@/cases?host=") + dir.path(), location, why));
    CaseLibrary library(location);
    EXPECT_FALSE(library.open());
    EXPECT_TRUE(library.errorText().contains(QStringLiteral("cannot be reached"))) << library.errorText().toStdString();
    EXPECT_TRUE(library.errorText().contains(dir.path())) << library.errorText().toStdString();
}

TEST(LibraryLocationTest, ALibraryOfANewerProgramIsNotTouched)
{
    TempDir dir;
    LibraryLocation location;
    location.sqliteFile = dir.file(QStringLiteral("library.sqlite"));
    {
        CaseLibrary library(location);
        ASSERT_TRUE(library.open());
        QSqlQuery(library.database()).exec(QStringLiteral("UPDATE schema_version SET version = 99"));
    }
    CaseLibrary library(location);
    EXPECT_FALSE(library.open());
    EXPECT_TRUE(library.errorText().contains(QStringLiteral("newer"))) << library.errorText().toStdString();
}

} // namespace
