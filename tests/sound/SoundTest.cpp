#include "sound/AudioOutput.h"
#include "sound/PluginAudioOutput.h"
#include "base/ProgramPlugin.h"
#include "sound/RecordedSound.h"
#include "sound/SoundClass.h"
#include "sound/SoundStream.h"
#include "sound/WaveFile.h"
#include "support/TempDir.h"
#include "tools/DeviceFolderWriter.h"
#include <QFile>
#include <functional>

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QIODevice>
#include <QThread>
#include <gtest/gtest.h>

namespace {

constexpr char Silence = char(0x80);

// A sound whose every byte tells where it came from.
QByteArray countingSound(int size)
{
    QByteArray s(size, '\0');
    for (int i = 0; i < size; ++i)
        s[i] = char(i % 251);
    return s;
}

QByteArray readBytes(SoundStream &stream, int count)
{
    QByteArray out(count, '\0');
    stream.read(out.data(), count);
    return out;
}

QByteArray wavBytes(const QByteArray &samples, uint32_t rate = 16000)
{
    QByteArray w;
    const auto u32 = [&](uint32_t v) { w.append(reinterpret_cast<const char *>(&v), 4); };
    const auto u16 = [&](uint16_t v) { w.append(reinterpret_cast<const char *>(&v), 2); };
    w.append("RIFF");
    u32(uint32_t(samples.size() + 36));
    w.append("WAVE");
    w.append("fmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate);
    u16(1);
    u16(8);
    w.append("data");
    u32(uint32_t(samples.size()));
    w.append(samples);
    return w;
}

// Collects what a pull-mode sink would read.
class CollectingOutput : public AudioOutput
{
public:
    bool available = true;
    bool accepts = true;
    QIODevice *source = nullptr;
    int starts = 0;
    int stops = 0;

    bool isAvailable() const override { return available; }
    bool start(QIODevice *s, const WaveFormat &) override
    {
        ++starts;
        source = accepts ? s : nullptr;
        return accepts;
    }
    void stop() override
    {
        ++stops;
        source = nullptr;
    }
    int64_t processedUSecs() const override { return pulled * 1000000 / 16000; }
    QByteArray pull(int count)
    {
        pulled += count;
        return source->read(count);
    }
    int64_t pulled = 0;
};

} // namespace

TEST(SoundStream, PlaysFromTheOffsetAtOnceAndSilenceAfterTheEnd)
{
    const QByteArray sound = countingSound(20000);
    SoundStream stream(sound, 8000);
    ASSERT_TRUE(stream.start(0));

    // The ring is filled at the start: the sound comes first, then silence for good.
    EXPECT_EQ(readBytes(stream, 8000), sound.mid(0, 8000));
    EXPECT_EQ(readBytes(stream, 8000), sound.mid(8000, 8000));
    EXPECT_EQ(readBytes(stream, 8000), sound.mid(16000, 4000) + QByteArray(4000, Silence));
    EXPECT_EQ(readBytes(stream, 64000), QByteArray(64000, Silence)); // never the start again
    EXPECT_EQ(stream.readCursor(), 20000u);
    EXPECT_EQ(stream.bytesPlayed(), 88000);
}

TEST(SoundStream, OffsetsAndReadSizes)
{
    const QByteArray sound = countingSound(80000);
    struct Row {
        const char *what;
        int64_t startMs;
        QByteArray expected; // the first 48000 bytes the output reads
    };
    const Row rows[] = {
        {"1000 ms in is byte 16000", 1000, sound.mid(16000, 48000)},
        {"the end inside the first ring", 4000, sound.mid(64000) + QByteArray(32000, Silence)},
        {"the end inside a later quarter", 2200, sound.mid(35200) + QByteArray(3200, Silence)},
        {"exactly at the end", 5000, QByteArray(48000, Silence)},
        {"past the end", 9000, QByteArray(48000, Silence)},
        {"beyond what a sound can hold", int64_t(MaxWaveDataSize), QByteArray(48000, Silence)},
    };
    for (const Row &row : rows) {
        // Reads of odd sizes see the same bytes as whole quarters.
        SoundStream stream(sound, 8000);
        ASSERT_TRUE(stream.start(row.startMs)) << row.what;
        QByteArray got;
        while (got.size() < 48000)
            got += readBytes(stream, std::min<qsizetype>(777, 48000 - got.size()));
        EXPECT_EQ(got, row.expected) << row.what;
    }

    SoundStream stream(sound, 8000);
    EXPECT_FALSE(stream.start(-1));
    EXPECT_EQ(readBytes(stream, 40000), QByteArray(40000, Silence));
}

TEST(WaveFile, LoaderAcceptsOnlyWholeChunks)
{
    const QByteArray good = wavBytes(countingSound(1000));
    WaveSound sound;
    ASSERT_TRUE(ParseWave(good, sound));
    EXPECT_EQ(sound.format.samplesPerSec, 16000u);
    EXPECT_EQ(sound.format.bitsPerSample, 8);
    EXPECT_EQ(sound.samples, countingSound(1000));

    QByteArray noData = good.left(36);
    QByteArray longData = good;
    longData.chop(1); // the data chunk promises one byte more than the file has
    QByteArray shortFmt = good.left(30); // "fmt " chunk cut inside its 16 bytes
    QByteArray notRiff = good;
    notRiff.replace(0, 4, "RIFX");
    for (const QByteArray &bad : {noData, longData, shortFmt, notRiff, QByteArray()})
        EXPECT_FALSE(ParseWave(bad, sound));

    // Chunks before "fmt " and between "fmt " and "data" are skipped, odd sizes padded.
    QByteArray withExtra = good;
    withExtra.insert(36, QByteArray("LIST\x03\x00\x00\x00" "abc\x00", 12));
    ASSERT_TRUE(ParseWave(withExtra, sound));
    EXPECT_EQ(sound.samples.size(), 1000);

    TempDir dir;
    EXPECT_FALSE(LoadWave(dir.file("missing.wav"), sound));
}

TEST(SoundClass, CreatePlayStopAndDuration)
{
    TempDir dir;
    const QString path = dir.write("Audio Record.wav", wavBytes(countingSound(20000)));
    CollectingOutput output;
    {
        SoundClass sound(output);
        EXPECT_FALSE(sound.Play(0)); // nothing loaded
        ASSERT_TRUE(sound.Create(path));
        ASSERT_TRUE(sound.Play(0));
        EXPECT_TRUE(sound.Play(500)); // already playing: nothing changes
        EXPECT_EQ(output.starts, 1);
        EXPECT_EQ(sound.playedMs(), 0);
        EXPECT_EQ(output.pull(8000), countingSound(20000).left(8000));
        EXPECT_EQ(sound.playedMs(), 500); // the output's clock
        EXPECT_EQ(sound.GetDurationSec(), 1);
    }
    EXPECT_EQ(output.stops, 1); // destruction stops first

    CollectingOutput noDevice;
    noDevice.available = false;
    EXPECT_FALSE(SoundClass(noDevice).Create(path));
    CollectingOutput refusing;
    refusing.accepts = false;
    SoundClass refused(refusing);
    ASSERT_TRUE(refused.Create(path));
    EXPECT_FALSE(refused.Play(0));
    EXPECT_FALSE(refused.isPlaying());
    EXPECT_EQ(refused.playedMs(), 0);
    SoundClass negative(output);
    ASSERT_TRUE(negative.Create(path));
    EXPECT_FALSE(negative.Play(-1));
}

TEST(SoundClass, DurationIsWholeSecondsOf16000Bytes)
{
    TempDir dir;
    CollectingOutput output;
    for (const auto &[bytes, seconds] : {std::pair{16000, 1}, std::pair{15999, 0}, std::pair{48000, 3}}) {
        SoundClass sound(output);
        ASSERT_TRUE(sound.Create(dir.write("a.wav", wavBytes(countingSound(bytes)))));
        EXPECT_EQ(sound.GetDurationSec(), seconds) << bytes;
    }
}

// Everything a sink pulls, kept for the test to compare.
class RecordingDevice : public QIODevice
{
public:
    explicit RecordingDevice(SoundStream &stream) : m_stream(stream) {}
    QByteArray pulled;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return qint64(m_stream.ringBytes()); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        m_stream.read(data, maxSize);
        pulled.append(data, qsizetype(maxSize));
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    SoundStream &m_stream;
};

// Plays through the program's sound-output plugin to the system's audio server (CI starts
// PulseAudio with a null sink) and checks that the sink was handed the sound from the
// requested offset at once.
TEST(SoundClass, PlaysThroughTheRealAudioOutput)
{
    PluginAudioOutput output;
    ASSERT_EQ(output.unusableReason(), QString()) << "the program's sound-output plugin is not there";
    if (!output.isAvailable())
        GTEST_SKIP() << "no audio output device reachable (set PULSE_SERVER to a running server)";

    const QByteArray samples = countingSound(16000 * 4);
    WaveSound wave;
    ASSERT_TRUE(ParseWave(wavBytes(samples), wave));
    SoundStream stream(samples, 8000);
    ASSERT_TRUE(stream.start(1000));
    RecordingDevice device(stream);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);

    ASSERT_TRUE(output.start(&device, wave.format));
    QElapsedTimer timer;
    timer.start();
    while (device.pulled.size() < 48000 && timer.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    output.stop();
    ASSERT_GE(device.pulled.size(), 48000) << "the sink did not pull the sound";
    EXPECT_EQ(device.pulled.left(48000), samples.mid(16000, 48000));

    // The same through SoundClass, as the playback uses it.
    TempDir dir;
    PluginAudioOutput programOutput;
    SoundClass sound(programOutput);
    ASSERT_TRUE(sound.Create(dir.write("Audio Record.wav", wavBytes(samples))));
    ASSERT_TRUE(sound.Play(0));
    timer.restart();
    while (sound.stream()->bytesPlayed() < 8000 && timer.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    EXPECT_GE(sound.stream()->bytesPlayed(), 8000);
    sound.Stop();
}

// Without its plugin the system's output plays nothing and says which file it looked for
// where; once the plugin is there again, a new output plays through it.
TEST(PluginAudioOutput, WithoutItsPluginTheOutputCannotPlayAndSaysWhy)
{
    TempDir empty;
    const QStringList buildFolders = ProgramPlugin::folders();
    ProgramPlugin::setFolders({empty.path()});
    PluginAudioOutput missing;
    const QString reason = missing.unusableReason();
    EXPECT_TRUE(reason.contains(QLatin1String("libravelin_sound_output.so"))) << reason.toStdString();
    EXPECT_TRUE(reason.contains(empty.path())) << reason.toStdString();
    EXPECT_FALSE(missing.isAvailable());
    QBuffer source;
    EXPECT_FALSE(missing.start(&source, WaveFormat{1, 1, 16000, 16000, 1, 8, 0}));
    EXPECT_EQ(missing.processedUSecs(), 0);
    EXPECT_FALSE(missing.hasFailed());
    missing.stop();

    ProgramPlugin::setFolders(buildFolders);
    EXPECT_EQ(PluginAudioOutput().unusableReason(), QString());
}

// Playback takes the sound of the record bound to the case: the WAV beside it only when
// it is a file of the record's own size, else the record's samples.
TEST(RecordedSound, TheWavBesideTheRecordOnlyWhenItMatches)
{
    TempDir dir;
    const QByteArray samples = QByteArray::fromHex("7f8081827e") + QByteArray(16000, char(0x90));
    const QString bin = dir.write("audio record.bin", DeviceFiles::encodeAudioRecord(500, samples));
    const QByteArray otherSamples(samples.size(), char(0x22));
    const QString wav = dir.file("Audio Record.wav");
    struct Case { const char *what; std::function<void()> plant; QByteArray heard; };
    const Case cases[] = {
        {"no WAV", [] {}, samples},
        {"its WAV", [&] { dir.write("Audio Record.wav", wavBytes(otherSamples)); }, otherSamples},
        {"a WAV of another size", [&] { dir.write("Audio Record.wav", wavBytes(otherSamples + "x")); }, samples},
        {"a link to a WAV of its size",
         [&] { QFile::link(dir.write("elsewhere.wav", wavBytes(otherSamples)), wav); }, samples},
    };
    for (const Case &c : cases) {
        QFile::remove(wav);
        c.plant();
        WaveSound sound;
        ASSERT_TRUE(LoadRecordedSound(bin, sound)) << c.what;
        EXPECT_EQ(sound.samples, c.heard) << c.what;
        EXPECT_EQ(sound.format.samplesPerSec, 16000u) << c.what;
        EXPECT_EQ(sound.format.bitsPerSample, 8) << c.what;
    }
    WaveSound none;
    EXPECT_FALSE(LoadRecordedSound(dir.file("missing.bin"), none));
}

// A start the system refuses says why: a device that is not there, a format no device takes.
TEST(PluginAudioOutput, ARefusedStartSaysWhatTheSystemReported)
{
    QBuffer source;
    source.open(QIODevice::ReadOnly);
    PluginAudioOutput gone(QByteArrayLiteral("no such device"));
    ASSERT_EQ(gone.unusableReason(), QString()) << "the program's sound-output plugin is not there";
    EXPECT_FALSE(gone.start(&source, WaveFormat{1, 1, 16000, 16000, 1, 8, 0}));
    EXPECT_EQ(gone.startFailure().kind, AudioOutputFailure::Kind::NoDevice);

    PluginAudioOutput output;
    if (!output.isAvailable())
        GTEST_SKIP() << "no audio output device reachable (set PULSE_SERVER to a running server)";
    EXPECT_FALSE(output.start(&source, WaveFormat{1, 1, 16000, 16000 * 3, 3, 24, 0})); // 24-bit
    EXPECT_EQ(output.startFailure().kind, AudioOutputFailure::Kind::FormatRefused);
    EXPECT_FALSE(output.startFailure().device.isEmpty());
}
