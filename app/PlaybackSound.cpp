#include "app/PlaybackSound.h"

#include "app/Platform.h"
#include "archive/SoundClass.h"
#include "case/CRavelinView.h"
#include "case/ReviewState.h"

#include <algorithm>
#include <limits>

QString audioRecordPath(const CRavelinView &view, int slot)
{
    // The case's own archive folder: the view's current folder belongs to whichever
    // archive was opened last, which need not be this case's.
    const QString source = slot >= 0 && size_t(slot) < view.sourcePaths.size() ? view.sourcePaths[size_t(slot)]
                                                                                 : QString();
    const qsizetype cut = source.lastIndexOf(QLatin1Char('/'));
    const QString folder = cut >= 0 ? source.left(cut + 1) : view.state.currentFolder;
    return folder + QStringLiteral("Audio Record.wav");
}

PlaybackSound::PlaybackSound(CRavelinView &view, ReviewState &review, AudioOutput &output)
    : m_view(view), m_review(review), m_output(&output)
{
}

PlaybackSound::~PlaybackSound() = default;

bool PlaybackSound::hasAudio(int slot) const
{
    return m_view.isSlotUsed(slot) && m_view.hasAudio[size_t(slot)];
}

int32_t PlaybackSound::NextCentre(int slot, int32_t centreMs)
{
    const bool selected = m_review.m_bSelChanged == 1;
    m_review.m_bSelChanged = 0;
    const bool moved = m_shownSlot >= 0 && (slot != m_shownSlot || centreMs != m_shownCentreMs);
    if (selected || moved || !hasAudio(slot))
        Stop();

    if (m_sound && m_sound->hasFailed())
        m_sound.reset(); // the ECG plays on without sound; no new try until a move
    if (m_sound && m_sound->isPlaying()) {
        const int64_t heard = int64_t(m_startCentreMs) + m_sound->playedMs();
        return int32_t(std::min<int64_t>(heard, std::numeric_limits<int32_t>::max()));
    }
    return int32_t(std::min<int64_t>(int64_t(centreMs) + Playback::StepMs, std::numeric_limits<int32_t>::max()));
}

void PlaybackSound::OnStep(int slot, int32_t centreMs, bool playing)
{
    m_shownSlot = slot;
    m_shownCentreMs = centreMs;
    if (!playing || m_bSoundActive || !hasAudio(slot) || centreMs < m_view.audioStartMs[size_t(slot)])
        return;
    start(slot, centreMs);
}

void PlaybackSound::start(int slot, int32_t centreMs)
{
    m_bSoundActive = true;
    m_sound = std::make_unique<SoundClass>(*m_output);
    m_startCentreMs = centreMs;
    const int64_t offset = int64_t(centreMs) - m_view.audioStartMs[size_t(slot)];
    if (m_sound->Create(audioRecordPath(m_view, slot)) && m_sound->Play(offset)) {
        m_view.audioDurationSec[size_t(slot)] = m_sound->GetDurationSec();
        return;
    }
    m_sound.reset();
    m_view.platform().messageBox(QStringLiteral("Could not initialize Direct Sound."), QStringLiteral("Error"),
                                 Platform::Icon::None, Platform::Buttons::Ok);
}

bool PlaybackSound::Stop()
{
    m_shownSlot = -1;
    if (!m_bSoundActive)
        return false;
    m_bSoundActive = false;
    m_sound.reset();
    return true;
}
