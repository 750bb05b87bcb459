#pragma once

#include "sound/WaveFile.h"

#include <QString>
#include <cstdint>
#include <memory>

class AudioOutput;
class SoundStream;
class SoundStreamDevice;

// Plays "Audio Record.wav" from an offset through a ring of four half-second quarters
// (SoundStream): the output's first byte is the sound at the offset, and past the end of
// the sound it plays silence. One object serves one playback.
class SoundClass
{
public:
    explicit SoundClass(AudioOutput &output);
    ~SoundClass();
    SoundClass(const SoundClass &) = delete;
    SoundClass &operator=(const SoundClass &) = delete;

    // Checks the output and loads the sound of the audio record at path whole (its WAV
    // when that matches, else the record's samples; or a ".wav" file itself:
    // LoadRecordedSound); false when either fails.
    bool Create(const QString &path);
    // Streams from startMs into the sound (an offset past its end streams silence). True
    // at once while playing; false without samples, for a negative offset or when the
    // output cannot start.
    bool Play(int64_t startMs);
    void Stop();
    // Whole seconds of a 16000-byte-per-second sound.
    int GetDurationSec() const;

    bool isPlaying() const { return m_playing; }
    // Milliseconds of the sound the output has played since Play (0 while it starts up).
    int64_t playedMs() const;
    // The output stopped taking sound after it started.
    bool hasFailed() const;
    const WaveSound &sound() const { return m_sound; }
    const SoundStream *stream() const { return m_stream.get(); }

private:
    AudioOutput &m_output;
    WaveSound m_sound;
    std::unique_ptr<SoundStream> m_stream;
    std::unique_ptr<SoundStreamDevice> m_device;
    bool m_playing = false;
};
