#pragma once

#include "sound/AudioOutput.h"

#include <QByteArray>
#include <QString>
#include <memory>

// A system audio output made by the sound-output plugin, which is loaded the first time the
// output is asked anything. Without the plugin the output is not available and says why.
class PluginAudioOutput : public AudioOutput
{
public:
    // deviceId empty: the system's default output.
    explicit PluginAudioOutput(QByteArray deviceId = {});
    ~PluginAudioOutput() override;

    bool isAvailable() const override;
    bool start(QIODevice *source, const WaveFormat &format) override;
    void stop() override;
    int64_t processedUSecs() const override;
    bool hasFailed() const override;
    QString unusableReason() const override;
    AudioOutputFailure startFailure() const override;

private:
    AudioOutput *output() const;

    QByteArray m_deviceId;
    mutable bool m_loaded = false; // the plugin was asked for (found or not)
    mutable std::unique_ptr<AudioOutput> m_output;
    mutable QString m_error; // why there is no output
};
