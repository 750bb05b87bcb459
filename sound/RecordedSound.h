#pragma once

#include <QString>

struct WaveSound;

// The sound of a case for playback. path is the case's audio record ("Audio Record.bin"):
// the WAV made beside it when it matches the record, else the record's own samples in the
// recording's format; a WAV beside it of another size is not the record's and is passed
// over. A path ending in ".wav" is a WAV file played as it is. False when nothing can be
// read.
bool LoadRecordedSound(const QString &path, WaveSound &sound);
