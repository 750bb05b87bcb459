#include "device/ScanFileList.h"

#include <QDir>
#include <QDirIterator>
#include <algorithm>
#include <vector>

namespace ScanFileList {
namespace {

// Compares the numbers two names start with, of any length: -1, 0 or 1.
int compareLeadingNumbers(QStringView a, QStringView b)
{
    const auto digits = [](QStringView s) {
        qsizetype end = 0;
        while (end < s.size() && s[end] >= u'0' && s[end] <= u'9')
            ++end;
        qsizetype start = 0;
        while (start < end && s[start] == u'0')
            ++start;
        return s.mid(start, end - start);
    };
    const QStringView da = digits(a);
    const QStringView db = digits(b);
    if (da.size() != db.size())
        return da.size() < db.size() ? -1 : 1;
    return da.compare(db);
}

int compareNames(QStringView a, QStringView b)
{
    const int byNumber = compareLeadingNumbers(a, b);
    if (byNumber != 0)
        return byNumber;
    const int byText = a.compare(b);
    return byText < 0 ? -1 : (byText > 0 ? 1 : 0);
}

// The views point into path's buffer, which a QString keeps when it is moved.
struct SortEntry
{
    QString path;
    QList<QStringView> folderNames; // views into path
    QStringView fileName;
};

bool entryLess(const SortEntry &a, const SortEntry &b)
{
    const qsizetype common = std::min(a.folderNames.size(), b.folderNames.size());
    for (qsizetype i = 0; i < common; ++i) {
        const int c = compareNames(a.folderNames[i], b.folderNames[i]);
        if (c != 0)
            return c < 0;
    }
    if (a.folderNames.size() != b.folderNames.size())
        return a.folderNames.size() < b.folderNames.size();
    return compareNames(a.fileName, b.fileName) < 0;
}

} // namespace

QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

void sortScanFiles(QStringList &files)
{
    std::vector<SortEntry> entries;
    entries.reserve(size_t(files.size()));
    for (QString &file : files)
        entries.push_back({std::move(file), {}, {}});
    for (SortEntry &e : entries) {
        const QStringView view(e.path);
        const qsizetype slash = view.lastIndexOf(u'/');
        e.fileName = view.mid(slash + 1);
        if (slash >= 0)
            e.folderNames = view.left(slash).split(u'/');
    }
    std::stable_sort(entries.begin(), entries.end(), entryLess);
    files.clear();
    for (SortEntry &e : entries)
        files.append(std::move(e.path));
}

QStringList collectFiles(const QString &root)
{
    QStringList files;
    QDirIterator it(QDir::cleanPath(root), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    sortScanFiles(files);
    return files;
}

QStringList distinctFolders(const QStringList &files)
{
    QStringList folders;
    for (const QString &file : files) {
        const QString folder = folderOf(file);
        if (folders.isEmpty() || folders.constLast() != folder)
            folders.append(folder);
    }
    return folders;
}

} // namespace ScanFileList
