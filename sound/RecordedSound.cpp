#include "sound/RecordedSound.h"

#include "base/BinaryReader.h"
#include "base/FileError.h"
#include "device/AudioRecordFile.h"
#include "sound/WaveFile.h"

#include <QDir>
#include <QFileInfo>

bool LoadRecordedSound(const QString &wavPath, WaveSound &sound)
{
    using namespace AudioRecordFile;
    const QString binPath = QFileInfo(wavPath).dir().filePath(binFileName());
    try {
        const std::optional<Head> start = readHead(binPath);
        if (!start)
            return LoadWave(wavPath, sound);
        if (wavMatches(wavPath, start->sampleBytes) && LoadWave(wavPath, sound))
            return true;
        std::optional<BinaryReader> in = readRecord(binPath);
        if (!in)
            return LoadWave(wavPath, sound);
        const Head head = parse(*in);
        // What the WAV header of this recording says (wavHeader), without the file.
        sound.format = WaveFormat{1, 1, uint32_t(SampleRate), uint32_t(SampleRate), 1, 8, 0};
        sound.samples = in->data().mid(HeaderBytes, qMin<qsizetype>(head.sampleBytes, MaxWaveDataSize));
        return true;
    } catch (const FileError &) {
        return false;
    }
}
