#pragma once

#include "base/BinaryReader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
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
// A WAV of the record's sampleBytes samples is there at wavPath: a regular file of the
// size, not a symbolic link.
bool wavMatches(const QString &wavPath, qsizetype sampleBytes);
// The WAV beside the record binPath: "Audio Record.wav" in its folder.
QString wavPathBeside(const QString &binPath);

// Streams the WAV of the record binPath (its header, then the samples as they are read,
// a piece at a time) to put. Throws FileError naming binPath when it cannot be read.
void streamWav(const QString &binPath, const std::function<void(QByteArrayView piece)> &put);

// What making the WAV beside a record came to.
struct WavResult
{
    enum class Outcome {
        Made,     // the WAV was made
        Existing, // something was already at its name and was left as it was
        Failed,   // it could not be made; message says why, naming the file
    };
    Outcome outcome = Outcome::Failed;
    QString message;
};

// Makes the WAV of the record binPath at wavPath when nothing is there yet: streamed from
// the record in pieces, and created as a new file only, so that a file or a symbolic link
// at wavPath (even a dangling one) is never followed nor replaced; whatever is there is
// simply not the program's WAV, and playback then takes the record's own samples. The
// WAV gets the mode a new archive gets. Never throws.
WavResult makeWavBeside(const QString &binPath, const QString &wavPath);

// Writes the WAV of the record binPath to a target the user chose, byte for byte what
// makeWavBeside makes: written whole beside it and renamed over it, through a link at
// target. Throws FileError naming the file that failed.
void writeWav(const QString &binPath, const QString &target);

} // namespace AudioRecordFile

// Binds the audio record at binPath to the case of a used slot: sets hasAudio,
// audioStartMs, audioDurationSec (whole seconds of its samples) and audioRecordPath from
// its first 4 bytes and its size; the samples are not read and nothing is written. A
// missing file clears them and is not an error. A record that cannot be used (not a
// regular file, unreadable, under 4 bytes) clears them too and is reported once through
// the platform as a warning naming it and why; the case opens without sound. Never throws.
void LoadAudioRecord(CaseSession &session, const QString &binPath, int slot);

// Makes the WAV beside the audio record bound to the case of slot, for playback
// (makeWavBeside). One that cannot be made is reported once as a warning naming it; the
// case keeps its sound, which playback then takes from the record.
void MakeAudioRecordWav(CaseSession &session, int slot);
