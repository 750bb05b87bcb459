// Brings a case library to the latest schema as the program does, and is killed by the test
// while the migration's transaction is open: on SQLite it stops just before the statement
// that begins with STATEMENT runs, says "stopped" on stdout and waits; on a server the test
// holds a lock the migration waits for.
//   ravelin_migration_holder LIBRARY STATEMENT
#include "library/CaseLibrary.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <unistd.h>

namespace {

const char *stopBefore = nullptr;

int stopAtStatement(unsigned, void *, void *, void *sql)
{
    if (std::strncmp(static_cast<const char *>(sql), stopBefore, std::strlen(stopBefore)) != 0)
        return 0;
    std::printf("stopped\n");
    std::fflush(stdout);
    for (;;)
        ::pause();
}

// Every connection this process opens, the library's included, stops at the statement.
int watchConnection(sqlite3 *db, const char **, const sqlite3_api_routines *)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, stopAtStatement, nullptr);
    return SQLITE_OK;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    stopBefore = argv[2];
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(watchConnection));
    LibraryLocation location;
    QString why;
    if (!parseLibraryLocation(QString::fromLocal8Bit(argv[1]), location, why))
        return 2;
    CaseLibrary library(location);
    const bool opened = library.open();
    std::printf("%s\n", opened ? "migrated" : qPrintable(library.errorText()));
    return opened ? 0 : 1;
}
