#pragma once

#include "library/PasswordStore.h"

#include <QMap>
#include <QStringList>

// A password store in memory, or one that behaves like a computer without a keyring
// (available = false: every request is Unavailable). Records the keys it was asked for.
class FakePasswordStore : public PasswordStore
{
public:
    QMap<QString, QString> kept;
    bool available = true;
    QStringList requests; // "read KEY", "write KEY", "remove KEY" in order

    Outcome read(const QString &key, QString &password) override
    {
        requests << QStringLiteral("read ") + key;
        if (!available)
            return Outcome::Unavailable;
        if (!kept.contains(key))
            return Outcome::NotFound;
        password = kept.value(key);
        return Outcome::Done;
    }
    Outcome write(const QString &key, const QString &password) override
    {
        requests << QStringLiteral("write ") + key;
        if (!available)
            return Outcome::Unavailable;
        kept.insert(key, password);
        return Outcome::Done;
    }
    Outcome remove(const QString &key) override
    {
        requests << QStringLiteral("remove ") + key;
        if (!available)
            return Outcome::Unavailable;
        kept.remove(key);
        return Outcome::Done;
    }
    QString errorText() const override { return available ? QString() : QStringLiteral("no keyring is running"); }
};
