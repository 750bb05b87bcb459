#include "sound/WaveFile.h"

#include "base/BinaryReader.h"


namespace {

// Moves in past the chunks before the one with the given id (each padded to an even
// length) and returns that chunk's declared size; throws FileError when the file ends first.
uint32_t findChunk(BinaryReader &in, const char *id)
{
    for (;;) {
        const QByteArray chunkId = in.bytes(4);
        const uint32_t size = in.u32();
        if (chunkId == id)
            return size;
        in.skip(qsizetype(size) + (size & 1));
    }
}

WaveSound parse(BinaryReader &in)
{
    if (in.bytes(4) != "RIFF")
        in.fail(FileError::Kind::BadFormat);
    in.u32(); // the RIFF size may promise more than the file holds: the file's end is the limit
    if (in.bytes(4) != "WAVE")
        in.fail(FileError::Kind::BadFormat);

    const uint32_t fmtSize = findChunk(in, "fmt ");
    const qsizetype fmtStart = in.position();
    if (fmtSize < 16)
        in.fail(FileError::Kind::BadFormat);
    WaveSound sound;
    WaveFormat &f = sound.format;
    f.formatTag = in.u16();
    f.channels = in.u16();
    f.samplesPerSec = in.u32();
    f.avgBytesPerSec = in.u32();
    f.blockAlign = in.u16();
    f.bitsPerSample = in.u16();
    f.cbSize = fmtSize >= 18 ? in.u16() : 0;
    in.seek(fmtStart);
    in.skip(qsizetype(fmtSize) + (fmtSize & 1));

    const uint32_t dataSize = qMin(findChunk(in, "data"), MaxWaveDataSize);
    sound.samples = in.bytes(dataSize);
    return sound;
}

} // namespace

bool ParseWave(const QByteArray &bytes, WaveSound &sound)
{
    BinaryReader in(bytes, QString());
    try {
        sound = parse(in);
        return true;
    } catch (const FileError &) {
        return false;
    }
}

bool LoadWave(const QString &path, WaveSound &sound)
{
    try {
        return ParseWave(BinaryReader::readWholeFile(path), sound);
    } catch (const FileError &) {
        return false;
    }
}
