#pragma once

#include <QString>

struct WaveSound;

// The sound of the recording whose WAV is wavPath, for playback: the WAV when it matches
// the "Audio Record.bin" beside it (or when there is no .bin), else the .bin file's own
// samples in the recording's format. False when neither can be read.
bool LoadRecordedSound(const QString &wavPath, WaveSound &sound);
