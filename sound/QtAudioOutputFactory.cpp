#include "sound/QtAudioOutputFactory.h"

#include "sound/QtAudioOutput.h"

std::unique_ptr<AudioOutput> QtAudioOutputFactory::createOutput(const QByteArray &deviceId)
{
    return std::make_unique<QtAudioOutput>(deviceId);
}
