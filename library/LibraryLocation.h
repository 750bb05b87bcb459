#pragma once

#include <QString>

// Where a case library lives: a SQLite file on this computer, or a database on a PostgreSQL
// server. Passwords are never part of it: libpq takes them from PGPASSWORD or ~/.pgpass.
struct LibraryLocation
{
    enum class Engine { Sqlite, Postgres };

    Engine engine = Engine::Sqlite;
    QString sqliteFile;       // Sqlite: the database file
    QString host;             // Postgres: host name, or the folder of the server's Unix socket
    int port = -1;            // -1: libpq's default
    QString user;             // "": libpq's default (the login name)
    QString database;         // "": libpq's default (the user name)
    QString connectOptions;   // "sslmode=require;connect_timeout=5" as Qt's driver takes them

    // How the location is shown in messages: the file, or the URL without a password.
    QString displayName() const;
};

// Reads what the user gave as the library (--db or the setting): "" is the default file,
// "postgresql://user@host:port/db" or "postgresql://user@/db?host=/socket/folder" (also
// "postgres://") a server, anything else a SQLite file ("sqlite:" in front allowed).
// False with why filled for a URL that cannot be used, such as one carrying a password.
bool parseLibraryLocation(const QString &text, LibraryLocation &location, QString &why);

// The text of a library location as it may be shown or kept: a password in a URL (its user
// part or a "password" parameter) replaced by "***"; any other text unchanged.
QString maskedLocationText(const QString &text);
// True when the text is a URL that carries a password.
bool locationCarriesPassword(const QString &text);
// The same URL without its password (libpq then takes it from its own sources).
QString locationWithoutPassword(const QString &text);

// The library of one reviewer without any set-up: library.sqlite in the program's data
// folder (QStandardPaths::AppDataLocation).
QString defaultLibraryFile();
