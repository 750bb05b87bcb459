#pragma once

#include "archive/AudioOutput.h"

#include <memory>

class QAudioSink;

// The system's default audio output through QAudioSink in pull mode.
class QtAudioOutput : public AudioOutput
{
public:
    QtAudioOutput();
    ~QtAudioOutput() override;

    bool isAvailable() const override;
    bool start(QIODevice *source, const WaveFormat &format) override;
    void stop() override;
    int64_t processedUSecs() const override;
    bool hasFailed() const override;

    QAudioSink *sink() const { return m_sink.get(); }

private:
    std::unique_ptr<QAudioSink> m_sink;
};
