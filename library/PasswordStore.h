#pragma once

#include <QString>

// Where a server library's password is remembered between runs: the desktop keyring in the
// program, a map in the tests. Keys are LibraryLocation::passwordKey(). A store never shows
// or logs a password, and errorText() never holds one.
class PasswordStore
{
public:
    enum class Outcome { Done, NotFound, Unavailable };

    virtual ~PasswordStore() = default;

    // The password kept under key (NotFound when none is).
    virtual Outcome read(const QString &key, QString &password) = 0;
    // Keeps password under key, replacing what was kept.
    virtual Outcome write(const QString &key, const QString &password) = 0;
    // Forgets the password of key (Done also when none was kept).
    virtual Outcome remove(const QString &key) = 0;
    // Why the last request gave Unavailable, such as "no keyring is running".
    virtual QString errorText() const = 0;
};
