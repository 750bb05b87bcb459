#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class AudioOutput;
class CaseSession;
class SoundClass;
struct ReviewState;

// Timing of the enlarged ECG's playback.
namespace Playback {
constexpr int StepMs = 200;       // the centre advances this much per step, one step per 200 ms
constexpr int StepsPerSecond = 5; // the review position and the tree follow every fifth step
constexpr int SoundLeadMs = 2000; // the sound is heard this long after it is started
} // namespace Playback

// "Audio Record.wav" in the folder of the archive a case was opened from.
QString audioRecordPath(const CaseSession &session, int slot);

// The sound half of a playback step: while playback runs over a case with an audio
// record, the sound is started once the centre is within two seconds of the record's
// start, at the offset that makes it heard in step with the ECG; a selection change
// drops it so that the next step starts it again at the new offset. A sound that cannot
// be opened is reported once and not tried again until playback stops or the selection
// changes.
class PlaybackSound
{
public:
    PlaybackSound(CaseSession &session, ReviewState &review, AudioOutput &output);
    ~PlaybackSound();
    PlaybackSound(const PlaybackSound &) = delete;
    PlaybackSound &operator=(const PlaybackSound &) = delete;

    void setOutput(AudioOutput &output) { m_output = &output; }

    // One step for case slot at centreMs (case ms, the centre after the step).
    void OnStep(int slot, int32_t centreMs, bool playing);
    // Drops the sound; true when one was active.
    bool Stop();

    bool isActive() const { return m_bSoundActive; }
    const SoundClass *sound() const { return m_sound.get(); }

private:
    void start(int slot, int32_t centreMs);

    CaseSession &m_session;
    ReviewState &m_review;
    AudioOutput *m_output;
    std::unique_ptr<SoundClass> m_sound;
    bool m_bSoundActive = false; // a sound was started (or its start failed) for this selection
};
