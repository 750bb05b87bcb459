#include "base/FileIdentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

bool isSameFile(const QString &a, const QString &b)
{
    struct stat x {}, y {};
    const bool hasA = ::stat(QFile::encodeName(a).constData(), &x) == 0;
    const bool hasB = ::stat(QFile::encodeName(b).constData(), &y) == 0;
    if (hasA && hasB)
        return x.st_dev == y.st_dev && x.st_ino == y.st_ino;
    if (hasA || hasB)
        return false;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}
