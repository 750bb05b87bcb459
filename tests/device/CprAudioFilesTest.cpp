#include "device/AudioRecordFile.h"
#include "device/CprFeedbackFile.h"
#include "base/FileError.h"
#include "case/CaseViewFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <optional>

namespace {

QByteArray audioBin(int32_t startMs, const QByteArray &samples)
{
    return DeviceFiles::encodeAudioRecord(startMs, samples);
}

uint32_t u32At(const QByteArray &b, qsizetype at)
{
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16
           | uint32_t(uint8_t(b[at + 3])) << 24;
}

} // namespace

class CprAudioFiles : public ::testing::Test, public CaseViewFixture
{
protected:
    int slot = view.store.AllocateCaseSlot(QString());
    QString folder = dir.path() + "/";

    std::vector<std::pair<int32_t, int32_t>> feedback() const
    {
        std::vector<std::pair<int32_t, int32_t>> out;
        for (const CprFeedbackRecord &r : view.store.caseAt(slot)->cprFeedback)
            out.emplace_back(r.timeMs, r.depth);
        return out;
    }
};

TEST_F(CprAudioFiles, FeedbackRecordsInFileOrder)
{
    struct Case { const char *what; std::optional<QByteArray> file; bool has;
                  std::vector<std::pair<int32_t, int32_t>> records; };
    const Case cases[] = {
        {"no file", std::nullopt, false, {}},
        {"empty file", QByteArray(), true, {}},
        {"two records", QByteArray::fromHex("e8030000 32000000 ffffffff 41000000"), true, {{1000, 50}, {-1, 65}}},
    };
    for (const Case &c : cases) {
        QFile::remove(dir.file("CPR Feedback.bin"));
        if (c.file)
            dir.write("CPR Feedback.bin", *c.file);
        view.store.at(slot).hasCprFeedback = !c.has; // a reused slot's old value
        LoadCprFeedback(view, folder, slot);
        EXPECT_EQ(bool(view.store.at(slot).hasCprFeedback), c.has) << c.what;
        EXPECT_EQ(feedback(), c.records) << c.what;
        EXPECT_EQ(view.store.caseAt(slot)->cprFeedbackCount, int32_t(c.records.size())) << c.what;
    }
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(CprAudioFiles, FeedbackWithAPartialRecordKeepsTheWholeRecords)
{
    const QString path = dir.write("CPR Feedback.bin", QByteArray::fromHex("e8030000 32000000 d0070000"));
    LoadCprFeedback(view, folder, slot);
    EXPECT_TRUE(view.store.at(slot).hasCprFeedback);
    EXPECT_EQ(feedback(), (std::vector<std::pair<int32_t, int32_t>>{{1000, 50}}));
    EXPECT_EQ(view.store.caseAt(slot)->cprFeedbackCount, 1);
    EXPECT_EQ(platform.texts(), QStringList{CprFeedbackFile::partialRecordText(path, 1, 4)});
}

TEST_F(CprAudioFiles, MakesTheWavFromTheRecord)
{
    struct Case { qsizetype samples; qsizetype wavSize; int32_t duration; };
    const Case cases[] = {{0, 44, 0}, {15999, 16043, 0}, {16000, 16044, 1}, {40000, 40044, 2}};
    for (const Case &c : cases) {
        QByteArray samples(c.samples, '\x80');
        for (qsizetype i = 0; i < samples.size(); i += 7)
            samples[i] = char(i % 256);
        dir.write("Audio Record.bin", audioBin(-250, samples));
        QFile::remove(dir.file("Audio Record.wav"));
        view.store.at(slot).audioDurationSec = -1;

        LoadAudioRecord(view, folder, slot);
        const QByteArray wav = dir.read("Audio Record.wav");
        EXPECT_EQ(wav.size(), c.wavSize) << c.samples;
        EXPECT_EQ(u32At(wav, 4), uint32_t(c.samples + 36)) << c.samples;
        EXPECT_EQ(u32At(wav, 40), uint32_t(c.samples)) << c.samples;
        EXPECT_TRUE(wav.mid(44) == samples) << c.samples; // unchanged, 0x80 included
        EXPECT_TRUE(view.store.at(slot).hasAudio);
        EXPECT_EQ(view.store.at(slot).audioStartMs, -250);
        EXPECT_EQ(view.store.at(slot).audioDurationSec, c.duration) << c.samples;
    }
    EXPECT_EQ(dir.read("Audio Record.wav").left(44).toHex(' '),
              QByteArray::fromHex("52494646 649c0000 57415645 666d7420 10000000 0100 0100 803e0000 803e0000"
                                  "0100 0800 64617461 409c0000")
                  .toHex(' '));
    EXPECT_EQ(dir.read("Audio Record.bin").size(), 40004); // never rewritten
}

TEST_F(CprAudioFiles, KeepsAMatchingWavAndRemakesAnOtherOne)
{
    dir.write("Audio Record.bin", audioBin(3000, QByteArray(16000, '\x80')));
    LoadAudioRecord(view, folder, slot);
    ASSERT_EQ(QFileInfo(dir.file("Audio Record.wav")).size(), 16044);

    // Second open: the WAV of the same size stays as it is; only the start is read.
    QByteArray marked = dir.read("Audio Record.wav");
    marked[100] = '\x11';
    dir.write("Audio Record.wav", marked);
    dir.write("Audio Record.bin", audioBin(4000, QByteArray(16000, '\x80')));
    view.store.at(slot).audioDurationSec = 0;
    view.store.at(slot).hasAudio = false;
    LoadAudioRecord(view, folder, slot);
    EXPECT_EQ(dir.read("Audio Record.wav"), marked);
    EXPECT_TRUE(view.store.at(slot).hasAudio);
    EXPECT_EQ(view.store.at(slot).audioStartMs, 4000);
    EXPECT_EQ(view.store.at(slot).audioDurationSec, 0);

    // A WAV of another recording is made again.
    dir.write("Audio Record.bin", audioBin(5000, QByteArray(32000, '\x81')));
    LoadAudioRecord(view, folder, slot);
    const QByteArray wav = dir.read("Audio Record.wav");
    EXPECT_EQ(wav.size(), 32044);
    EXPECT_EQ(wav.mid(44), QByteArray(32000, '\x81'));
    EXPECT_EQ(view.store.at(slot).audioStartMs, 5000);
    EXPECT_EQ(view.store.at(slot).audioDurationSec, 2);
}

// The head taken from the first 4 bytes and the size is the one parsed from the whole
// file, errors included.
TEST_F(CprAudioFiles, TheHeadOfTheStartAndSizeIsTheHeadOfTheWholeFile)
{
    using namespace AudioRecordFile;
    EXPECT_FALSE(readHead(dir.file("Audio Record.bin")).has_value());
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

TEST_F(CprAudioFiles, AudioRecordProblems)
{
    // No record: no sound, no WAV, no message.
    view.store.at(slot).hasAudio = true;
    LoadAudioRecord(view, folder, slot);
    EXPECT_FALSE(view.store.at(slot).hasAudio);
    EXPECT_FALSE(QFileInfo::exists(dir.file("Audio Record.wav")));
    EXPECT_TRUE(platform.messages.isEmpty());

    // Shorter than its start time: the end-of-file error naming it.
    for (int length = 0; length < 4; ++length) {
        const QString bin = dir.write("Audio Record.bin", QByteArray(length, '\x01'));
        try {
            LoadAudioRecord(view, folder, slot);
            ADD_FAILURE() << length;
        } catch (const FileError &e) {
            EXPECT_EQ(e.message(), "Attempted to access " + bin + " past its end.");
        }
        EXPECT_FALSE(view.store.at(slot).hasAudio);
        EXPECT_FALSE(QFileInfo::exists(dir.file("Audio Record.wav")));
    }

    // A WAV that cannot be written is named with the system's reason; the case keeps its
    // sound, and nothing is left half made.
    dir.write("Audio Record.bin", audioBin(0, QByteArray(16010, '\x80')));
    dir.mkdir("Audio Record.wav");
    LoadAudioRecord(view, folder, slot);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, "An error occurred while writing " + dir.file("Audio Record.wav")
                                             + ".\nIs a directory\nThe sound is played from "
                                             + dir.file("Audio Record.bin") + ".");
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Warning);
    EXPECT_TRUE(view.store.at(slot).hasAudio);
    EXPECT_EQ(view.store.at(slot).audioDurationSec, 1);
    EXPECT_TRUE(QFileInfo(dir.file("Audio Record.wav")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Audio Record.bin"});
}
