#include "app/RecentFileList.h"

#include <QDir>
#include <QSettings>

namespace {

const QString Group = QStringLiteral("Recent File List");

QString key(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

// Paths compare the way the file system names them: "a/../b.aed" is "b.aed".
bool samePath(const QString &a, const QString &b)
{
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

} // namespace

RecentFileList::RecentFileList() : m_settings(std::make_unique<QSettings>()) {}

RecentFileList::RecentFileList(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {}

RecentFileList::~RecentFileList() = default;

QStringList RecentFileList::files() const
{
    QStringList out;
    m_settings->beginGroup(Group);
    for (int i = 0; i < MaxEntries; ++i) {
        const QString path = m_settings->value(key(i)).toString();
        if (!path.isEmpty())
            out << path;
    }
    m_settings->endGroup();
    return out;
}

void RecentFileList::add(const QString &path)
{
    QStringList list = files();
    list.removeIf([&](const QString &p) { return samePath(p, path); });
    list.prepend(path);
    store(list.mid(0, MaxEntries));
}

void RecentFileList::remove(const QString &path)
{
    QStringList list = files();
    list.removeIf([&](const QString &p) { return samePath(p, path); });
    store(list);
}

void RecentFileList::store(const QStringList &files)
{
    m_settings->beginGroup(Group);
    for (int i = 0; i < MaxEntries; ++i) {
        if (i < files.size())
            m_settings->setValue(key(i), files[i]);
        else
            m_settings->remove(key(i));
    }
    m_settings->endGroup();
}
