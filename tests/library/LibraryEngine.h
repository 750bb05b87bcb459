#pragma once

#include "library/CaseLibrary.h"
#include "library/LibraryLocation.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <memory>

// The engines every library test runs on. PostgreSQL is the private server of
// scripts/pg-server, named by RAVELIN_PG_URL; each test gets a database of its own there.
enum class Engine { Sqlite, Postgres };

inline std::string engineName(const testing::TestParamInfo<Engine> &info)
{
    return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
}

class LibraryEngineTest : public testing::TestWithParam<Engine>
{
protected:
    void SetUp() override
    {
        if (GetParam() == Engine::Sqlite) {
            location.sqliteFile = dir.file(QStringLiteral("library.sqlite"));
            return;
        }
        const QString url = qEnvironmentVariable("RAVELIN_PG_URL");
        if (url.isEmpty())
            GTEST_SKIP() << "no PostgreSQL server: RAVELIN_PG_URL is not set (eval \"$(scripts/pg-server start)\")";
        QString why;
        ASSERT_TRUE(parseLibraryLocation(url, location, why)) << why.toStdString();
        static int counter = 0;
        m_database = QStringLiteral("ravelin_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        ASSERT_TRUE(adminExec(QStringLiteral("CREATE DATABASE ") + m_database)) << "cannot create a test database";
        location.database = m_database;
    }

    void TearDown() override
    {
        if (!m_database.isEmpty())
            adminExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
    }

    // A library over this test's database, opened.
    std::unique_ptr<CaseLibrary> openLibrary(int version = LibrarySchema::LatestVersion)
    {
        auto library = std::make_unique<CaseLibrary>(location);
        EXPECT_TRUE(library->open(version)) << library->errorText().toStdString();
        return library;
    }

    TempDir dir;
    LibraryLocation location;

private:
    // A statement on the server's own database, outside the test's.
    bool adminExec(const QString &sql)
    {
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("library-test-admin"));
            db.setHostName(location.host);
            if (location.port > 0)
                db.setPort(location.port);
            db.setUserName(location.user);
            db.setDatabaseName(QStringLiteral("postgres"));
            ok = db.open() && QSqlQuery(db).exec(sql);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("library-test-admin"));
        return ok;
    }

    QString m_database;
};
