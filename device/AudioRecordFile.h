#pragma once

#include "base/BinaryReader.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

class BinaryReader;
class CaseSession;

// "Audio Record.bin": an int32 start (ms since power-on), then the sound as unsigned 8-bit
// mono PCM at 16000 samples per second. "Audio Record.wav" is the same sound behind a
// 44-byte WAV header.
namespace AudioRecordFile {

constexpr int32_t SampleRate = 16000;  // samples (= bytes) per second
constexpr qsizetype HeaderBytes = 4;   // the start time before the samples
constexpr qsizetype WavHeaderBytes = 44;

inline QString binFileName() { return QStringLiteral("Audio Record.bin"); }
inline QString wavFileName() { return QStringLiteral("Audio Record.wav"); }

struct Head
{
    int32_t startMs = 0;        // start of the recording, ms since power-on
    qsizetype sampleBytes = 0;  // samples after the start, from offset 4 to the end
};

// The start and the sample count of a .bin file's bytes. Fewer than 4 bytes throw
// FileError EndOfFile; more samples than a WAV can hold throw BadFormat.
Head parse(BinaryReader &in);

// The 44-byte header of a WAV holding sampleBytes samples in the recording's format.
QByteArray wavHeader(uint32_t sampleBytes);

// Whole seconds of sound in sampleBytes samples.
inline int32_t durationSec(qsizetype sampleBytes) { return int32_t(sampleBytes / SampleRate); }

// Start and samples of an "Audio Record.bin"; a missing file gives nothing, any other
// failure throws FileError naming it.
std::optional<BinaryReader> readRecord(const QString &binPath);
// The same head as parse() gives for the whole file, from its first 4 bytes and its size:
// the samples themselves are not read. A missing file gives nothing; the errors are
// those of readRecord and parse.
std::optional<Head> readHead(const QString &binPath);
// A WAV of the record's sampleBytes samples is there at wavPath.
bool wavMatches(const QString &wavPath, qsizetype sampleBytes);

} // namespace AudioRecordFile

// Reads "Audio Record.bin" of folder for the case of a used slot: sets hasAudio and
// audioStartMs. "Audio Record.wav" beside it is kept when its size is exactly the header
// plus the samples of the .bin file; otherwise it belongs to another recording (or is
// missing) and is made again, replacing the old file atomically, and audioDurationSec is
// set. A missing .bin file clears hasAudio and is not an error. A .bin file under 4
// bytes, or one that cannot be read, throws FileError naming it and leaves hasAudio
// clear. A WAV that cannot be written (a read-only folder) is a warning through the
// platform naming it and the system's reason; the case keeps its sound, which playback
// then takes from the .bin file (LoadRecordedSound).
void LoadAudioRecord(CaseSession &session, const QString &folder, int slot);
