#pragma once

#include "sound/AudioOutputFactory.h"

#include <QObject>

// The sound-output plugin: QtAudioOutput over Qt Multimedia.
class QtAudioOutputFactory : public QObject, public AudioOutputFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID AudioOutputFactory_iid)
    Q_INTERFACES(AudioOutputFactory)
public:
    std::unique_ptr<AudioOutput> createOutput(const QByteArray &deviceId) override;
};
