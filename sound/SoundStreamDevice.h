#pragma once

#include <QIODevice>

class SoundStream;

// An endless, unbuffered read-only device over a SoundStream, for a pull-mode sink.
class SoundStreamDevice : public QIODevice
{
    Q_OBJECT
public:
    explicit SoundStreamDevice(SoundStream &stream, QObject *parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    SoundStream &m_stream;
};
