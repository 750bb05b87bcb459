#include "app/CDetailSub2.h"

#include "app/CDetailView.h"
#include "case/CaseExtent.h"
#include "app/DetailIcons.h"
#include "sound/PluginAudioOutput.h"
#include "case/CaseSession.h"
#include "case/ReviewState.h"
#include "ecg/CMagnified.h"

#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>

namespace {

QPushButton *playbackButton(DetailIcons::Playback which, QWidget *parent)
{
    // A push-like check box showing an icon.
    auto *b = new QPushButton(parent);
    b->setCheckable(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIcon(DetailIcons::playbackIcon(which));
    b->setIconSize(QSize(DetailIcons::PlaybackImageSize, DetailIcons::PlaybackImageSize));
    return b;
}

} // namespace

CDetailSub2::CDetailSub2(CDetailView &detail, CaseSession &view, ReviewState &review, QWidget *parent)
    : CEcgTabHost(detail, view, review, ArrowStepSeconds, parent),
      m_window(new CMagnified(view, review, this)),
      m_play(playbackButton(DetailIcons::Playback::Play, this)),
      m_stop(playbackButton(DetailIcons::Playback::Stop, this)),
      m_systemOutput(std::make_unique<PluginAudioOutput>()),
      m_sound(view, review, *m_systemOutput)
{
    m_window->onScrollPosition = [this](int seconds) { setScrollPosition(seconds); };
    takeInputOf(m_window);
    m_window->hostPlaying = [this] { return isPlaying(); };
    m_window->onAddAnnotation = [this](int slot, int32_t timeMs) {
        if (m_view.AddAnnotationAt(slot, timeMs))
            m_window->Redraw();
    };
    m_window->onPrintSegments = [this](int printKind) {
        if (m_detail.onPrintSegments)
            m_detail.onPrintSegments(printKind);
    };
    m_window->onExportEcg = [this](int slot) {
        if (m_detail.onExportEcg)
            m_detail.onExportEcg(slot);
    };
    m_window->Resize(8, 42, width() - 20, height() - 92);
    m_window->UpdateLayout();
    m_window->Redraw();
    m_window->show();

    m_play->setGeometry(8, 8, 32, 32);
    m_stop->setGeometry(42, 8, 32, 32);
    connect(m_play, &QPushButton::clicked, this, &CDetailSub2::OnPlay);
    connect(m_stop, &QPushButton::clicked, this, &CDetailSub2::StopPlayback);
    showPlaybackState();

    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(Playback::StepMs);
    connect(&m_timer, &QTimer::timeout, this, &CDetailSub2::PlaybackStep);
}

CDetailSub2::~CDetailSub2()
{
    // The sound goes before the output it plays through.
    m_timer.stop();
    m_sound.Stop();
}

void CDetailSub2::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    StopPlayback();
    const int cx = event->size().width();
    const int cy = event->size().height();
    m_window->Resize(8, 42, cx - 20, cy - 92);
    m_window->UpdateLayout();
    m_window->Redraw();
    startButton()->setGeometry(8, cy - 50, 22, 20);
    scrollBar()->setGeometry(30, cy - 50, cx - 70, 20);
    endButton()->setGeometry(cx - 40, cy - 50, 22, 20);
}

void CDetailSub2::showAtPosition()
{
    m_detail.showEnlargedAtPosition();
}

int CDetailSub2::screenSeconds() const
{
    return std::max(1, 2 * enlargedScale(m_window->viewInForce()).halfMs / 1000);
}

void CDetailSub2::onZoomWheel(int notches)
{
    if (isPlaying())
        return;
    // A notch away from the user enlarges (8 s, 6 s, large, then 8 s again).
    m_window->setViewInForce(nextEnlargedView(m_window->viewInForce(), notches));
    m_window->FillBuffers(m_review.m_nSelCase);
    m_window->Redraw();
}

void CDetailSub2::showPlaybackState()
{
    m_play->setChecked(isPlaying());
    m_stop->setChecked(!isPlaying());
}

void CDetailSub2::OnPlay()
{
    if (!isPlaying()) {
        m_bPlaying = 1;
        m_timer.start();
    }
    showPlaybackState();
}

void CDetailSub2::StopPlayback()
{
    if (isPlaying()) {
        m_bPlaying = 0;
        m_timer.stop();
    }
    showPlaybackState();
    // The centre line goes back to its stopped look whether or not a sound was playing.
    const bool drawnPlaying = m_window->m_bPlaying;
    if (m_sound.Stop() || drawnPlaying) {
        m_window->m_bPlaying = false;
        m_window->Redraw();
    }
}

void CDetailSub2::PlaybackStep()
{
    const int k = m_review.m_nSelCase;
    if (k < 0)
        return;
    m_window->m_bPlaying = isPlaying();
    const int32_t last = LatestEventTimeMs(m_view.store.caseAt(k));
    if (!isPlaying() && m_window->m_nPlayTick == 0)
        return;
    const int32_t t = m_window->m_nCentreMs;
    if (t >= last) {
        StopPlayback();
        return;
    }
    m_window->SetCentreTime(m_sound.NextCentre(k, t));

    if (++m_window->m_nPlayTick == Playback::StepsPerSecond)
        m_window->m_nPlayTick = 0;
    if (m_window->m_nPlayTick == 0) {
        const int n = m_window->m_nCentreMs / 1000;
        m_review.m_tsPosition = CTimeSpan(n);
        m_detail.selectEventAtPosition();
        setScrollPosition(n);
    }
    m_window->FillBuffers(k);
    m_window->Redraw();
    if (!m_sound.OnStep(k, m_window->m_nCentreMs, isPlaying())) {
        // Nothing can be heard: the playback stops where it was before this step.
        m_window->SetCentreTime(t);
        m_window->m_nPlayTick = 0;
        m_window->FillBuffers(k);
        StopPlayback();
    }
}
