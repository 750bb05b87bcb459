#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// The "fmt " chunk of a WAV file, as far as the 18 bytes of its extended form reach.
struct WaveFormat
{
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t cbSize = 0;
};

// A WAV file's format and sound bytes, read whole.
struct WaveSound
{
    WaveFormat format;
    QByteArray samples;
};

// Largest sound kept in memory, in bytes (14.5 hours at 16000 bytes per second); a longer
// "data" chunk is cut to it.
constexpr uint32_t MaxWaveDataSize = 0x32000000u;

// Reads a RIFF / WAVE file: the "fmt " chunk (at most 18 bytes, all of them present) and
// the "data" chunk after it (cut to MaxWaveDataSize; every byte must be in the file).
// Returns false for a file that cannot be opened or does not hold both chunks whole.
bool LoadWave(const QString &path, WaveSound &sound);
// The same over bytes already in memory.
bool ParseWave(const QByteArray &bytes, WaveSound &sound);
