#pragma once

#include "app/CEcgTabHost.h"
#include "sound/PlaybackSound.h"

#include <QTimer>
#include <cstdint>
#include <memory>

class AudioOutput;
class CMagnified;

// The Enlarged ECG tab: the enlarged-ECG window under the Play and Stop buttons, above the
// scroll bar and the two jump buttons (arrows move the review by 1 second), and the
// playback of the case in step with its sound.
//
// While playing, a precise 200 ms timer on the GUI thread runs PlaybackStep: the centre
// of the enlarged ECG advances by 200 ms per step, or by what the audio output has played
// once the sound of the case's audio record runs (PlaybackSound); the frame's review
// position, the tree selection and the scroll bar follow once a second.
// Playback stops at the case's last event, on Stop, when the tab is resized and when the
// detail view shows something else.
class CDetailSub2 : public CEcgTabHost
{
    Q_OBJECT
public:
    static constexpr int ControlId = 20002;
    static constexpr int ArrowStepSeconds = 1;

    CDetailSub2(CDetailView &detail, CaseSession &view, ReviewState &review, QWidget *parent = nullptr);
    ~CDetailSub2() override;

    CMagnified *window() const { return m_window; }
    QPushButton *playButton() const { return m_play; }
    QPushButton *stopButton() const { return m_stop; }
    const QTimer &playTimer() const { return m_timer; }
    const PlaybackSound &sound() const { return m_sound; }

    // Where the sound goes; the system's default output unless set. The output must
    // outlive this host.
    void setAudioOutput(AudioOutput &output) { m_sound.setOutput(output); }

    bool isPlaying() const { return m_bPlaying == 1; }
    void OnPlay();
    void StopPlayback();
    // One step of the playback; the timer runs it every 200 ms while playing.
    void PlaybackStep();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showAtPosition() override;
    int screenSeconds() const override;
    // Ctrl + wheel steps through the 8-s, 6-s and large views (not while playing, as the
    // view options).
    void onZoomWheel(int notches) override;

private:
    void showPlaybackState();

    CMagnified *m_window;
    QPushButton *m_play;
    QPushButton *m_stop;
    QTimer m_timer;
    std::unique_ptr<AudioOutput> m_systemOutput;
    PlaybackSound m_sound;
    uint8_t m_bPlaying = 0; // 1 while playback runs
};
