#include "sound/QtAudioOutput.h"

#include "sound/WaveFile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

QtAudioOutput::QtAudioOutput(QByteArray deviceId) : m_deviceId(std::move(deviceId))
{
}

QtAudioOutput::~QtAudioOutput()
{
    stop();
}

QAudioDevice QtAudioOutput::device() const
{
    if (m_deviceId.isEmpty())
        return QMediaDevices::defaultAudioOutput();
    for (const QAudioDevice &d : QMediaDevices::audioOutputs())
        if (d.id() == m_deviceId)
            return d;
    return {};
}

bool QtAudioOutput::isAvailable() const
{
    return !device().isNull();
}

namespace {
QString errorName(QAudio::Error error)
{
    switch (error) {
    case QAudio::NoError: return QStringLiteral("NoError");
    case QAudio::OpenError: return QStringLiteral("OpenError");
    case QAudio::IOError: return QStringLiteral("IOError");
    case QAudio::UnderrunError: return QStringLiteral("UnderrunError");
    case QAudio::FatalError: return QStringLiteral("FatalError");
    }
    return QString::number(int(error));
}
} // namespace

bool QtAudioOutput::start(QIODevice *source, const WaveFormat &format)
{
    stop();
    m_failure = {};
    const QAudioDevice output = device();
    if (output.isNull()) {
        m_failure.kind = AudioOutputFailure::Kind::NoDevice;
        return false;
    }
    m_failure.device = output.description();

    QAudioFormat audio;
    audio.setSampleRate(int(format.samplesPerSec));
    audio.setChannelCount(format.channels);
    switch (format.bitsPerSample) {
    case 8: audio.setSampleFormat(QAudioFormat::UInt8); break;
    case 16: audio.setSampleFormat(QAudioFormat::Int16); break;
    case 32: audio.setSampleFormat(QAudioFormat::Int32); break;
    default: m_failure.kind = AudioOutputFailure::Kind::FormatRefused; return false;
    }
    if (!output.isFormatSupported(audio)) {
        m_failure.kind = AudioOutputFailure::Kind::FormatRefused;
        return false;
    }

    m_sink = std::make_unique<QAudioSink>(output, audio);
    m_sink->start(source);
    if (m_sink->error() == QAudio::NoError) {
        m_failure = {};
        return true;
    }
    m_failure.kind = AudioOutputFailure::Kind::DeviceError;
    m_failure.error = errorName(m_sink->error());
    // The caller frees the source of a start that failed: the sink lets go of it first.
    stop();
    return false;
}

void QtAudioOutput::stop()
{
    if (m_sink) {
        m_sink->stop();
        m_sink.reset();
    }
}

int64_t QtAudioOutput::processedUSecs() const
{
    return m_sink ? m_sink->processedUSecs() : 0;
}

bool QtAudioOutput::hasFailed() const
{
    // An underrun is a pause, not a breakdown: the sink resumes when data comes.
    return m_sink && m_sink->error() != QAudio::NoError && m_sink->error() != QAudio::UnderrunError;
}
