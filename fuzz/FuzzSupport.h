#pragma once

// What the fuzz targets share: a platform that answers every message with OK, the
// built-in texts, a private scratch folder, and the cutting of one input into parts.
#include "base/LanguagePack.h"
#include "base/Platform.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace FuzzSupport {

class SilentPlatform : public Platform
{
public:
    Answer messageBox(const QString &, const QString &, Icon, Buttons) override { return Answer::Ok; }
};

inline LanguagePack &texts()
{
    static LanguagePack pack = [] {
        LanguagePack p;
        p.loadBuiltIn();
        return p;
    }();
    return pack;
}

// A folder of this run, in memory where the system offers one (the targets write files
// for every input).
inline QString scratchFolder()
{
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        auto shm = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/ravelin-fuzz-XXXXXX"));
        return shm->isValid() ? std::move(shm) : std::make_unique<QTemporaryDir>();
    }();
    return dir->path();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Reads the input front to back: bytes, little-endian lengths, and what is left.
class InputCutter
{
public:
    InputCutter(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    QByteArray take(size_t count)
    {
        count = count < m_size ? count : m_size;
        QByteArray out(reinterpret_cast<const char *>(m_data), qsizetype(count));
        m_data += count;
        m_size -= count;
        return out;
    }
    uint8_t byte()
    {
        const QByteArray b = take(1);
        return b.isEmpty() ? 0 : uint8_t(b[0]);
    }
    size_t length16()
    {
        const QByteArray b = take(2);
        return b.size() < 2 ? 0 : size_t(uint8_t(b[0]) | (uint8_t(b[1]) << 8));
    }
    QByteArray rest() { return take(m_size); }

private:
    const uint8_t *m_data;
    size_t m_size;
};

} // namespace FuzzSupport
