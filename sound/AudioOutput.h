#pragma once

struct WaveFormat;
class QIODevice;

// Where played sound goes: a pull-mode sink that reads PCM from a device for as long as
// it runs (Qt Multimedia's QAudioSink in the program, a byte collector in tests).
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;
    // An output device exists and can take sound.
    virtual bool isAvailable() const = 0;
    // Starts pulling from source in the given format; false when that is not possible.
    virtual bool start(QIODevice *source, const WaveFormat &format) = 0;
    virtual void stop() = 0;
};
