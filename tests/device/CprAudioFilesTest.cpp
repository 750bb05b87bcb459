#include "base/AtomicFileWriter.h"
#include "device/AudioRecordFile.h"
#include "device/CprFeedbackFile.h"
#include "base/FileError.h"
#include "case/CaseViewFixture.h"
#include "support/ScratchMount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sys/stat.h>

namespace {

QByteArray audioBin(int32_t startMs, const QByteArray &samples)
{
    return DeviceFiles::encodeAudioRecord(startMs, samples);
}

QByteArray feedbackBytes(const std::vector<std::pair<int32_t, int32_t>> &records)
{
    QByteArray out;
    for (const auto &[timeMs, depth] : records) {
        for (int32_t v : {timeMs, depth})
            for (int shift = 0; shift < 32; shift += 8)
                out.append(char(uint32_t(v) >> shift));
    }
    return out;
}

uint32_t u32At(const QByteArray &b, qsizetype at)
{
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16
           | uint32_t(uint8_t(b[at + 3])) << 24;
}

// Samples that show any byte out of place.
QByteArray patterned(qsizetype count)
{
    QByteArray samples(count, '\x80');
    for (qsizetype i = 0; i < samples.size(); i += 7)
        samples[i] = char(i % 251);
    return samples;
}

mode_t modeOf(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

} // namespace

class CprAudioFiles : public ::testing::Test, public CaseViewFixture
{
protected:
    int slot = view.store.AllocateCaseSlot(QString());
    QString feedbackPath = dir.file("CPR Feedback.bin");
    QString binPath = dir.file("Audio Record.bin");
    QString wavPath = dir.file("Audio Record.wav");

    std::vector<std::pair<int32_t, int32_t>> feedback() const
    {
        std::vector<std::pair<int32_t, int32_t>> out;
        for (const CprFeedbackRecord &r : view.store.caseAt(slot)->cprFeedback)
            out.emplace_back(r.timeMs, r.depth);
        return out;
    }

    QStringList filesInFolder() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
};

TEST_F(CprAudioFiles, FeedbackRecordsInFileOrder)
{
    struct Case { const char *what; std::optional<QByteArray> file; bool has;
                  std::vector<std::pair<int32_t, int32_t>> records; };
    const Case cases[] = {
        {"no file", std::nullopt, false, {}},
        {"empty file", QByteArray(), true, {}},
        {"two records", QByteArray::fromHex("e8030000 32000000 e8030000 41000000"), true, {{1000, 50}, {1000, 65}}},
    };
    for (const Case &c : cases) {
        QFile::remove(feedbackPath);
        if (c.file)
            dir.write("CPR Feedback.bin", *c.file);
        view.store.at(slot).hasCprFeedback = !c.has; // a reused slot's old value
        LoadCprFeedback(view, feedbackPath, slot);
        EXPECT_EQ(bool(view.store.at(slot).hasCprFeedback), c.has) << c.what;
        EXPECT_EQ(view.store.at(slot).cprFeedbackPath, c.has ? feedbackPath : QString()) << c.what;
        EXPECT_EQ(feedback(), c.records) << c.what;
        EXPECT_EQ(view.store.caseAt(slot)->cprFeedbackCount, int32_t(c.records.size())) << c.what;
    }
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(CprAudioFiles, FeedbackWithAPartialRecordKeepsTheWholeRecords)
{
    dir.write("CPR Feedback.bin", QByteArray::fromHex("e8030000 32000000 d0070000"));
    LoadCprFeedback(view, feedbackPath, slot);
    EXPECT_TRUE(view.store.at(slot).hasCprFeedback);
    EXPECT_EQ(feedback(), (std::vector<std::pair<int32_t, int32_t>>{{1000, 50}}));
    EXPECT_EQ(view.store.caseAt(slot)->cprFeedbackCount, 1);
    EXPECT_EQ(platform.texts(), QStringList{CprFeedbackFile::partialRecordText(feedbackPath, 1, 4)});
}

// The recording ends at its last event (or its ECG's end, whichever is later); feedback
// is believed up to 10 minutes past that.
TEST_F(CprAudioFiles, FeedbackThatCannotBeThisRecordingsIsLeftOut)
{
    constexpr int32_t EndMs = 120000;
    constexpr int32_t Latest = EndMs + 600000;
    CaseRecord &c = *view.store.caseAt(slot);
    c.ecgEndMs = 90000;
    c.events.add(EventItem::make(EndMs, QStringLiteral("Power off"), QString()));
    EXPECT_EQ(CprFeedbackFile::recordingEndMs(c), EndMs);
    struct Case { const char *what; std::vector<std::pair<int32_t, int32_t>> records; const char *why; };
    const Case cases[] = {
        {"plausible at every limit",
         {{0, 0}, {5000, 250}, {5000, 62}, {5100, 1}, {5200, 1}, {5300, 1}, {5400, 1}, {5500, 1}, {5999, 1},
          {6000, 1}, {Latest, 50}},
         nullptr},
        {"negative time", {{1000, 50}, {-1, 50}}, "record 2 of 2: its time -1 ms is negative"},
        {"time going backwards", {{1000, 50}, {2000, 50}, {1999, 50}},
         "record 3 of 3: its time 1999 ms is before the 2000 ms of the record before it"},
        {"time far past the end", {{1000, 50}, {Latest + 1, 50}},
         "record 2 of 2: its time 720001 ms is more than 10 minutes after the recording's end at 120000 ms"},
        {"a crowd in one second", {{1000, 50}, {1100, 50}, {1100, 50}, {1200, 50}, {1300, 50}, {1400, 50},
                                   {1500, 50}, {1999, 50}, {1999, 50}},
         "record 9 of 9: it is one of more than 8 in the second from 1000 ms"},
        {"negative depth", {{1000, -1}}, "record 1 of 1: its depth -1 is outside the sensor's range 0 to 250"},
        {"depth too large", {{1000, 251}}, "record 1 of 1: its depth 251 is outside the sensor's range 0 to 250"},
    };
    for (const Case &k : cases) {
        platform.messages.clear();
        dir.write("CPR Feedback.bin", feedbackBytes(k.records));
        LoadCprFeedback(view, feedbackPath, slot);
        if (!k.why) {
            EXPECT_TRUE(view.store.at(slot).hasCprFeedback) << k.what;
            EXPECT_TRUE(platform.messages.isEmpty()) << k.what;
            continue;
        }
        EXPECT_FALSE(view.store.at(slot).hasCprFeedback) << k.what;
        EXPECT_TRUE(view.store.at(slot).cprFeedbackPath.isEmpty()) << k.what;
        EXPECT_TRUE(feedback().empty()) << k.what;
        EXPECT_EQ(c.cprFeedbackCount, 0) << k.what;
        ASSERT_EQ(platform.messages.size(), 1) << k.what;
        EXPECT_EQ(platform.messages[0].text, feedbackPath + " does not hold the CPR feedback of this recording: "
                                                 + k.why + ".\nThe case is opened without it.")
            << k.what;
        EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning) << k.what;
        EXPECT_EQ(platform.messages[0].caption, view.GetText(TextId::Caption)) << k.what;
    }

    // More records than 4 a second from power-on to 10 minutes past the end: refused
    // before the file is read.
    const qint64 limit = CprFeedbackFile::maxFileBytes(EndMs);
    EXPECT_EQ(limit, (Latest / 1000 + 1) * 4 * 8);
    std::vector<std::pair<int32_t, int32_t>> most;
    for (qint64 i = 0; i < limit / 8; ++i)
        most.emplace_back(int32_t(i * Latest / (limit / 8)), 50);
    for (qint64 size : {limit, limit + 1}) {
        platform.messages.clear();
        dir.write("CPR Feedback.bin", feedbackBytes(most) + QByteArray(size - limit, '\0'));
        LoadCprFeedback(view, feedbackPath, slot);
        EXPECT_EQ(view.store.at(slot).hasCprFeedback, size == limit) << size;
        if (size > limit) {
            ASSERT_EQ(platform.messages.size(), 1);
            EXPECT_TRUE(platform.messages[0].text.startsWith(
                FileError(feedbackPath, FileError::Kind::TooLarge).message()));
        }
    }
}

// Opening binds the record by its first bytes and its size; no WAV is made then.
TEST_F(CprAudioFiles, TheRecordGivesStartAndDurationAtEveryOpen)
{
    struct Case { qsizetype samples; int32_t duration; };
    const Case cases[] = {{0, 0}, {15999, 0}, {16000, 1}, {40000, 2}};
    for (const Case &c : cases) {
        dir.write("Audio Record.bin", audioBin(-250, patterned(c.samples)));
        view.store.at(slot).audioDurationSec = -1;
        LoadAudioRecord(view, binPath, slot);
        EXPECT_TRUE(view.store.at(slot).hasAudio);
        EXPECT_EQ(view.store.at(slot).audioStartMs, -250);
        EXPECT_EQ(view.store.at(slot).audioDurationSec, c.duration) << c.samples;
        EXPECT_EQ(view.store.at(slot).audioRecordPath, binPath);
    }
    EXPECT_FALSE(QFileInfo::exists(wavPath));

    // Second open, its WAV made by the first: the duration is the record's again.
    ASSERT_EQ(AudioRecordFile::makeWavBeside(binPath, wavPath).outcome, AudioRecordFile::WavResult::Outcome::Made);
    view.store.at(slot) = OpenCase{};
    view.store.at(slot).record = std::make_unique<CaseRecord>();
    view.store.at(slot).used = true;
    LoadAudioRecord(view, binPath, slot);
    EXPECT_EQ(view.store.at(slot).audioDurationSec, 2);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(CprAudioFiles, TheWavIsTheRecordBehindAHeader)
{
    using namespace AudioRecordFile;
    for (qsizetype count : {qsizetype(0), qsizetype(15999), qsizetype(40000), 3 * BinaryReader::InPiecesBytes + 5}) {
        const QByteArray samples = patterned(count);
        dir.write("Audio Record.bin", audioBin(-250, samples));
        QFile::remove(wavPath);
        ASSERT_EQ(makeWavBeside(binPath, wavPath).outcome, WavResult::Outcome::Made) << count;
        const QByteArray wav = dir.read("Audio Record.wav");
        EXPECT_EQ(wav.size(), count + 44) << count;
        EXPECT_EQ(u32At(wav, 4), uint32_t(count + 36)) << count;
        EXPECT_EQ(u32At(wav, 40), uint32_t(count)) << count;
        EXPECT_TRUE(wav.mid(44) == samples) << count; // unchanged, 0x80 included
        EXPECT_EQ(filesInFolder(), (QStringList{"Audio Record.bin", "Audio Record.wav"})) << count;
    }
    dir.write("Audio Record.bin", audioBin(0, patterned(40000)));
    QFile::remove(wavPath);
    ASSERT_EQ(makeWavBeside(binPath, wavPath).outcome, WavResult::Outcome::Made);
    EXPECT_EQ(dir.read("Audio Record.wav").left(44).toHex(' '),
              QByteArray::fromHex("52494646 649c0000 57415645 666d7420 10000000 0100 0100 803e0000 803e0000"
                                  "0100 0800 64617461 409c0000")
                  .toHex(' '));
    // The mode a new archive gets.
    AtomicFileWriter::write(dir.file("new.aed"), "x");
    EXPECT_EQ(modeOf(wavPath), modeOf(dir.file("new.aed")));
}

// Whatever is already at the WAV's name is not the program's: it is never followed,
// replaced or written through, and nothing is left beside it.
TEST_F(CprAudioFiles, TheWavIsMadeOnlyWhereNothingIs)
{
    using namespace AudioRecordFile;
    const QByteArray bin = audioBin(0, patterned(16000));
    const QString other = dir.write("elsewhere/other.dat", "someone else's file");
    const QString danglingTarget = dir.file("elsewhere/not-there.wav");
    struct Case { const char *what; std::function<void()> plant; std::function<void()> check; };
    const Case cases[] = {
        {"a link to another file", [&] { QFile::link(other, wavPath); },
         [&] {
             EXPECT_EQ(dir.read("elsewhere/other.dat"), "someone else's file");
             EXPECT_EQ(QFileInfo(wavPath).symLinkTarget(), other);
         }},
        {"a dangling link", [&] { QFile::link(danglingTarget, wavPath); },
         [&] {
             EXPECT_FALSE(QFileInfo::exists(danglingTarget));
             EXPECT_TRUE(QFileInfo(wavPath).isSymLink());
         }},
        {"a WAV of another size", [&] { dir.write("Audio Record.wav", wavHeader(10) + QByteArray(10, '\x11')); },
         [&] { EXPECT_EQ(dir.read("Audio Record.wav"), wavHeader(10) + QByteArray(10, '\x11')); }},
        {"a folder", [&] { dir.mkdir("Audio Record.wav"); }, [&] { EXPECT_TRUE(QFileInfo(wavPath).isDir()); }},
        {"a pipe", [&] { ::mkfifo(QFile::encodeName(wavPath).constData(), 0600); },
         [&] { EXPECT_EQ(QFileInfo(wavPath).size(), 0); }},
    };
    for (const Case &c : cases) {
        dir.write("Audio Record.bin", bin);
        c.plant();
        const WavResult result = makeWavBeside(binPath, wavPath);
        EXPECT_EQ(result.outcome, WavResult::Outcome::Existing) << c.what;
        EXPECT_TRUE(result.message.isEmpty()) << c.what;
        c.check();
        EXPECT_EQ(dir.read("Audio Record.bin"), bin) << c.what;
        EXPECT_FALSE(filesInFolder().join(' ').contains("tmp~")) << c.what;
        QFile::remove(wavPath);
        QDir(wavPath).removeRecursively();
    }
}

TEST_F(CprAudioFiles, AudioRecordProblems)
{
    // No record: no sound, no WAV, no message.
    view.store.at(slot).hasAudio = true;
    LoadAudioRecord(view, binPath, slot);
    MakeAudioRecordWav(view, slot);
    EXPECT_FALSE(view.store.at(slot).hasAudio);
    EXPECT_FALSE(QFileInfo::exists(wavPath));
    EXPECT_TRUE(platform.messages.isEmpty());

    // Shorter than its start time: one warning naming it, and the case opens without sound.
    for (int length = 0; length < 4; ++length) {
        platform.messages.clear();
        dir.write("Audio Record.bin", QByteArray(length, '\x01'));
        view.store.at(slot).hasAudio = true;
        LoadAudioRecord(view, binPath, slot);
        MakeAudioRecordWav(view, slot);
        ASSERT_EQ(platform.messages.size(), 1) << length;
        EXPECT_EQ(platform.messages[0].text, "Attempted to access " + binPath
                                                 + " past its end.\nThe case is opened without its sound.");
        EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning);
        EXPECT_FALSE(view.store.at(slot).hasAudio);
        EXPECT_TRUE(view.store.at(slot).audioRecordPath.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(wavPath));
    }

    // A WAV that cannot be made is named with the system's reason; the case keeps its
    // sound, and nothing is left half made.
    platform.messages.clear();
    ReadOnlyFolder locked([](const QString &path) {
        QFile out(path + "/Audio Record.bin");
        out.open(QIODevice::WriteOnly);
        out.write(audioBin(0, QByteArray(16010, '\x80')));
    });
    if (!locked.isLocked())
        GTEST_SKIP() << ReadOnlyFolder::skipReason().toStdString();
    const QString lockedBin = locked.path() + "/Audio Record.bin";
    LoadAudioRecord(view, lockedBin, slot);
    MakeAudioRecordWav(view, slot);
    ASSERT_EQ(platform.messages.size(), 1);
    const QString text = platform.messages[0].text;
    EXPECT_TRUE(text.startsWith(locked.path() + "/Audio Record.wav cannot be created.\n")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("\nThe sound is played from " + lockedBin + ".")) << text.toStdString();
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning);
    EXPECT_TRUE(view.store.at(slot).hasAudio);
    EXPECT_EQ(view.store.at(slot).audioDurationSec, 1);
    EXPECT_EQ(QDir(locked.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Audio Record.bin"});
}

// The head taken from the first 4 bytes and the size is the one parsed from the whole
// file, errors included.
TEST_F(CprAudioFiles, TheHeadOfTheStartAndSizeIsTheHeadOfTheWholeFile)
{
    using namespace AudioRecordFile;
    EXPECT_FALSE(readHead(binPath).has_value());
    for (const QByteArray &bytes : {QByteArray(), QByteArray(3, '\x01'), audioBin(-7, {}), audioBin(123456, "\x80"),
                                    audioBin(3000, QByteArray(16001, '\x7f'))}) {
        const QString bin = dir.write("Audio Record.bin", bytes);
        std::optional<FileError::Kind> wholeError, startError;
        Head whole, start;
        try {
            BinaryReader in(bytes, bin);
            whole = parse(in);
        } catch (const FileError &e) {
            wholeError = e.kind();
        }
        try {
            start = readHead(bin).value();
        } catch (const FileError &e) {
            startError = e.kind();
        }
        EXPECT_EQ(startError, wholeError) << bytes.size();
        EXPECT_EQ(start.startMs, whole.startMs) << bytes.size();
        EXPECT_EQ(start.sampleBytes, whole.sampleBytes) << bytes.size();
    }
}
