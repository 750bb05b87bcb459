#include "app/CEcgTabHost.h"

#include "case/CaseExtent.h"
#include "case/CaseSession.h"
#include "case/ReviewState.h"

#include <QPushButton>
#include <QScrollBar>

CEcgTabHost::CEcgTabHost(CDetailView &detail, CaseSession &view, ReviewState &review, int arrowStep,
                         QWidget *parent)
    : QWidget(parent),
      m_detail(detail),
      m_view(view),
      m_review(review),
      m_arrowStep(arrowStep),
      m_toStart(new QPushButton(QStringLiteral("\u25C4\u25C4"), this)),
      m_toEnd(new QPushButton(QStringLiteral("\u25BA\u25BA"), this)),
      m_scroll(new QScrollBar(Qt::Horizontal, this))
{
    for (QPushButton *b : {m_toStart, m_toEnd})
        b->setFocusPolicy(Qt::NoFocus);
    connect(m_toStart, &QPushButton::clicked, this, &CEcgTabHost::JumpToStart);
    connect(m_toEnd, &QPushButton::clicked, this, &CEcgTabHost::JumpToEnd);

    // The scroll bar only reports: where it stands is set by the host. Without tracking,
    // a dragged thumb reports its moves and its release but changes nothing by itself.
    m_scroll->setRange(0, 0);
    m_scroll->setTracking(false);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setContextMenuPolicy(Qt::NoContextMenu);
    connect(m_scroll, &QScrollBar::actionTriggered, this, &CEcgTabHost::onScrollAction);
    connect(m_scroll, &QScrollBar::sliderMoved, this,
            [this](int q) { OnScroll(ScrollNotification::ThumbTrack, q); });
    connect(m_scroll, &QScrollBar::sliderReleased, this,
            [this] { OnScroll(ScrollNotification::ThumbPosition, m_scroll->sliderPosition()); });
}

void CEcgTabHost::setScrollRange(int maxSeconds)
{
    m_scroll->setRange(0, std::max(0, maxSeconds));
}

void CEcgTabHost::setScrollPosition(int seconds)
{
    m_scroll->setValue(seconds);
    m_scroll->setSliderPosition(m_scroll->value());
}

void CEcgTabHost::JumpToStart()
{
    setScrollPosition(m_scroll->minimum());
    m_review.m_tsPosition = CTimeSpan();
    showAtPosition();
}

void CEcgTabHost::JumpToEnd()
{
    setScrollPosition(m_scroll->maximum());
    m_review.m_tsPosition = CaseEnd(m_view.store.caseAt(m_review.m_nSelCase));
    showAtPosition();
}

void CEcgTabHost::onScrollAction(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        OnScroll(ScrollNotification::LineLeft);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        OnScroll(ScrollNotification::LineRight);
        break;
    case QAbstractSlider::SliderPageStepSub:
        OnScroll(ScrollNotification::PageLeft);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        OnScroll(ScrollNotification::PageRight);
        break;
    default:
        // Wheel, keys and edge jumps are not the scroll bar's to act on: stay put.
        m_scroll->setSliderPosition(m_scroll->value());
        break;
    }
}

void CEcgTabHost::OnScroll(ScrollNotification notification, int q)
{
    ScrollInput in;
    in.p = m_scroll->value();
    in.q = q;
    in.lo = m_scroll->minimum();
    in.hi = m_scroll->maximum();
    in.arrowStep = m_arrowStep;
    in.positionSeconds = m_review.m_tsPosition.GetTotalSeconds();
    in.endSeconds = CaseEnd(m_view.store.caseAt(m_review.m_nSelCase)).GetTotalSeconds();

    const ScrollDecision d = decideScroll(notification, in);
    switch (d.kind) {
    case ScrollDecision::Kind::Nothing:
        // A released thumb that does not move goes back; a dragged one stays under the mouse.
        if (notification != ScrollNotification::ThumbTrack)
            m_scroll->setSliderPosition(in.p);
        break;
    case ScrollDecision::Kind::JumpToStart:
        JumpToStart();
        break;
    case ScrollDecision::Kind::JumpToEnd:
        JumpToEnd();
        break;
    case ScrollDecision::Kind::Move:
        setScrollPosition(d.scrollPos);
        m_review.m_tsPosition = CTimeSpan(d.positionSeconds);
        showAtPosition();
        break;
    }
}
