// Playback of the enlarged ECG, one step at a time as the 200 ms timer would run it:
// the centre, the review position, the sound and when playback stops.
#include "DetailFixture.h"
#include "app/CDetailSub.h"
#include "app/EcgScrollRule.h"
#include "device/AudioRecordFile.h"
#include "sound/SoundClass.h"
#include "sound/SoundStream.h"
#include "sound/SoundText.h"
#include "ecg/CMagnified.h"

#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

class EnlargedPlayback : public ::testing::Test, public DetailFixture
{
protected:
    void SetUp() override { makeDetailView(); }

    CMagnified &window() { return *enlarged().window(); }

    void steps(int count)
    {
        for (int i = 0; i < count; ++i)
            enlarged().PlaybackStep();
    }

    // A record whose every 200 ms chunk is unique, so that a chunk tells where it came from.
    static QByteArray record(int seconds)
    {
        QByteArray bytes(seconds * 16000, '\0');
        uint32_t x = 12345;
        for (char &b : bytes) {
            x = x * 1103515245u + 12345u;
            b = char((x >> 16) & 0x7F); // never 0x80, the silence byte
        }
        return bytes;
    }

    // A case with events at 0 and 60 s whose audio record starts at startMs, with its
    // "Audio Record.bin" of seconds length and the WAV made of it beside its archive unless
    // withRecord is false.
    int caseWithAudio(int32_t startMs, int seconds, bool withRecord = true)
    {
        const int slot = caseWithEvents({0, 60000});
        view.store.at(slot).hasAudio = true;
        view.store.at(slot).audioStartMs = startMs;
        view.store.at(slot).audioDurationSec = 0;
        view.store.at(slot).audioRecordPath = dir.file(QStringLiteral("Audio Record.bin"));
        if (withRecord) {
            dir.write(QStringLiteral("Audio Record.bin"), DeviceFiles::encodeAudioRecord(startMs, record(seconds)));
            dir.write(QStringLiteral("Audio Record.wav"),
                      AudioRecordFile::wavHeader(uint32_t(seconds) * 16000) + record(seconds));
        }
        return slot;
    }

    // What the output receives in 200 ms: "-" when no sound runs, "silence", or "@ms",
    // where the chunk starts in the record.
    QString heard(const QByteArray &chunk, int recordSeconds)
    {
        if (chunk.isEmpty())
            return QStringLiteral("-");
        if (chunk == QByteArray(chunk.size(), char(0x80)))
            return QStringLiteral("silence");
        const qsizetype at = record(recordSeconds).indexOf(chunk);
        return at < 0 ? QStringLiteral("?") : QStringLiteral("@%1").arg(at / 16);
    }

    // Lets the output play 200 ms (unless it is still starting up), then runs one step.
    // Returns "centre heard" for the step.
    QString tick(int recordSeconds, int &startupTicks)
    {
        QByteArray chunk;
        if (audio.source && startupTicks > 0) {
            --startupTicks;
        } else if (audio.source) {
            chunk = audio.source->read(3200);
            audio.playedUs += 200000;
        }
        const QString what = heard(chunk, recordSeconds);
        enlarged().PlaybackStep();
        return QStringLiteral("%1 %2").arg(window().m_nCentreMs).arg(what);
    }
};
TEST_F(EnlargedPlayback, AdvancesTwoHundredMillisecondsPerStepAndStopsAtTheLastEvent)
{
    const int slot = caseWithEvents({0, 5000, 10000});
    select(slot, 7, true);
    enlarged().playButton()->click();
    ASSERT_TRUE(enlarged().isPlaying());
    EXPECT_TRUE(enlarged().playTimer().isActive());
    EXPECT_EQ(enlarged().playTimer().interval(), 200);
    EXPECT_EQ(enlarged().playTimer().timerType(), Qt::PreciseTimer);
    EXPECT_TRUE(enlarged().playButton()->isChecked());
    EXPECT_FALSE(enlarged().stopButton()->isChecked());
    const int selectionsBefore = treeSelections;

    steps(1);
    EXPECT_EQ(window().m_nCentreMs, 7200);
    EXPECT_TRUE(window().m_bPlaying);
    // The review position, the tree and the scroll bar follow once a second.
    steps(3);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(7));
    EXPECT_EQ(treeSelections, selectionsBefore);
    steps(1);
    EXPECT_EQ(window().m_nCentreMs, 8000);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(8));
    EXPECT_EQ(enlarged().scrollBar()->value(), 8);
    EXPECT_EQ(treeSelections, selectionsBefore + 1);

    steps(10);
    EXPECT_EQ(window().m_nCentreMs, 10000);
    EXPECT_TRUE(enlarged().isPlaying());
    steps(1); // the centre has reached the last event
    EXPECT_FALSE(enlarged().isPlaying());
    EXPECT_FALSE(enlarged().playTimer().isActive());
    EXPECT_EQ(window().m_nCentreMs, 10000);
    EXPECT_FALSE(window().m_bPlaying);
    EXPECT_FALSE(enlarged().playButton()->isChecked());
    EXPECT_TRUE(enlarged().stopButton()->isChecked());

    // Without an audio record no sound is ever opened.
    EXPECT_EQ(audio.starts, 0);
    EXPECT_FALSE(enlarged().sound().isActive());
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(EnlargedPlayback, SoundStartsWhenTheCentreReachesTheRecordAtItsOffset)
{
    const int slot = caseWithAudio(4500, 3);
    select(slot, 2, true);
    enlarged().OnPlay();
    steps(12); // centre 4400: the record has not begun
    EXPECT_EQ(audio.starts, 0);
    steps(1); // centre 4600: the sound starts 100 ms into the record
    EXPECT_EQ(audio.starts, 1);
    EXPECT_TRUE(enlarged().sound().isActive());
    ASSERT_NE(audio.source, nullptr);
    EXPECT_EQ(audio.source->read(1600), record(3).mid(100 * 16, 1600));
    EXPECT_EQ(view.store.at(slot).audioDurationSec, 3);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(EnlargedPlayback, SoundAlreadyUnderwayStartsAtOnce)
{
    // The review starts inside the record: the first step starts the sound.
    const int slot = caseWithAudio(1000, 10);
    select(slot, 3, true);
    enlarged().OnPlay();
    steps(1);
    EXPECT_EQ(audio.starts, 1);
    ASSERT_NE(audio.source, nullptr);
    EXPECT_EQ(audio.source->read(3200), record(10).mid((3200 - 1000) * 16, 3200));
}

// Step by step, what the output receives and where the centre goes, with the output
// playing 200 ms between steps. Record: 1 s to 4 s of case time.
TEST_F(EnlargedPlayback, WhatTheStreamDeliversAtEachStep)
{
    struct Row {
        const char *what;
        int startSeconds;
        int startupTicks;                 // steps the output takes to start playing
        int actionBeforeStep;             // 0: no action
        std::function<void()> action;
        QStringList steps;                // "centre heard" per step
    };
    int other = -1;
    const Row rows[] = {
        {"the centre follows the output's clock, its start-up included", 1, 2, 0, {},
         {"1200 -", "1200 -", "1200 -", "1400 @200", "1600 @400"}},
        {"a scroll-bar arrow restarts the sound at the new position", 1, 0, 4,
         [&] { enlarged().OnScroll(ScrollNotification::LineRight); },
         {"1200 -", "1400 @200", "1600 @400", "2200 @600", "2400 @1200", "2600 @1400"}},
        {"a jump to the start before the record stops it until the record is reached", 2, 0, 3,
         [&] { enlarged().JumpToStart(); },
         {"2200 -", "2400 @1200", "200 @1400", "400 -", "600 -"}},
        {"the thumb released past the record restarts it as silence", 1, 0, 3,
         [&] { enlarged().OnScroll(ScrollNotification::ThumbPosition, 25); },
         {"1200 -", "1400 @200", "25200 @400", "25400 silence", "25600 silence"}},
        {"another tree item restarts it at the item's time", 1, 0, 3,
         [&] { select(review.m_nSelCase, 2, true); },
         {"1200 -", "1400 @200", "2200 @400", "2400 @1200", "2600 @1400"}},
        {"another case without sound stops it", 1, 0, 3,
         [&] {
             other = caseWithEvents({0, 30000});
             select(other, 10, true);
         },
         {"1200 -", "1400 @200", "10200 @400", "10400 -", "10600 -"}},
        {"an output that breaks down: the ECG runs on without sound", 1, 0, 3, [&] { audio.failed = true; },
         {"1200 -", "1400 @200", "1600 @400", "1800 -", "2000 -"}},
        {"past the end of the record: silence, never the start again", 3, 0, 0, {},
         {"3200 -", "3400 @2200", "3600 @2400", "3800 @2600", "4000 @2800", "4200 silence", "4400 silence",
          "4600 silence"}},
        {"Play after the end: silence while the ECG runs", 6, 0, 0, {},
         {"6200 -", "6400 silence", "6600 silence", "6800 silence"}},
    };
    for (const Row &row : rows) {
        const int slot = caseWithAudio(1000, 3);
        select(slot, row.startSeconds, true);
        enlarged().OnPlay();
        int seenStarts = audio.starts;
        int startup = 0;
        QStringList got;
        for (int i = 1; i <= row.steps.size(); ++i) {
            if (i == row.actionBeforeStep)
                row.action();
            if (audio.starts != seenStarts) {
                seenStarts = audio.starts;
                startup = row.startupTicks;
            }
            got << tick(3, startup);
        }
        EXPECT_EQ(got, row.steps) << row.what;
        EXPECT_TRUE(platform.messages.isEmpty()) << row.what;
        enlarged().StopPlayback();
        EXPECT_EQ(audio.source, nullptr) << row.what;
    }
}

// A sound that cannot start is reported with what went wrong on a second line, each time
// Play tries it, and the playback stops where it was: nothing pretends to play.
TEST_F(EnlargedPlayback, ASoundThatCannotStartIsReportedWithItsReasonAndStopsThePlayback)
{
    struct ScriptedAudio : CollectingAudio {
        bool available = true;
        QString unusable;
        AudioOutputFailure failure;
        bool isAvailable() const override { return available; }
        QString unusableReason() const override { return unusable; }
        AudioOutputFailure startFailure() const override { return failure; }
        bool start(QIODevice *s, const WaveFormat &format) override
        {
            return failure.kind == AudioOutputFailure::Kind::None && CollectingAudio::start(s, format);
        }
    };
    using Kind = AudioOutputFailure::Kind;
    struct Row {
        const char *what;
        bool withRecord;
        bool available;
        QString unusable;
        AudioOutputFailure failure;
        QString reason;
    };
    const QString record = dir.file(QStringLiteral("Audio Record.bin"));
    const Row rows[] = {
        {"no record", false, true, {}, {}, "The sound recording " + record + " could not be read."},
        {"no device", true, false, {}, {}, "No sound output device is available."},
        {"no plugin", true, false, "libsound.so is in none of these folders: /x", {},
         "Sound cannot be played: libsound.so is in none of these folders: /x"},
        {"format refused", true, true, {}, {Kind::FormatRefused, "Speakers", {}},
         "Speakers cannot play sound in this format."},
        {"device error", true, true, {}, {Kind::DeviceError, "Speakers", "OpenError"},
         "Speakers reported an error (OpenError)."},
    };
    for (const Row &row : rows) {
        ScriptedAudio scripted;
        scripted.available = row.available;
        scripted.unusable = row.unusable;
        scripted.failure = row.failure;
        enlarged().setAudioOutput(scripted);
        platform.messages.clear();
        QFile::remove(dir.file(QStringLiteral("Audio Record.bin")));
        QFile::remove(dir.file(QStringLiteral("Audio Record.wav")));
        const int slot = caseWithAudio(1000, 3, row.withRecord);
        select(slot, 2, true);
        for (int round = 1; round <= 2; ++round) {
            enlarged().playButton()->click();
            steps(3);
            ASSERT_EQ(platform.messages.size(), round) << row.what;
            EXPECT_EQ(platform.messages.last().text, "Could not initialize Direct Sound.\n" + row.reason) << row.what;
            EXPECT_EQ(platform.messages.last().caption, "Error");
            EXPECT_EQ(platform.messages.last().buttons, Platform::Buttons::Ok);
            EXPECT_FALSE(enlarged().isPlaying()) << row.what;
            EXPECT_FALSE(enlarged().playButton()->isChecked()) << row.what;
            EXPECT_TRUE(enlarged().stopButton()->isChecked()) << row.what;
            EXPECT_FALSE(window().m_bPlaying) << row.what;
            EXPECT_EQ(window().m_nCentreMs, 2000) << row.what;
        }
        EXPECT_EQ(scripted.starts, 0) << row.what;
    }
    enlarged().setAudioOutput(audio);
}

TEST_F(EnlargedPlayback, StopsOnStopResizeAndOtherViews)
{
    const int slot = caseWithAudio(0, 20);
    struct Way {
        const char *name;
        std::function<void()> stop;
    };
    const Way ways[] = {
        {"Stop button", [&] { enlarged().stopButton()->click(); }},
        {"resize", [&] { detail->resize(detail->width() - 10, detail->height()); }},
        {"General tab", [&] { detail->tabBar()->setCurrentIndex(0); }},
        {"Entire ECG tab", [&] { detail->tabBar()->setCurrentIndex(1); }},
        {"no case selected", [&] { select(-1, 0); }},
    };
    for (const Way &way : ways) {
        select(slot, 3, true);
        enlarged().OnPlay();
        steps(1);
        ASSERT_TRUE(enlarged().sound().isActive()) << way.name;
        const int stops = audio.stops;
        way.stop();
        EXPECT_FALSE(enlarged().isPlaying()) << way.name;
        EXPECT_FALSE(enlarged().playTimer().isActive()) << way.name;
        EXPECT_FALSE(enlarged().sound().isActive()) << way.name;
        EXPECT_EQ(audio.stops, stops + 1) << way.name;
        EXPECT_FALSE(window().m_bPlaying) << way.name;
        EXPECT_TRUE(enlarged().stopButton()->isChecked()) << way.name;
    }
}

TEST_F(EnlargedPlayback, DetailViewKeepsStillWhilePlayingUnlessTheSelectionChanged)
{
    const int slot = caseWithEvents({0, 30000});
    select(slot, 3, true);
    enlarged().OnPlay();
    steps(3);
    review.m_bSelChanged = 0;
    detail->refresh();
    EXPECT_EQ(window().m_nCentreMs, 3600);
    EXPECT_TRUE(enlarged().isPlaying());

    // Pressing Play again changes nothing; the options menu stays shut while playing.
    enlarged().playButton()->click();
    EXPECT_TRUE(enlarged().isPlaying());
    EXPECT_TRUE(enlarged().playButton()->isChecked());
    int menus = 0;
    window().menuExec = [&](QMenu &, const QPoint &) {
        ++menus;
        return 0;
    };
    window().OnOptionsButton({0, 0});
    EXPECT_EQ(menus, 0);
    enlarged().StopPlayback();
    window().OnOptionsButton({0, 0});
    EXPECT_EQ(menus, 1);
}

} // namespace
