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
constexpr int StepMs = 200;       // one step every 200 ms; without sound the centre moves this much
constexpr int StepsPerSecond = 5; // the review position and the tree follow every fifth step
} // namespace Playback

// The audio record bound to a case ("Audio Record.bin"; its WAV is found beside it); empty
// when the case has none.
QString audioRecordPath(const CaseSession &session, int slot);

// The sound half of the playback, and its clock. While playback runs over a case with an
// audio record, the sound starts once the centre has reached the record, at the centre's
// offset into it; from then on the centre is where the sound started plus what the audio
// output has played, so the red centre line shows what is being heard, however late the
// output starts or however its clock runs. Past the end of the record the output plays
// silence and the ECG runs on.
//
// A new tree selection, a centre moved by anything but the playback (the scroll bar, the
// jump buttons, a click in the entire ECG), or a case without an audio record drops the
// sound; the next step starts it again at the new offset. A sound that cannot be started
// (its record cannot be read, there is no output device, the output refuses it or its plugin
// is missing) is reported with what the system said, and the playback stops there: the view
// does not run on as if it could be heard.
class PlaybackSound
{
public:
    PlaybackSound(CaseSession &session, ReviewState &review, AudioOutput &output);
    ~PlaybackSound();
    PlaybackSound(const PlaybackSound &) = delete;
    PlaybackSound &operator=(const PlaybackSound &) = delete;

    void setOutput(AudioOutput &output) { m_output = &output; }

    // The centre (case ms) the next step shows for case slot, centreMs being the centre
    // shown now: the sound's clock while a sound plays, else one step on.
    int32_t NextCentre(int slot, int32_t centreMs);
    // After a step has shown centreMs of case slot: starts the sound when due. False when a
    // due sound could not start (reported): the playback is to stop.
    bool OnStep(int slot, int32_t centreMs, bool playing);
    // Drops the sound; true when one was active.
    bool Stop();

    bool isActive() const { return m_bSoundActive; }
    const SoundClass *sound() const { return m_sound.get(); }

private:
    bool start(int slot, int32_t centreMs);
    // The second line of the report of a sound that could not start (see start()).
    QString failureReason(const QString &recordPath, bool recordRead) const;
    bool hasAudio(int slot) const;

    CaseSession &m_session;
    ReviewState &m_review;
    AudioOutput *m_output;
    std::unique_ptr<SoundClass> m_sound;
    bool m_bSoundActive = false; // a sound was started (or its start failed) for this selection
    int32_t m_startCentreMs = 0; // centre at which the playing sound started
    int m_shownSlot = -1;        // case and centre the last step showed, -1 before any
    int32_t m_shownCentreMs = 0;
};
