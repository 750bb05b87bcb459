#include "base/AtomicFileWriter.h"

#include "base/FileError.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace AtomicFileWriter {

void write(const QString &path, const QByteArray &data)
{
    const QString temp = path + QStringLiteral(".tmp~");
    QFile file(temp);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw FileError(path, FileError::Kind::CreateFailed, file.errorString());

    const auto abandon = [&](const QString &why) {
        file.close();
        QFile::remove(temp);
        throw FileError(path, FileError::Kind::WriteFailed, why);
    };
    if (file.write(data) != data.size())
        abandon(file.errorString());
    if (!file.flush())
        abandon(file.errorString());
    if (::fsync(file.handle()) != 0)
        abandon(QStringLiteral("The file could not be synced to disk."));
    file.close();

    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temp);
        throw FileError(path, FileError::Kind::WriteFailed, QStringLiteral("The file could not be replaced."));
    }
}

} // namespace AtomicFileWriter
