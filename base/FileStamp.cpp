#include "base/FileStamp.h"

#include <QFile>
#include <sys/stat.h>

FileStamp FileStamp::of(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true,
            S_ISDIR(info.st_mode),
            info.st_dev,
            info.st_ino,
            info.st_size,
            int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            int64_t(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec};
}
