#pragma once

#include "library/PasswordStore.h"

// Remembered passwords in the desktop keyring (the Secret Service, KWallet) through QtKeychain.
// Without a keyring every request is Unavailable; passwords are never written anywhere else.
class KeyringPasswordStore : public PasswordStore
{
public:
    // The keyring's service name the entries are kept under.
    static constexpr const char *Service = "Ravelin case library";

    Outcome read(const QString &key, QString &password) override;
    Outcome write(const QString &key, const QString &password) override;
    Outcome remove(const QString &key) override;
    QString errorText() const override { return m_error; }

private:
    QString m_error;
};
