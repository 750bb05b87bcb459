#pragma once

#include <QString>

// Where a case library lives: a SQLite file on this computer, or a database on a PostgreSQL
// server. Its text never carries a password: libpq takes one from PGPASSWORD, ~/.pgpass or
// PGSERVICE, or the program from the desktop keyring into password.
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
    QString password;         // Postgres: from the keyring, in memory only ("": libpq's own sources)

    // How the location is shown in messages: the file, or the URL without a password.
    QString displayName() const;
    // The name a remembered password is kept under: "user@host:port/db" (the URL without its
    // scheme, never with a password).
    QString passwordKey() const;
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
