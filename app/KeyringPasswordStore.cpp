#include "app/KeyringPasswordStore.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace {

// Runs a keyring job to its end on this thread (the keyring answers over D-Bus within a moment).
PasswordStore::Outcome finish(QKeychain::Job &job, const QString &key, QString &error)
{
    job.setAutoDelete(false);
    // A keyring that is missing must not turn into a plain-text file of passwords.
    job.setInsecureFallback(false);
    job.setKey(key);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    switch (job.error()) {
    case QKeychain::NoError:
        return PasswordStore::Outcome::Done;
    case QKeychain::EntryNotFound:
        return PasswordStore::Outcome::NotFound;
    default:
        error = job.errorString().isEmpty() ? QStringLiteral("the desktop keyring cannot be used") : job.errorString();
        return PasswordStore::Outcome::Unavailable;
    }
}

} // namespace

PasswordStore::Outcome KeyringPasswordStore::read(const QString &key, QString &password)
{
    QKeychain::ReadPasswordJob job{QString::fromLatin1(Service)};
    const Outcome outcome = finish(job, key, m_error);
    if (outcome == Outcome::Done)
        password = job.textData();
    return outcome;
}

PasswordStore::Outcome KeyringPasswordStore::write(const QString &key, const QString &password)
{
    QKeychain::WritePasswordJob job{QString::fromLatin1(Service)};
    job.setTextData(password);
    return finish(job, key, m_error);
}

PasswordStore::Outcome KeyringPasswordStore::remove(const QString &key)
{
    QKeychain::DeletePasswordJob job{QString::fromLatin1(Service)};
    const Outcome outcome = finish(job, key, m_error);
    return outcome == Outcome::NotFound ? Outcome::Done : outcome;
}
