#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>
#include <functional>

// Replaces a file whole: the bytes go to a temporary file beside the target, are flushed
// and synced to disk, and the temporary file is renamed over the target. On any failure
// the temporary file is removed and the previous target is left as it was.
//
// A target that is a symbolic link is written through: the file at the end of the link
// is replaced and the link stays a link. A replaced file keeps its permission bits; a new
// file gets the user's normal mode (0666 less the umask). The temporary file has a name
// no one can guess, is created exclusively, never through a link, and is private (0600)
// while it is written. Temporary files that a killed run left for the same target are
// never reused and are removed by the next successful write.
namespace AtomicFileWriter {

// Throws FileError naming path, with the system's reason as detail: CreateFailed when the
// temporary file cannot be made, WriteFailed when writing, syncing or renaming fails.
void write(const QString &path, const QByteArray &data);
// The same for a file made of parts written one after the other, so that large parts
// held elsewhere are written from where they are.
void write(const QString &path, const QByteArrayList &parts);

// The same, taking the random parts of the temporary names from tokens (one call per
// name tried) instead of the system's random source; for tests that plant files there.
void write(const QString &path, const QByteArray &data, const std::function<QString()> &tokens);
void write(const QString &path, const QByteArrayList &parts, const std::function<QString()> &tokens);

// The same for a file the program keeps up to date by itself (a review file): the target is
// written only as itself, never through a symbolic link. A link, or anything but a regular
// file, at path is left as it is and throws FileError CreateFailed naming path.
void writeOwn(const QString &path, const QByteArray &data);
// writeOwn for a file that holds patient data: it is 0600 whatever was there before.
void writePrivate(const QString &path, const QByteArray &data);

// A file written as it is produced, so that it is never held whole: produce calls put with
// each piece in order. A FileError that produce throws (its source failed) ends the write
// like any other failure: the temporary file goes and the target stays as it was.
using Sink = std::function<void(QByteArrayView piece)>;
using Producer = std::function<void(const Sink &put)>;

// write() for a produced file: the same temporary file, checks, modes and errors.
void writeStreamed(const QString &path, const Producer &produce, const std::function<QString()> &tokens = {});

// Creates path as a new file holding what produce gives, for a program's automatic
// writes: the temporary file is given the name path only while nothing has that name, so
// an existing file, folder or symbolic link (even a dangling one) is never written
// through, replaced or followed. The new file gets the mode write() gives a new file.
// False when something was already there (and is left as it was); throws FileError
// naming path like write() when the file cannot be made.
bool createNew(const QString &path, const Producer &produce, const std::function<QString()> &tokens = {});

// Where a write of path lands: path itself, or the file its chain of symbolic links ends
// at (path again when the chain loops).
QString finalPath(const QString &path);

// The temporary file of a target with one random token: ".<name>.<token>.tmp~" in the
// target's folder.
QString temporaryPath(const QString &target, const QString &token);

} // namespace AtomicFileWriter
