#include "sound/QtAudioOutput.h"

#include "sound/WaveFile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

QtAudioOutput::QtAudioOutput() = default;

QtAudioOutput::~QtAudioOutput()
{
    stop();
}

bool QtAudioOutput::isAvailable() const
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

bool QtAudioOutput::start(QIODevice *source, const WaveFormat &format)
{
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;

    QAudioFormat audio;
    audio.setSampleRate(int(format.samplesPerSec));
    audio.setChannelCount(format.channels);
    switch (format.bitsPerSample) {
    case 8: audio.setSampleFormat(QAudioFormat::UInt8); break;
    case 16: audio.setSampleFormat(QAudioFormat::Int16); break;
    case 32: audio.setSampleFormat(QAudioFormat::Int32); break;
    default: return false;
    }
    if (!device.isFormatSupported(audio))
        return false;

    m_sink = std::make_unique<QAudioSink>(device, audio);
    m_sink->start(source);
    return m_sink->error() == QAudio::NoError;
}

void QtAudioOutput::stop()
{
    if (m_sink) {
        m_sink->stop();
        m_sink.reset();
    }
}
