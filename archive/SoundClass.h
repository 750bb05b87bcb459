#pragma once

#include "archive/WaveFile.h"

#include <QString>
#include <memory>

class AudioOutput;
class SoundStream;
class SoundStreamDevice;

// Plays "Audio Record.wav" from an offset through a two-second ring (SoundStream): the
// sound at the requested offset is heard two seconds after Play, so callers start it two
// seconds early. One object serves one playback.
class SoundClass
{
public:
    explicit SoundClass(AudioOutput &output);
    ~SoundClass();
    SoundClass(const SoundClass &) = delete;
    SoundClass &operator=(const SoundClass &) = delete;

    // Checks the output and loads the WAV file whole (or, when it is missing or stale, the
    // recording it is made from, LoadRecordedSound); false when either fails.
    bool Create(const QString &path);
    // Streams from startMs into the sound. True at once while playing; false without
    // samples or when the output cannot start.
    bool Play(int64_t startMs);
    void Stop();
    // Whole seconds of a 16000-byte-per-second sound.
    int GetDurationSec() const;

    bool isPlaying() const { return m_playing; }
    const WaveSound &sound() const { return m_sound; }
    const SoundStream *stream() const { return m_stream.get(); }

private:
    AudioOutput &m_output;
    WaveSound m_sound;
    std::unique_ptr<SoundStream> m_stream;
    std::unique_ptr<SoundStreamDevice> m_device;
    bool m_playing = false;
};
