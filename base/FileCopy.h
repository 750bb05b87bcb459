#pragma once

#include <QString>

// Copies the file at source to target, which must not exist yet: the bytes are streamed (a
// few MB in memory whatever the size) as AtomicFileWriter::createNew writes a new file, which
// never replaces anything (an existing file or link at target makes the copy fail) and never
// follows a link. Returns the SHA-256 of the bytes written; throws FileError naming the file
// that failed, leaving no part of a copy behind.
namespace FileCopy {

QString copyNew(const QString &source, const QString &target);

} // namespace FileCopy
