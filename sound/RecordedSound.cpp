#include "sound/RecordedSound.h"

#include "base/BinaryReader.h"
#include "base/FileError.h"
#include "device/AudioRecordFile.h"
#include "sound/WaveFile.h"

bool LoadRecordedSound(const QString &path, WaveSound &sound)
{
    using namespace AudioRecordFile;
    if (path.endsWith(QStringLiteral(".wav"), Qt::CaseInsensitive))
        return LoadWave(path, sound);
    try {
        const std::optional<Head> start = readHead(path);
        if (!start)
            return false;
        const QString wavPath = wavPathBeside(path);
        if (wavMatches(wavPath, start->sampleBytes) && LoadWave(wavPath, sound))
            return true;
        std::optional<BinaryReader> in = readRecord(path);
        if (!in)
            return false;
        const Head head = parse(*in);
        // What the WAV header of this recording says (wavHeader), without the file.
        sound.format = WaveFormat{1, 1, uint32_t(SampleRate), uint32_t(SampleRate), 1, 8, 0};
        sound.samples = in->data().mid(HeaderBytes, qMin<qsizetype>(head.sampleBytes, MaxWaveDataSize));
        return true;
    } catch (const FileError &) {
        return false;
    }
}
