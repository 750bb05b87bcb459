#include "case/DeviceFolderFiles.h"

#include "base/FileStamp.h"

#include <QDir>
#include <QFileInfo>
#include <ctime>
#include <deque>
#include <mutex>

namespace {

int64_t nowNs()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The names of the last few folders listed, shared by every lookup: opening the archives
// of a folder one after the other (the case library indexing a folder of thousands) then
// lists it once, not once per archive. A listing is reused only while the folder's stamp
// is what it was, and only when it was taken well after the folder last changed: the file
// system's clock moves in ticks, so a change within the tick of an earlier one can leave
// the times as they were; a later change always moves them.
class FolderListings
{
public:
    QStringList namesIn(const QString &folder)
    {
        const FileStamp stamp = FileStamp::of(folder);
        const int64_t takenNs = nowNs();
        {
            const std::lock_guard lock(m_mutex);
            for (const Listing &listing : m_listings) {
                if (stamp.folder && listing.folder == folder && listing.stamp == stamp
                    && listing.takenNs - stamp.modifiedNs > SettledNs)
                    return listing.names;
            }
        }
        const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        if (stamp.folder && FileStamp::of(folder) == stamp) {
            const std::lock_guard lock(m_mutex);
            std::erase_if(m_listings, [&](const Listing &listing) { return listing.folder == folder; });
            m_listings.push_front({folder, stamp, takenNs, names});
            if (m_listings.size() > KeptListings)
                m_listings.pop_back();
        }
        return names;
    }

private:
    static constexpr int64_t SettledNs = 2'000'000'000;
    static constexpr size_t KeptListings = 4;
    struct Listing
    {
        QString folder;
        FileStamp stamp;
        int64_t takenNs = 0;
        QStringList names;
    };
    std::mutex m_mutex;
    std::deque<Listing> m_listings;
};

FolderListings &folderListings()
{
    static FolderListings listings;
    return listings;
}

} // namespace

DeviceFolderFiles::DeviceFolderFiles(QString folder) : m_folder(std::move(folder)) {}

QString DeviceFolderFiles::exactPath(const QString &name) const
{
    return m_folder.endsWith(QLatin1Char('/')) ? m_folder + name : m_folder + QLatin1Char('/') + name;
}

QString DeviceFolderFiles::matchingName(const QString &name) const
{
    if (QFileInfo(exactPath(name)).isFile())
        return name;
    for (const QString &file : names()) {
        if (file.compare(name, Qt::CaseInsensitive) == 0)
            return file;
    }
    return QString();
}

QString DeviceFolderFiles::filePath(const QString &name) const
{
    const QString found = matchingName(name);
    return exactPath(found.isEmpty() ? name : found);
}

bool DeviceFolderFiles::hasFile(const QString &name) const
{
    return !matchingName(name).isEmpty();
}

QStringList DeviceFolderFiles::names() const
{
    if (!m_files)
        m_files = m_folder.isEmpty() ? QStringList() : folderListings().namesIn(m_folder);
    return *m_files;
}
