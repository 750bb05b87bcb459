#pragma once

#include <QString>
#include <cstdint>
#include <sys/types.h>

// What the file system says of a file or folder: writing, replacing or removing a file, and
// adding, removing or renaming an entry of a folder, give it another stamp.
struct FileStamp
{
    bool exists = false;
    bool folder = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;
    bool operator==(const FileStamp &) const = default;

    // The stamp of path (a link is followed); one that does not exist when nothing is there.
    static FileStamp of(const QString &path);
};
