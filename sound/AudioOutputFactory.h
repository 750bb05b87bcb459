#pragma once

#include "sound/AudioOutput.h"

#include <QByteArray>
#include <QtPlugin>
#include <memory>

// What the sound-output plugin gives the program: outputs of the system (the plugin holds the
// Qt Multimedia part, so that the program loads it only when sound is first played).
class AudioOutputFactory
{
public:
    virtual ~AudioOutputFactory() = default;
    // The system's output with deviceId, the default output when empty.
    virtual std::unique_ptr<AudioOutput> createOutput(const QByteArray &deviceId) = 0;
};

#define AudioOutputFactory_iid "org.ravelin.AudioOutputFactory/2"
Q_DECLARE_INTERFACE(AudioOutputFactory, AudioOutputFactory_iid)

// The plugin's name for ProgramPlugin.
inline constexpr char AudioOutputPluginName[] = "ravelin_sound_output";
