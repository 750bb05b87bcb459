#pragma once

#include "sound/AudioOutput.h"

#include <QByteArray>
#include <memory>

class QAudioDevice;
class QAudioSink;

// An audio output of the system through QAudioSink in pull mode: the default one, or the
// one with the given device id.
class QtAudioOutput : public AudioOutput
{
public:
    explicit QtAudioOutput(QByteArray deviceId = {});
    ~QtAudioOutput() override;

    bool isAvailable() const override;
    bool start(QIODevice *source, const WaveFormat &format) override;
    void stop() override;
    int64_t processedUSecs() const override;
    bool hasFailed() const override;
    AudioOutputFailure startFailure() const override { return m_failure; }

    QAudioSink *sink() const { return m_sink.get(); }

private:
    QAudioDevice device() const;

    QByteArray m_deviceId; // empty: the system's default output
    std::unique_ptr<QAudioSink> m_sink;
    AudioOutputFailure m_failure;
};
