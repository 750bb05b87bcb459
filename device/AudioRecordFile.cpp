#include "device/AudioRecordFile.h"

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "base/BinaryReader.h"
#include "base/AtomicFileWriter.h"
#include "base/BinaryWriter.h"
#include "case/CaseSession.h"
#include "base/MessageTexts.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
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
    // A link there was not made by the program, whatever it points to.
    const QFileInfo wav(wavPath);
    return !wav.isSymLink() && wav.isFile() && wav.size() == AudioRecordFile::WavHeaderBytes + sampleBytes;
}

QString wavPathBeside(const QString &binPath)
{
    return QFileInfo(binPath).dir().filePath(wavFileName());
}

void streamWav(const QString &binPath, const std::function<void(QByteArrayView piece)> &put)
{
    // The header is made from the size the record has now; the samples are then copied as
    // they are read, and a record that changes length meanwhile is an error.
    const std::optional<Head> head = readHead(binPath);
    if (!head)
        throw FileError(binPath, FileError::Kind::NotFound);
    put(wavHeader(uint32_t(head->sampleBytes)));
    qint64 skipped = 0;
    qint64 copied = 0;
    BinaryReader::readInPieces(binPath, [&](QByteArrayView piece) {
        const qsizetype start = qsizetype(std::min<qint64>(HeaderBytes - skipped, piece.size()));
        skipped += start;
        piece = piece.sliced(start);
        copied += piece.size();
        if (copied > head->sampleBytes)
            throw FileError(binPath, FileError::Kind::BadFormat, QStringLiteral("The file grew while it was read."));
        put(piece);
    });
    if (copied != head->sampleBytes)
        throw FileError(binPath, FileError::Kind::EndOfFile);
}

WavResult makeWavBeside(const QString &binPath, const QString &wavPath)
{
    WavResult result;
    try {
        const bool made =
            AtomicFileWriter::createNew(wavPath, [&](const AtomicFileWriter::Sink &put) { streamWav(binPath, put); });
        result.outcome = made ? WavResult::Outcome::Made : WavResult::Outcome::Existing;
    } catch (const FileError &error) {
        result.outcome = WavResult::Outcome::Failed;
        result.message = error.message();
        if (error.path() != wavPath)
            result.message = FileError(wavPath, FileError::Kind::CreateFailed).message() + QLatin1Char('\n') + result.message;
    }
    return result;
}

void writeWav(const QString &binPath, const QString &target)
{
    AtomicFileWriter::writeStreamed(target, [&](const AtomicFileWriter::Sink &put) { streamWav(binPath, put); });
}

} // namespace AudioRecordFile

void LoadAudioRecord(CaseSession &session, const QString &binPath, int slot)
{
    using namespace AudioRecordFile;
    CaseStore &store = session.store;
    if (!store.caseAt(slot))
        return;
    OpenCase &entry = store.at(slot);
    entry.hasAudio = false;
    entry.audioStartMs = 0;
    entry.audioDurationSec = 0;
    entry.audioRecordPath.clear();
    std::optional<Head> head;
    try {
        head = readHead(binPath);
    } catch (const FileError &error) {
        session.platform().messageBox(error.message(session.texts()) + QLatin1Char('\n')
                                          + session.GetText(MessageText::OpenedWithoutSound),
                                      session.GetText(TextId::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
        return;
    }
    if (!head)
        return; // no sound came with the case
    entry.audioStartMs = head->startMs;
    entry.audioDurationSec = durationSec(head->sampleBytes);
    entry.audioRecordPath = binPath;
    entry.hasAudio = true;
}

void MakeAudioRecordWav(CaseSession &session, int slot)
{
    using namespace AudioRecordFile;
    if (!session.store.isSlotUsed(slot) || !session.store.at(slot).hasAudio)
        return;
    const QString binPath = session.store.at(slot).audioRecordPath;
    const WavResult made = makeWavBeside(binPath, wavPathBeside(binPath));
    if (made.outcome == WavResult::Outcome::Failed)
        session.platform().messageBox(made.message + QStringLiteral("\nThe sound is played from %1.").arg(binPath),
                                      session.GetText(TextId::Caption), Platform::Icon::Warning, Platform::Buttons::Ok);
}
