#include "library/LibraryService.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "library/CaseLibrary.h"
#include "library/LibraryReviewLock.h"
#include "library/LibraryText.h"

#include <QDir>

LibraryService::LibraryService(LanguagePack &texts, Platform &platform) : m_texts(texts), m_platform(platform) {}

LibraryService::~LibraryService() = default;

void LibraryService::setLocationText(const QString &text)
{
    if (text == m_locationText && (m_library || m_unusable))
        return;
    m_indexer.reset();
    m_library.reset();
    m_unusable = false;
    m_locationText = text;
}

void LibraryService::reportOnce(const QString &why)
{
    if (m_unusable)
        return;
    m_unusable = true;
    LibraryLocation location;
    QString ignored;
    const QString name = parseLibraryLocation(m_locationText, location, ignored) ? location.displayName()
                                                                                 : maskedLocationText(m_locationText);
    m_platform.messageBox(m_texts.GetText(LibraryText::CannotUse).arg(QLatin1Char('"') + name + QLatin1Char('"'), why),
                          m_texts.GetText(LibraryText::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
}

CaseLibrary *LibraryService::library()
{
    if (m_library)
        return m_library.get();
    if (m_unusable)
        return nullptr;
    LibraryLocation location;
    QString why;
    if (!parseLibraryLocation(m_locationText, location, why)) {
        reportOnce(why);
        return nullptr;
    }
    if (location.engine == LibraryLocation::Engine::Postgres)
        location.password = rememberedPassword(location);
    auto library = std::make_unique<CaseLibrary>(location);
    if (!library->open()) {
        reportOnce(library->errorText());
        return nullptr;
    }
    // Said when the library is opened, which is once per run; the library is used all the same.
    if (!library->privacyWarning().isEmpty())
        m_platform.messageBox(library->privacyWarning(), m_texts.GetText(LibraryText::Caption), Platform::Icon::Warning,
                              Platform::Buttons::Ok);
    m_library = std::move(library);
    m_indexer = std::make_unique<LibraryIndexer>(*m_library, m_texts);
    return m_library.get();
}

void LibraryService::setPasswordStore(std::unique_ptr<PasswordStore> store)
{
    m_passwords = std::move(store);
}

void LibraryService::reportStoreOnce(const LibraryLocation &location)
{
    if (m_storeReported)
        return;
    m_storeReported = true;
    const QString why = m_passwords ? m_passwords->errorText() : QString();
    m_platform.messageBox(m_texts.GetText(LibraryText::CannotRemember)
                              .arg(QLatin1Char('"') + location.displayName() + QLatin1Char('"'),
                                   why.isEmpty() ? QStringLiteral("there is no desktop keyring") : why),
                          m_texts.GetText(LibraryText::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
}

QString LibraryService::rememberedPassword(const LibraryLocation &location)
{
    if (!rememberPassword)
        return QString();
    if (m_typedKey == location.passwordKey())
        return m_typedPassword;
    QString password;
    const PasswordStore::Outcome read = m_passwords ? m_passwords->read(location.passwordKey(), password)
                                                    : PasswordStore::Outcome::Unavailable;
    if (read == PasswordStore::Outcome::Done)
        return password;
    if (read == PasswordStore::Outcome::Unavailable) {
        reportStoreOnce(location);
        return QString();
    }
    // Remembering was asked for but nothing is kept yet (a new location, a new keyring).
    if (!m_platform.askPassword(m_texts.GetText(LibraryText::Caption),
                                m_texts.GetText(LibraryText::PasswordQuestion).arg(location.displayName()), password))
        return QString();
    keep(location, password);
    return password;
}

void LibraryService::keep(const LibraryLocation &location, const QString &password)
{
    m_typedKey.clear();
    m_typedPassword.clear();
    if (m_passwords && m_passwords->write(location.passwordKey(), password) == PasswordStore::Outcome::Done)
        return;
    // Used for this run all the same, as if typed at every connection.
    m_typedKey = location.passwordKey();
    m_typedPassword = password;
    reportStoreOnce(location);
}

bool LibraryService::askAndRememberPassword()
{
    LibraryLocation location;
    QString why;
    if (!parseLibraryLocation(m_locationText, location, why) || location.engine != LibraryLocation::Engine::Postgres)
        return false;
    QString password;
    if (!m_platform.askPassword(m_texts.GetText(LibraryText::Caption),
                                m_texts.GetText(LibraryText::PasswordQuestion).arg(location.displayName()), password))
        return false;
    keep(location, password);
    // The next use connects again, with the password.
    m_indexer.reset();
    m_library.reset();
    m_unusable = false;
    return true;
}

void LibraryService::forgetPassword()
{
    m_typedKey.clear();
    m_typedPassword.clear();
    LibraryLocation location;
    QString why;
    if (m_passwords && parseLibraryLocation(m_locationText, location, why)
        && location.engine == LibraryLocation::Engine::Postgres
        && m_passwords->remove(location.passwordKey()) == PasswordStore::Outcome::Unavailable)
        reportStoreOnce(location);
}

void LibraryService::archiveTouched(const QString &path, bool reviewChanged)
{
    if (!autoIndex || !library())
        return;
    QString why;
    if (m_indexer->add(path, why, reviewChanged) == LibraryIndexer::Outcome::LibraryFailed)
        giveUp(why);
}

void LibraryService::giveUp(const QString &why)
{
    // A library that stops answering is given up for this run, with one message.
    m_indexer.reset();
    m_library.reset();
    reportOnce(why);
}

void LibraryService::audit(const QString &recordingId, const QString &archivePath, const QString &action,
                           const QString &details)
{
    if (CaseLibrary *l = library(); l && !l->audit(ReviewerIdentity::current(), recordingId, archivePath, action, details))
        giveUp(l->errorText());
}

void LibraryService::caseOpened(const QString &recordingId, const QString &archivePath, bool readOnly, bool lockTakenOver)
{
    if (lockTakenOver)
        audit(recordingId, archivePath, QLatin1String(AuditAction::LockTakenOver));
    audit(recordingId, archivePath, QLatin1String(readOnly ? AuditAction::OpenedReadOnly : AuditAction::Opened));
    if (CaseLibrary *l = library(); l && !readOnly && !recordingId.isEmpty()
                                    && !l->startReview(recordingId, archivePath, ReviewerIdentity::current()))
        giveUp(l->errorText());
}

std::optional<ReviewStatus> LibraryService::reviewStatus(const QString &recordingId)
{
    ReviewStatus status;
    CaseLibrary *l = library();
    if (!l || recordingId.isEmpty())
        return std::nullopt;
    if (!l->reviewStatus(recordingId, status)) {
        giveUp(l->errorText());
        return std::nullopt;
    }
    return status;
}

bool LibraryService::changeReviewStatus(const QString &recordingId, const QString &archivePath,
                                        const ReviewStatusChange &change)
{
    CaseLibrary *l = library();
    if (!l)
        return false;
    if (!l->changeReviewStatus(recordingId, archivePath, change, ReviewerIdentity::current())) {
        m_platform.messageBox(l->errorText(), m_texts.GetText(LibraryText::Caption), Platform::Icon::Warning,
                              Platform::Buttons::Ok);
        return false;
    }
    return true;
}

bool LibraryService::changeReviewStatuses(const QList<std::pair<QString, QString>> &recordings,
                                          const ReviewStatusChange &change)
{
    CaseLibrary *l = library();
    if (!l)
        return false;
    if (!l->changeReviewStatuses(recordings, change, ReviewerIdentity::current())) {
        m_platform.messageBox(l->errorText(), m_texts.GetText(LibraryText::Caption), Platform::Icon::Warning,
                              Platform::Buttons::Ok);
        return false;
    }
    return true;
}

std::optional<std::vector<AuditEntry>> LibraryService::auditOf(const QString &recordingId)
{
    CaseLibrary *l = library();
    if (!l || recordingId.isEmpty())
        return std::nullopt;
    AuditQuery query;
    query.recordingId = recordingId;
    std::vector<AuditEntry> entries;
    if (!l->auditEntries(query, entries)) {
        giveUp(l->errorText());
        return std::nullopt;
    }
    return entries;
}

std::unique_ptr<ReviewLock> LibraryService::serverLock(const QString &recordingId)
{
    if (recordingId.isEmpty() || !library() || m_library->location().engine != LibraryLocation::Engine::Postgres)
        return nullptr;
    // The lock's own connection, with the library's remembered password if there is one.
    return std::make_unique<LibraryReviewLock>(m_library->location(), recordingId, ReviewerIdentity::current());
}

std::optional<LibraryAddSummary> LibraryService::addFolder(const QString &folder)
{
    if (!library())
        return std::nullopt;
    QStringList undecodable;
    const QStringList archives = archivesUnder({folder}, nullptr, &undecodable);
    m_platform.beginCancellableProgress(m_texts.GetText(LibraryText::Indexing));
    LibraryAddSummary summary = m_indexer->addAll(archives, [this](int done, int total) {
        m_platform.setProgress(total > 0 ? int(qint64(done) * 10000 / total) : 10000);
        return !m_platform.progressCancelled();
    });
    m_platform.endProgress();
    if (!summary.libraryError.isEmpty()) {
        m_indexer.reset();
        m_library.reset();
        reportOnce(summary.libraryError);
        return summary;
    }
    summary.failed = undecodable + summary.failed;
    QString text = m_texts.GetText(LibraryText::AddSummary)
                       .arg(summary.added)
                       .arg(summary.updated)
                       .arg(summary.unchanged)
                       .arg(summary.failed.size());
    for (const QString &why : summary.failed.mid(0, 10))
        text += QLatin1Char('\n') + why;
    m_platform.messageBox(text, m_texts.GetText(LibraryText::Caption),
                          summary.failed.isEmpty() ? Platform::Icon::Information : Platform::Icon::Warning,
                          Platform::Buttons::Ok);
    return summary;
}
