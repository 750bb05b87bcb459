#include "base/FileCopy.h"

#include "base/AtomicFileWriter.h"
#include "base/BinaryReader.h"
#include "base/FileError.h"
#include "base/FileSha256.h"

namespace FileCopy {

QString copyNew(const QString &source, const QString &target)
{
    FileSha256::Hasher hash;
    const bool made = AtomicFileWriter::createNew(target, [&](const AtomicFileWriter::Sink &put) {
        BinaryReader::readInPieces(source, [&](QByteArrayView piece) {
            hash.add(piece);
            put(piece);
        });
    });
    if (!made)
        throw FileError(target, FileError::Kind::CreateFailed, QStringLiteral("A file of that name is there already."));
    return hash.hex();
}

} // namespace FileCopy
