// The enlarged ECG played through the system's audio server (CI starts PulseAudio): what
// a null sink received, recorded from its monitor, against where the red centre line was
// at each playback step. RAVELIN_SYNC_SECONDS sets how long it plays
// (20 s by default; 300 for the check by hand of a five-minute play).
#include "DetailFixture.h"
#include "device/AudioRecordFile.h"
#include "sound/PluginAudioOutput.h"
#include "ecg/CMagnified.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int Rate = 16000;          // bytes per second of the record and of the recording
constexpr int32_t AudioStartMs = 1000;
constexpr int BurstBytes = Rate / 20; // 50 ms

// Silence with a 1 kHz burst at the start of every second of the record.
QByteArray burstsEverySecond(int seconds)
{
    QByteArray record(seconds * Rate, char(0x80));
    for (int s = 0; s < seconds; ++s)
        for (int i = 0; i < BurstBytes; ++i)
            record[s * Rate + i] = (i / 8) % 2 ? char(0xE0) : char(0x20);
    return record;
}

// Byte positions in a recording where a burst begins after at least half a second of quiet.
std::vector<int64_t> burstOnsets(const QByteArray &recording)
{
    std::vector<int64_t> onsets;
    int64_t quiet = Rate;
    for (qsizetype i = 0; i < recording.size(); ++i) {
        const bool loud = std::abs(int(uint8_t(recording[i])) - 128) > 40;
        if (loud && quiet >= Rate / 2)
            onsets.push_back(i);
        quiet = loud ? 0 : quiet + 1;
    }
    return onsets;
}

// A null sink of the test's own on the audio server, so that the sound of tests running
// beside it does not mix into what is recorded; unloaded again at the end.
class PrivateSink
{
public:
    PrivateSink() : m_name("ravelin_sync_" + QByteArray::number(QCoreApplication::applicationPid()))
    {
        const QString index = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                                     QStringLiteral("sink_name=") + QString::fromLatin1(m_name)});
        bool ok = false;
        m_module = index.trimmed().toInt(&ok);
        if (!ok)
            m_module = -1;
    }
    ~PrivateSink()
    {
        if (m_module >= 0)
            pactl({QStringLiteral("unload-module"), QString::number(m_module)});
    }
    PrivateSink(const PrivateSink &) = delete;
    PrivateSink &operator=(const PrivateSink &) = delete;

    const QByteArray &name() const { return m_name; }
    // The sink was made and output, made for it, finds it (the program's audio devices learn
    // of it a little after the server made it).
    bool ready(const AudioOutput &output) const
    {
        if (m_module < 0)
            return false;
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < 10000) {
            if (output.isAvailable())
                return true;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(20);
        }
        return false;
    }

private:
    static QString pactl(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral("pactl"), arguments);
        process.waitForFinished(10000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    QByteArray m_name;
    int m_module = -1;
};

class PlaybackSync : public ::testing::Test
{
protected:
    PrivateSink sink;
    PluginAudioOutput output{sink.name()}; // outlives the detail view that plays through it
    DetailFixture fixture;
};

TEST_F(PlaybackSync, SoundHeardAndCentreLineStayWithin100Milliseconds)
{
    ASSERT_EQ(output.unusableReason(), QString()) << "the program's sound-output plugin is not there";
    if (!PluginAudioOutput().isAvailable())
        GTEST_SKIP() << "no audio output device reachable (set PULSE_SERVER to a running server)";
    if (QStandardPaths::findExecutable("parec").isEmpty() || QStandardPaths::findExecutable("pactl").isEmpty())
        GTEST_SKIP() << "parec and pactl (pulseaudio-utils) are not installed";
    ASSERT_TRUE(sink.ready(output)) << "no null sink of the test's own on the audio server";
    const int seconds = qEnvironmentVariableIsSet("RAVELIN_SYNC_SECONDS")
                            ? qEnvironmentVariableIntValue("RAVELIN_SYNC_SECONDS")
                            : 20;

    fixture.makeDetailView();
    CDetailSub2 &host = fixture.enlarged();
    host.setAudioOutput(output);
    const int slot = fixture.caseWithEvents({0, (seconds + 30) * 1000});
    fixture.view.store.at(slot).hasAudio = true;
    fixture.view.store.at(slot).audioStartMs = AudioStartMs;
    const int recordSeconds = seconds + 10;
    fixture.view.store.at(slot).audioRecordPath = fixture.dir.write(
        QStringLiteral("Audio Record.bin"),
        DeviceFiles::encodeAudioRecord(AudioStartMs, burstsEverySecond(recordSeconds)));

    // The recording of the sink's monitor, each chunk stamped when it arrived.
    QElapsedTimer clock;
    clock.start();
    QByteArray recording;
    int64_t firstByteNs = std::numeric_limits<int64_t>::max(); // estimate of when byte 0 was played
    QProcess parec;
    QObject::connect(&parec, &QProcess::readyReadStandardOutput, [&] {
        recording += parec.readAllStandardOutput();
        // A chunk arrives after its last byte was played; the chunk that came quickest
        // gives the best estimate of when the recording began.
        const int64_t startNs = clock.nsecsElapsed() - int64_t(recording.size()) * 1000000000 / Rate;
        firstByteNs = std::min(firstByteNs, startNs);
    });
    parec.start(QStringLiteral("parec"), {QStringLiteral("--raw"), QStringLiteral("--format=u8"),
                                          QStringLiteral("--rate=16000"), QStringLiteral("--channels=1"),
                                          QStringLiteral("--latency-msec=10"), QStringLiteral("-d"),
                                          QString::fromLatin1(sink.name() + ".monitor")});
    ASSERT_TRUE(parec.waitForStarted(10000));
    QElapsedTimer wait;
    wait.start();
    while (recording.isEmpty() && wait.elapsed() < 10000)
        parec.waitForReadyRead(100);
    ASSERT_FALSE(recording.isEmpty()) << "parec records nothing from the sink's monitor";

    // Where the centre line stood after each step.
    struct Step {
        int64_t ns;
        int32_t centreMs;
    };
    std::vector<Step> steps;
    QObject::connect(&host.playTimer(), &QTimer::timeout,
                     [&] { steps.push_back({clock.nsecsElapsed(), host.window()->m_nCentreMs}); });

    fixture.select(slot, AudioStartMs / 1000, true);
    host.OnPlay();
    QEventLoop loop;
    QTimer::singleShot((seconds + 2) * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    host.StopPlayback();
    parec.terminate();
    parec.waitForFinished(5000);

    // Burst k is the start of record second k + 1: playback began 200 ms into the record.
    const std::vector<int64_t> onsets = burstOnsets(recording);
    ASSERT_GE(int(onsets.size()), seconds - 1) << "the sink did not receive the bursts";
    std::vector<int64_t> heardNs;
    for (int64_t at : onsets)
        heardNs.push_back(firstByteNs + at * 1000000000 / Rate);

    // At each step after the first burst: the record's position heard then against the
    // centre line's.
    std::vector<std::pair<int64_t, double>> offsets; // step time, centre minus heard (ms)
    for (const Step &s : steps) {
        const auto after = std::upper_bound(heardNs.begin(), heardNs.end(), s.ns);
        if (after == heardNs.begin() || after == heardNs.end())
            continue;
        const size_t k = size_t(after - heardNs.begin()) - 1;
        const double heardMs = 1000.0 * double(k + 1) + double(s.ns - heardNs[k]) / 1e6;
        offsets.emplace_back(s.ns, double(s.centreMs - AudioStartMs) - heardMs);
    }
    ASSERT_GE(int(offsets.size()), 5 * (seconds - 3));

    // The offset at the start and at the end: the median over the first and the last two
    // seconds, so that one late redraw on a busy machine does not decide it.
    const auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    std::vector<double> firstTwo, lastTwo;
    double worst = 0;
    for (const auto &[ns, offset] : offsets) {
        if (ns < offsets.front().first + 2000000000)
            firstTwo.push_back(offset);
        if (ns > offsets.back().first - 2000000000)
            lastTwo.push_back(offset);
        worst = std::max(worst, std::abs(offset));
    }
    const double atStart = median(firstTwo);
    const double atEnd = median(lastTwo);
    std::printf("played %d s: centre line minus sound heard %.1f ms at the start, %.1f ms at the end; "
                "largest %.1f ms over %zu steps\n",
                seconds, atStart, atEnd, worst, offsets.size());
    EXPECT_LE(std::abs(atStart), 100.0);
    EXPECT_LE(std::abs(atEnd), 100.0);
}

} // namespace
