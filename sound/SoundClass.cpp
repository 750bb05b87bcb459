#include "sound/SoundClass.h"

#include "sound/AudioOutput.h"
#include "sound/RecordedSound.h"
#include "sound/SoundStream.h"
#include "sound/SoundStreamDevice.h"

SoundClass::SoundClass(AudioOutput &output) : m_output(output)
{
}

SoundClass::~SoundClass()
{
    Stop();
}

bool SoundClass::Create(const QString &path)
{
    return m_output.isAvailable() && LoadRecordedSound(path, m_sound);
}

bool SoundClass::Play(int64_t startMs)
{
    if (m_playing)
        return true;
    if (m_sound.samples.isEmpty() || m_sound.format.avgBytesPerSec < 2)
        return false;

    // 8-bit sound is unsigned with its zero line at 0x80; wider sound is signed.
    const char silence = m_sound.format.bitsPerSample == 8 ? char(0x80) : char(0);
    auto stream = std::make_unique<SoundStream>(m_sound.samples, m_sound.format.avgBytesPerSec / 2, silence);
    if (!stream->start(startMs))
        return false;
    auto device = std::make_unique<SoundStreamDevice>(*stream);
    device->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    if (!m_output.start(device.get(), m_sound.format))
        return false;
    m_stream = std::move(stream);
    m_device = std::move(device);
    m_playing = true;
    return true;
}

void SoundClass::Stop()
{
    if (m_playing)
        m_output.stop();
    m_playing = false;
}

int SoundClass::GetDurationSec() const
{
    return int(uint32_t(m_sound.samples.size()) / 16000u);
}

int64_t SoundClass::playedMs() const
{
    return m_playing ? m_output.processedUSecs() / 1000 : 0;
}

bool SoundClass::hasFailed() const
{
    return m_playing && m_output.hasFailed();
}
