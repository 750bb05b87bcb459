#include "library/LibraryIndexer.h"

#include "archive/OpenFlow.h"
#include "cpr/CprQuality.h"
#include "cpr/HandsOff.h"
#include "device/TimeZoneTable.h"
#include "library/ArchiveFacts.h"
#include "library/CaseLibrary.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <dirent.h>
#include <future>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <vector>

namespace {

// The time-zone row of the device's own clock: an archive opened with it keeps its start.
uint16_t deviceClockRow()
{
    const int row = int(TimeZoneTable::timeZoneOffsets().indexOf(DeviceClockOffsetMinutes));
    return uint16_t(row < 0 ? 0 : row);
}

// Archives whose fingerprints one request asks for; archives written in one transaction, and
// the longest time read archives wait to be written.
constexpr int ArchivesPerLookup = 200;
constexpr std::size_t ArchivesPerTransaction = 50;
constexpr qint64 LongestWaitMs = 1000;
// After this many rows written at once the engine measures the tables again.
constexpr int RowsBeforeAnalyze = 100;

// The bytes of a path as text, each byte that is not part of valid UTF-8 written as \xNN.
QString escapedName(const QByteArray &bytes)
{
    QString out;
    for (qsizetype i = 0; i < bytes.size();) {
        qsizetype length = 1;
        while (length <= 4 && i + length <= bytes.size() && !QByteArrayView(bytes).sliced(i, length).isValidUtf8())
            ++length;
        if (length <= 4 && i + length <= bytes.size()) {
            out += QString::fromUtf8(bytes.sliced(i, length));
            i += length;
        } else {
            out += QStringLiteral("\\x%1").arg(QString::number(uint8_t(bytes[i]), 16).toUpper(), 2, QLatin1Char('0'));
            ++i;
        }
    }
    return out;
}

bool isArchiveName(const QByteArray &name)
{
    return name.size() > 4 && name.right(4).toLower() == ".aed";
}

// A folder walk of Qt reads names as UTF-8 and leaves out every entry whose name is not: the
// archives under such a name cannot be opened by name and would be skipped unnoticed. This walk
// reads the names as bytes, the way the folder walk does otherwise (no hidden entries, no links
// to folders), and names each such archive with why.
void archivesWithUndecodablePaths(const QByteArray &folder, bool folderDecodable, QStringList &out)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    std::vector<QByteArray> names;
    while (const dirent *entry = ::readdir(dir))
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const QByteArray &name : names) {
        const QByteArray path = folder + '/' + name;
        const bool decodable = folderDecodable && name.isValidUtf8();
        struct stat info{};
        if (::lstat(path.constData(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            archivesWithUndecodablePaths(path, decodable, out);
            continue;
        }
        if (decodable || !isArchiveName(name) || ::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        out << QStringLiteral("\"%1\": %2")
                   .arg(QDir::toNativeSeparators(escapedName(path)),
                        folderDecodable ? QStringLiteral("its name is not valid UTF-8, so it cannot be opened")
                                        : QStringLiteral("the name of a folder it is in is not valid UTF-8, so it "
                                                         "cannot be opened"));
    }
}

} // namespace

QString libraryPathOf(const QString &file)
{
    const QFileInfo info(file);
    const QString canonical = info.canonicalFilePath();
    return QDir::fromNativeSeparators(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

QStringList archivesUnder(const QStringList &paths, QStringList *missing, QStringList *undecodable)
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
            if (undecodable)
                archivesWithUndecodablePaths(QFile::encodeName(libraryPathOf(path)), true, *undecodable);
        } else if (missing) {
            *missing << path;
        }
    }
    if (undecodable)
        undecodable->removeDuplicates(); // a folder named inside another one named
    return QStringList(found.begin(), found.end());
}

LibraryIndexer::LibraryIndexer(CaseLibrary &library, LanguagePack &texts)
    : m_library(library), m_session(texts, m_platform)
{
    m_session.setTree(&m_tree);
    m_hashing.setMaxThreadCount(1);
}

bool LibraryIndexer::read(const QString &archive, LibraryCase &c, QString &why)
{
    const QString path = libraryPathOf(archive);
    // The file's size, time and hash are read on another thread while the archive is opened
    // on this one: hashing all its bytes costs a good part of what opening it does.
    struct FactsJob
    {
        QString path;
        LibraryCase facts;
        std::promise<bool> read;
    };
    const auto job = std::make_shared<FactsJob>();
    job->path = path;
    std::future<bool> factsRead = job->read.get_future();
    m_hashing.start([job] { job->read.set_value(readFileFacts(job->path, job->facts)); });
    m_platform.messages.clear();
    SharedState &state = m_session.state;
    state.timeZoneChoice = deviceClockRow();
    state.deviceModel = 0;
    OpenFlow flow(m_session, OpenWrites::none());
    flow.OpenArchiveFile(path);
    const int slot = flow.openedSlot();
    bool ok = slot >= 0 && m_session.store.isSlotUsed(slot);
    if (ok) {
        // The pauses are explained with the causes the reviewer set in the archive's review file,
        // which the open has read.
        const CaseRecord &record = *m_session.store.caseAt(slot);
        const CprQualityResult quality = measureCprQuality(cprQualityInput(record), CprQualitySettings());
        const HandsOffResult explained =
            handsOff(handsOffInput(record), quality, reviewerPauseCauses(m_session.store.at(slot).pauseCauses));
        c = libraryCaseOf(m_session.store, slot, quality, explained);
        c.path = path;
    }
    if (factsRead.get()) {
        c.sizeBytes = job->facts.sizeBytes;
        c.modifiedMs = job->facts.modifiedMs;
        c.sha256 = job->facts.sha256;
    } else if (ok) {
        ok = false;
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

bool LibraryIndexer::unchanged(const QString &path, const CaseLibrary::Fingerprint &stored)
{
    LibraryCase now;
    const QFileInfo info(path);
    // A row written before recordings were kept is read again to learn its recording, and one
    // written before the hands-off time was kept to learn it.
    return !stored.recordingId.isEmpty() && stored.current && info.size() == stored.sizeBytes && info.lastModified().toMSecsSinceEpoch() == stored.modifiedMs
           && readFileFacts(path, now) && now.sha256 == stored.sha256;
}

LibraryIndexer::Outcome LibraryIndexer::add(const QString &archive, QString &why, bool readAgain)
{
    const QString path = libraryPathOf(archive);
    std::optional<CaseLibrary::Fingerprint> stored;
    if (!m_library.fingerprint(path, stored)) {
        why = m_library.errorText();
        return Outcome::LibraryFailed;
    }
    if (stored && !readAgain && unchanged(path, *stored))
        return Outcome::Unchanged;
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
    std::vector<LibraryCase> batch;
    int batchAdded = 0, batchUpdated = 0, written = 0;
    QElapsedTimer waiting;
    const auto flush = [&] {
        if (batch.empty())
            return true;
        if (!m_library.storeAll(batch)) {
            summary.libraryError = m_library.errorText();
            return false;
        }
        summary.added += batchAdded;
        summary.updated += batchUpdated;
        written += int(batch.size());
        batch.clear();
        batchAdded = batchUpdated = 0;
        return true;
    };

    QSet<QString> seen;
    for (int first = 0; first < total; first += ArchivesPerLookup) {
        QStringList paths;
        for (int i = first; i < std::min(total, first + ArchivesPerLookup); ++i)
            paths << libraryPathOf(archives[i]);
        QHash<QString, CaseLibrary::Fingerprint> stored;
        if (!m_library.fingerprints(paths, stored)) {
            if (flush())
                summary.libraryError = m_library.errorText();
            return summary;
        }
        for (int k = 0; k < int(paths.size()); ++k) {
            if (progress && !progress(first + k, total)) {
                summary.cancelled = true;
                flush();
                return summary;
            }
            const QString &path = paths[k];
            // An archive named twice is written once.
            if (seen.contains(path)) {
                ++summary.unchanged;
                continue;
            }
            seen.insert(path);
            const auto known = stored.constFind(path);
            if (known != stored.constEnd() && unchanged(path, *known)) {
                ++summary.unchanged;
                continue;
            }
            LibraryCase c;
            QString why;
            if (!read(path, c, why)) {
                summary.failed << why;
                continue;
            }
            c.indexedAt = QDateTime::currentSecsSinceEpoch();
            if (batch.empty())
                waiting.start();
            batch.push_back(std::move(c));
            ++(known != stored.constEnd() ? batchUpdated : batchAdded);
            if ((batch.size() >= ArchivesPerTransaction || waiting.elapsed() >= LongestWaitMs) && !flush())
                return summary;
        }
    }
    if (!flush())
        return summary;
    // Measuring the tables only helps the engine; a library that refuses it still has its rows.
    if (written >= RowsBeforeAnalyze)
        m_library.analyze();
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
