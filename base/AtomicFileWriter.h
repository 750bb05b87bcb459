#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file whole: the bytes go to a temporary file beside the target, are flushed
// and synced to disk, and the temporary file is renamed over the target. On any failure
// the temporary file is removed and the previous target is left as it was.
namespace AtomicFileWriter {
// Throws FileError (CreateFailed when the temporary file cannot be made, WriteFailed
// when writing, syncing or renaming fails), naming the target path.
void write(const QString &path, const QByteArray &data);
}
