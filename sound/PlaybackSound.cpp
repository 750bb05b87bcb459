#include "sound/PlaybackSound.h"

#include "base/Platform.h"
#include "case/CaseSession.h"
#include "case/ReviewState.h"
#include "sound/SoundClass.h"

QString audioRecordPath(const CaseSession &session, int slot)
{
    // The case's own archive folder: the session's current folder belongs to whichever
    // archive was opened last, which need not be this case's.
    const OpenCase *entry = session.store.find(slot);
    const QString source = entry ? entry->sourcePath : QString();
    const qsizetype cut = source.lastIndexOf(QLatin1Char('/'));
    const QString folder = cut >= 0 ? source.left(cut + 1) : session.state.currentFolder;
    return folder + QStringLiteral("Audio Record.wav");
}

PlaybackSound::PlaybackSound(CaseSession &session, ReviewState &review, AudioOutput &output)
    : m_session(session), m_review(review), m_output(&output)
{
}

PlaybackSound::~PlaybackSound() = default;

void PlaybackSound::OnStep(int slot, int32_t centreMs, bool playing)
{
    if (!m_session.store.isSlotUsed(slot) || !m_session.store.at(slot).hasAudio)
        return;
    if (m_review.m_bSelChanged == 1) {
        m_review.m_bSelChanged = 0;
        Stop();
    }
    const int32_t audioStart = m_session.store.at(slot).audioStartMs;
    if (int64_t(centreMs) < int64_t(audioStart) - Playback::SoundLeadMs || !playing || m_bSoundActive)
        return;
    start(slot, centreMs);
}

void PlaybackSound::start(int slot, int32_t centreMs)
{
    m_bSoundActive = true;
    m_sound = std::make_unique<SoundClass>(*m_output);
    const int64_t offset = int64_t(centreMs) - m_session.store.at(slot).audioStartMs + Playback::SoundLeadMs;
    if (m_sound->Create(audioRecordPath(m_session, slot)) && m_sound->Play(offset)) {
        m_session.store.at(slot).audioDurationSec = m_sound->GetDurationSec();
        return;
    }
    m_session.platform().messageBox(QStringLiteral("Could not initialize Direct Sound."), QStringLiteral("Error"),
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
