#include "archive/SoundClass.h"

#include "archive/AudioOutput.h"
#include "archive/AudioRecordFile.h"
#include "archive/SoundStream.h"
#include "archive/SoundStreamDevice.h"

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
    m_stream = std::make_unique<SoundStream>(m_sound.samples, m_sound.format.avgBytesPerSec / 2, silence);
    m_device = std::make_unique<SoundStreamDevice>(*m_stream);
    m_device->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    // An offset beyond what the ring can address leaves the output silent, as a stopped
    // buffer would.
    if (m_stream->start(startMs) && !m_output.start(m_device.get(), m_sound.format)) {
        m_device.reset();
        m_stream.reset();
        return false;
    }
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
