#include "app/PlaybackSound.h"

#include "app/Platform.h"
#include "archive/SoundClass.h"
#include "case/CRavelinView.h"
#include "case/ReviewState.h"

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

void PlaybackSound::OnStep(int slot, int32_t centreMs, bool playing)
{
    if (!m_view.isSlotUsed(slot) || !m_view.hasAudio[size_t(slot)])
        return;
    if (m_review.m_bSelChanged == 1) {
        m_review.m_bSelChanged = 0;
        Stop();
    }
    const int32_t audioStart = m_view.audioStartMs[size_t(slot)];
    if (int64_t(centreMs) < int64_t(audioStart) - Playback::SoundLeadMs || !playing || m_bSoundActive)
        return;
    start(slot, centreMs);
}

void PlaybackSound::start(int slot, int32_t centreMs)
{
    m_bSoundActive = true;
    m_sound = std::make_unique<SoundClass>(*m_output);
    const int64_t offset = int64_t(centreMs) - m_view.audioStartMs[size_t(slot)] + Playback::SoundLeadMs;
    if (m_sound->Create(audioRecordPath(m_view, slot)) && m_sound->Play(offset)) {
        m_view.audioDurationSec[size_t(slot)] = m_sound->GetDurationSec();
        return;
    }
    m_view.platform().messageBox(QStringLiteral("Could not initialize Direct Sound."), QStringLiteral("Error"),
                                 Platform::Icon::None, Platform::Buttons::Ok);
}

bool PlaybackSound::Stop()
{
    if (!m_bSoundActive)
        return false;
    m_bSoundActive = false;
    m_sound.reset();
    return true;
}
