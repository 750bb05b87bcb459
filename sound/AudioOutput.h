#pragma once

#include <QString>
#include <cstdint>

struct WaveFormat;
class QIODevice;

// Why the system's output refused the last start, as the system reported it.
struct AudioOutputFailure
{
    enum class Kind {
        None,          // it did not refuse, or said nothing
        NoDevice,      // there is no output device
        FormatRefused, // the device does not take the sound's format
        DeviceError,   // the device reported an error when it was opened
    };
    Kind kind = Kind::None;
    QString device; // the device's name (FormatRefused, DeviceError)
    QString error;  // the system's name of the error (DeviceError)
};

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
    // Microseconds of sound the output has played since start(). It stays 0 through the
    // output's start-up delay, so it is the clock of what the listener has heard.
    virtual int64_t processedUSecs() const = 0;
    // The output broke down after a successful start (its device went away, say).
    virtual bool hasFailed() const { return false; }
    // Why no sound can be played through this output in this run of the program (its plugin
    // is missing, say); empty when it may play.
    virtual QString unusableReason() const { return {}; }
    // Why the last start() returned false; Kind::None after a successful one.
    virtual AudioOutputFailure startFailure() const { return {}; }
};
