#include "library/LibraryIndexer.h"

#include "archive/OpenFlow.h"
#include "cpr/CprQuality.h"
#include "device/TimeZoneTable.h"
#include "library/ArchiveFacts.h"
#include "library/CaseLibrary.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <set>

namespace {

// The time-zone row of the device's own clock: an archive opened with it keeps its start.
uint16_t deviceClockRow()
{
    const int row = int(TimeZoneTable::timeZoneOffsets().indexOf(DeviceClockOffsetMinutes));
    return uint16_t(row < 0 ? 0 : row);
}

} // namespace

QString libraryPathOf(const QString &file)
{
    const QFileInfo info(file);
    const QString canonical = info.canonicalFilePath();
    return QDir::fromNativeSeparators(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

QStringList archivesUnder(const QStringList &paths, QStringList *missing)
{
    std::set<QString> found;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isFile()) {
            found.insert(libraryPathOf(path));
        } else if (info.isDir()) {
            QDirIterator it(path, {QStringLiteral("*.aed"), QStringLiteral("*.AED")}, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                found.insert(libraryPathOf(it.next()));
        } else if (missing) {
            *missing << path;
        }
    }
    return QStringList(found.begin(), found.end());
}

LibraryIndexer::LibraryIndexer(CaseLibrary &library, LanguagePack &texts)
    : m_library(library), m_session(texts, m_platform)
{
    m_session.setTree(&m_tree);
}

bool LibraryIndexer::read(const QString &archive, LibraryCase &c, QString &why)
{
    const QString path = libraryPathOf(archive);
    m_platform.messages.clear();
    SharedState &state = m_session.state;
    state.timeZoneChoice = deviceClockRow();
    state.deviceModel = 0;
    OpenFlow flow(m_session);
    flow.OpenArchiveFile(path);
    const int slot = flow.openedSlot();
    bool ok = slot >= 0 && m_session.store.isSlotUsed(slot);
    if (ok) {
        const CprQualityResult quality =
            measureCprQuality(cprQualityInput(*m_session.store.caseAt(slot)), CprQualitySettings());
        c = libraryCaseOf(m_session.store, slot, quality);
        c.path = path;
        ok = readFileFacts(path, c);
        if (!ok)
            m_platform.messages << QStringLiteral("cannot read the file");
    }
    m_session.ClearCaseTree();
    m_session.store.FreeAllCases();
    if (!ok)
        why = QStringLiteral("\"%1\": %2")
                  .arg(QDir::toNativeSeparators(path),
                       m_platform.messages.isEmpty() ? QStringLiteral("cannot be opened")
                                                     : m_platform.messages.join(QLatin1Char(' ')));
    return ok;
}

LibraryIndexer::Outcome LibraryIndexer::add(const QString &archive, QString &why)
{
    const QString path = libraryPathOf(archive);
    std::optional<CaseLibrary::Fingerprint> stored;
    if (!m_library.fingerprint(path, stored)) {
        why = m_library.errorText();
        return Outcome::LibraryFailed;
    }
    if (stored) {
        LibraryCase now;
        const QFileInfo info(path);
        if (info.size() == stored->sizeBytes && info.lastModified().toMSecsSinceEpoch() == stored->modifiedMs
            && readFileFacts(path, now) && now.sha256 == stored->sha256)
            return Outcome::Unchanged;
    }
    LibraryCase c;
    if (!read(path, c, why))
        return Outcome::Unreadable;
    c.indexedAt = QDateTime::currentSecsSinceEpoch();
    if (!m_library.store(c)) {
        why = m_library.errorText();
        return Outcome::LibraryFailed;
    }
    return stored ? Outcome::Updated : Outcome::Added;
}

LibraryAddSummary LibraryIndexer::addAll(const QStringList &archives,
                                         const std::function<bool(int done, int total)> &progress)
{
    LibraryAddSummary summary;
    const int total = int(archives.size());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            summary.cancelled = true;
            return summary;
        }
        QString why;
        switch (add(archives[i], why)) {
        case Outcome::Added: ++summary.added; break;
        case Outcome::Updated: ++summary.updated; break;
        case Outcome::Unchanged: ++summary.unchanged; break;
        case Outcome::Unreadable: summary.failed << why; break;
        case Outcome::LibraryFailed: summary.libraryError = why; return summary;
        }
    }
    if (progress)
        progress(total, total);
    return summary;
}

bool pruneLibrary(CaseLibrary &library, QStringList &removed)
{
    removed.clear();
    QStringList paths;
    if (!library.paths(paths))
        return false;
    for (const QString &path : paths)
        if (!QFileInfo::exists(path))
            removed << path;
    return library.remove(removed);
}
