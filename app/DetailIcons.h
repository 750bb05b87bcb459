#pragma once

#include <QIcon>
#include <QImage>

// Pictures of the detail view, drawn in code: the three tab images (16 x 16) and the
// Play and Stop buttons of the enlarged-ECG tab.
namespace DetailIcons {

enum class Tab { General, EntireEcg, EnlargedEcg };
enum class Playback { Play, Stop };

constexpr int TabImageSize = 16;
constexpr int PlaybackImageSize = 24;

QImage tabImage(Tab which);
QIcon tabIcon(Tab which);
QImage playbackImage(Playback which);
QIcon playbackIcon(Playback which);

} // namespace DetailIcons
