#include "sound/PlaybackSound.h"

#include "base/LanguagePack.h"
#include "base/NoticeTexts.h"
#include "base/Platform.h"
#include "sound/AudioOutput.h"
#include "sound/SoundClass.h"
#include "sound/SoundText.h"
#include "case/CaseSession.h"
#include "case/ReviewState.h"
#include "base/MessageTexts.h"

#include <QDir>

#include <algorithm>
#include <limits>

QString audioRecordPath(const CaseSession &session, int slot)
{
    // The record bound to the case when it was opened.
    const OpenCase *entry = session.store.find(slot);
    return entry ? entry->audioRecordPath : QString();
}

PlaybackSound::PlaybackSound(CaseSession &session, ReviewState &review, AudioOutput &output)
    : m_session(session), m_review(review), m_output(&output)
{
}

PlaybackSound::~PlaybackSound() = default;

bool PlaybackSound::hasAudio(int slot) const
{
    return m_session.store.isSlotUsed(slot) && m_session.store.at(slot).hasAudio;
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

bool PlaybackSound::OnStep(int slot, int32_t centreMs, bool playing)
{
    m_shownSlot = slot;
    m_shownCentreMs = centreMs;
    if (!playing || m_bSoundActive || !hasAudio(slot) || centreMs < m_session.store.at(slot).audioStartMs)
        return true;
    return start(slot, centreMs);
}

bool PlaybackSound::start(int slot, int32_t centreMs)
{
    m_bSoundActive = true;
    m_sound = std::make_unique<SoundClass>(*m_output);
    m_startCentreMs = centreMs;
    const int64_t offset = int64_t(centreMs) - m_session.store.at(slot).audioStartMs;
    const QString path = audioRecordPath(m_session, slot);
    const bool created = m_sound->Create(path);
    if (created && m_sound->Play(offset)) {
        m_session.store.at(slot).audioDurationSec = m_sound->GetDurationSec();
        return true;
    }
    m_sound.reset();
    // The first line is the one reviewers know; the second says what went wrong.
    QString text = m_session.GetText(MessageText::SoundNotStarted);
    if (const QString reason = failureReason(path, created); !reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    m_session.platform().messageBox(text, m_session.GetText(MessageText::ErrorCaption), Platform::Icon::None, Platform::Buttons::Ok);
    return false;
}

QString PlaybackSound::failureReason(const QString &recordPath, bool recordRead) const
{
    if (!m_output->isAvailable()) {
        const QString unusable = m_output->unusableReason();
        return unusable.isEmpty() ? m_session.GetText(NoticeText::NoSoundDevice)
                                  : m_session.GetText(SoundText::OutputMissing).arg(unusable);
    }
    if (!recordRead)
        return m_session.GetText(NoticeText::SoundRecordUnreadable).arg(QDir::toNativeSeparators(recordPath));
    const AudioOutputFailure failure = m_output->startFailure();
    switch (failure.kind) {
    case AudioOutputFailure::Kind::NoDevice: return m_session.GetText(NoticeText::NoSoundDevice);
    case AudioOutputFailure::Kind::FormatRefused:
        return m_session.GetText(NoticeText::SoundFormatRefused).arg(failure.device);
    case AudioOutputFailure::Kind::DeviceError:
        return m_session.GetText(NoticeText::SoundOutputError).arg(failure.device, failure.error);
    case AudioOutputFailure::Kind::None: break;
    }
    return {};
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
