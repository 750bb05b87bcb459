#include "device/AudioRecordFile.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "base/BinaryReader.h"
#include "base/BinaryWriter.h"
#include "case/CaseSession.h"
#include "case/DeviceFolderFiles.h"

#include <QDir>
#include <QFileInfo>
#include <limits>
#include <optional>

namespace AudioRecordFile {

namespace {
// The RIFF size counts the header after its first 8 bytes as well as the samples.
constexpr uint32_t RiffHeaderRest = WavHeaderBytes - 8;
constexpr uint64_t MaxSampleBytes = std::numeric_limits<uint32_t>::max() - RiffHeaderRest;
}

namespace {
// The start read from in, where the record (start and samples) is recordBytes long.
Head headOf(BinaryReader &in, qint64 recordBytes)
{
    Head head;
    head.startMs = in.i32();
    head.sampleBytes = qsizetype(recordBytes - HeaderBytes);
    if (uint64_t(head.sampleBytes) > MaxSampleBytes)
        in.fail(FileError::Kind::BadFormat);
    return head;
}
} // namespace

Head parse(BinaryReader &in)
{
    return headOf(in, in.remaining());
}

QByteArray wavHeader(uint32_t sampleBytes)
{
    BinaryWriter out;
    out.bytes("RIFF", 4);
    out.u32(sampleBytes + RiffHeaderRest);
    out.bytes("WAVE", 4);
    out.bytes("fmt ", 4);
    out.u32(16); // size of the format block
    out.u16(1);  // PCM
    out.u16(1);  // channels
    out.u32(uint32_t(SampleRate));
    out.u32(uint32_t(SampleRate)); // bytes per second
    out.u16(1);  // block align
    out.u16(8);  // bits per sample
    out.bytes("data", 4);
    out.u32(sampleBytes);
    return out.data();
}

} // namespace AudioRecordFile

namespace AudioRecordFile {

std::optional<BinaryReader> readRecord(const QString &binPath)
{
    try {
        return BinaryReader(BinaryReader::readWholeFile(binPath), binPath);
    } catch (const FileError &error) {
        if (error.kind() == FileError::Kind::NotFound)
            return std::nullopt;
        throw;
    }
}

std::optional<Head> readHead(const QString &binPath)
{
    try {
        const BinaryReader::FileStart start = BinaryReader::readFileStart(binPath, HeaderBytes);
        BinaryReader in(start.bytes, binPath);
        return headOf(in, start.size);
    } catch (const FileError &error) {
        if (error.kind() == FileError::Kind::NotFound)
            return std::nullopt;
        throw;
    }
}

bool wavMatches(const QString &wavPath, qsizetype sampleBytes)
{
    const QFileInfo wav(wavPath);
    return wav.isFile() && wav.size() == AudioRecordFile::WavHeaderBytes + sampleBytes;
}

} // namespace AudioRecordFile

void LoadAudioRecord(CaseSession &session, const QString &folder, int slot)
{
    using namespace AudioRecordFile;
    CaseStore &store = session.store;
    if (!store.caseAt(slot))
        return;
    OpenCase &entry = store.at(slot);
    entry.hasAudio = false;
    const QDir dir(folder);
    const QString binPath = DeviceFolderFiles(folder).filePath(binFileName());
    const QString wavPath = dir.filePath(wavFileName());

    // A WAV made before needs only the start time; the samples are read to make one.
    std::optional<Head> start = readHead(binPath);
    if (!start)
        return; // no sound came with the case
    Head head = *start;

    if (!wavMatches(wavPath, head.sampleBytes)) {
        std::optional<BinaryReader> in = readRecord(binPath);
        if (!in)
            return; // gone since its start was read
        head = parse(*in);
        BinaryWriter out;
        out.bytes(wavHeader(uint32_t(head.sampleBytes)));
        out.bytes(in->data().constData() + HeaderBytes, head.sampleBytes);
        try {
            out.commitTo(wavPath);
        } catch (const FileError &error) {
            session.platform().messageBox(
                error.message() + QStringLiteral("\nThe sound is played from %1.").arg(binPath),
                session.GetText(TextId::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
        }
        entry.audioDurationSec = durationSec(head.sampleBytes);
    }
    entry.audioStartMs = head.startMs;
    entry.hasAudio = true;
}
