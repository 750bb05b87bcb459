#include "sound/SoundStreamDevice.h"

#include "sound/SoundStream.h"

SoundStreamDevice::SoundStreamDevice(SoundStream &stream, QObject *parent) : QIODevice(parent), m_stream(stream)
{
}

qint64 SoundStreamDevice::bytesAvailable() const
{
    // The ring never runs dry: there is always at least a whole ring to read.
    return qint64(m_stream.ringBytes()) + QIODevice::bytesAvailable();
}

qint64 SoundStreamDevice::readData(char *data, qint64 maxSize)
{
    m_stream.read(data, maxSize);
    return maxSize;
}

qint64 SoundStreamDevice::writeData(const char *, qint64)
{
    return -1;
}
