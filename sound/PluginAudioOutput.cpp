#include "sound/PluginAudioOutput.h"

#include "base/ProgramPlugin.h"
#include "sound/AudioOutputFactory.h"

PluginAudioOutput::PluginAudioOutput(QByteArray deviceId) : m_deviceId(std::move(deviceId))
{
}

PluginAudioOutput::~PluginAudioOutput() = default;

AudioOutput *PluginAudioOutput::output() const
{
    if (!m_loaded) {
        m_loaded = true;
        if (auto *factory = ProgramPlugin::load<AudioOutputFactory>(QLatin1String(AudioOutputPluginName), &m_error))
            m_output = factory->createOutput(m_deviceId);
    }
    return m_output.get();
}

bool PluginAudioOutput::isAvailable() const
{
    AudioOutput *o = output();
    return o && o->isAvailable();
}

bool PluginAudioOutput::start(QIODevice *source, const WaveFormat &format)
{
    AudioOutput *o = output();
    return o && o->start(source, format);
}

void PluginAudioOutput::stop()
{
    if (m_output)
        m_output->stop();
}

int64_t PluginAudioOutput::processedUSecs() const
{
    return m_output ? m_output->processedUSecs() : 0;
}

bool PluginAudioOutput::hasFailed() const
{
    return m_output && m_output->hasFailed();
}

AudioOutputFailure PluginAudioOutput::startFailure() const
{
    return m_output ? m_output->startFailure() : AudioOutputFailure{};
}

QString PluginAudioOutput::unusableReason() const
{
    return output() ? QString() : m_error;
}
