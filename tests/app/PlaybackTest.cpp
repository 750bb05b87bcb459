// Playback of the enlarged ECG, one step at a time as the 200 ms timer would run it:
// the centre, the review position, the sound and when playback stops.
#include "DetailFixture.h"
#include "app/CDetailSub.h"
#include "device/AudioRecordFile.h"
#include "sound/SoundClass.h"
#include "sound/SoundStream.h"
#include "ecg/CMagnified.h"

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

    // A case whose audio record starts at startMs, with "Audio Record.wav" of seconds
    // length beside its archive unless withWav is false.
    int caseWithAudio(int32_t startMs, int seconds, bool withWav = true)
    {
        const int slot = caseWithEvents({0, 20000});
        view.store.at(slot).hasAudio = true;
        view.store.at(slot).audioStartMs = startMs;
        view.store.at(slot).audioDurationSec = 0;
        if (withWav) {
            const uint32_t bytes = uint32_t(seconds) * 16000;
            dir.write(QStringLiteral("Audio Record.wav"),
                      AudioRecordFile::wavHeader(bytes) + QByteArray(int(bytes), char(0x80)));
        }
        return slot;
    }

    uint32_t soundCursor()
    {
        const SoundClass *sound = enlarged().sound().sound();
        return sound && sound->stream() ? sound->stream()->readCursor() : 0xFFFFFFFFu;
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

TEST_F(EnlargedPlayback, SoundStartsTwoSecondsBeforeTheRecordAtTheMatchingOffset)
{
    const int slot = caseWithAudio(4500, 3);
    select(slot, 2, true);
    enlarged().OnPlay();
    steps(2); // centre 2400: still more than two seconds before 4500
    EXPECT_EQ(audio.starts, 0);
    steps(1); // centre 2600: the sound starts 100 ms into the record
    EXPECT_EQ(audio.starts, 1);
    EXPECT_TRUE(enlarged().sound().isActive());
    EXPECT_EQ(soundCursor(), 100u * 16);
    EXPECT_EQ(view.store.at(slot).audioDurationSec, 3);
    steps(5);
    EXPECT_EQ(audio.starts, 1); // one sound per selection

    // Another tree selection while playing: the sound starts again at the new offset.
    select(slot, 6, true);
    EXPECT_TRUE(enlarged().isPlaying());
    EXPECT_EQ(window().m_nCentreMs, 6000);
    steps(1);
    EXPECT_EQ(review.m_bSelChanged, 0);
    EXPECT_EQ(audio.starts, 2);
    EXPECT_EQ(audio.stops, 1);
    EXPECT_EQ(soundCursor(), uint32_t(6200 - 4500 + 2000) * 16);
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
    EXPECT_EQ(soundCursor(), uint32_t(3200 - 1000 + 2000) * 16);
}

TEST_F(EnlargedPlayback, MissingWavIsReportedOnce)
{
    const int slot = caseWithAudio(1000, 0, false);
    select(slot, 0, true);
    enlarged().OnPlay();
    steps(20);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, "Could not initialize Direct Sound.");
    EXPECT_EQ(platform.messages[0].caption, "Error");
    EXPECT_EQ(platform.messages[0].buttons, Platform::Buttons::Ok);
    EXPECT_EQ(audio.starts, 0);
    EXPECT_TRUE(enlarged().isPlaying()); // the ECG plays on without sound
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
