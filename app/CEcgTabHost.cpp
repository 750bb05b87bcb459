#include "app/CEcgTabHost.h"

#include "case/CaseExtent.h"
#include "case/CaseSession.h"
#include "case/EventListText.h"
#include "case/GoToTime.h"
#include "case/ReviewState.h"

#include <QCursor>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

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
    // A click anywhere in the tab (the ECG windows take no focus) gives it the keys.
    setFocusPolicy(Qt::StrongFocus);
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
    // The bar's own wheel and key handling would move it without the review.
    m_scroll->installEventFilter(this);
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
    if (notification == ScrollNotification::ThumbTrack)
        showThumbTip(q);

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

bool CEcgTabHost::hasCase() const
{
    return m_view.store.caseAt(m_review.m_nSelCase) != nullptr;
}

void CEcgTabHost::moveReviewTo(int64_t seconds)
{
    if (!hasCase())
        return;
    const ReviewMove to{ReviewMove::Kind::By, seconds};
    const int64_t end = CaseEnd(m_view.store.caseAt(m_review.m_nSelCase)).GetTotalSeconds();
    const int64_t position = positionAfterMove(to, 0, end);
    setScrollPosition(int(position));
    m_review.m_tsPosition = CTimeSpan(position);
    showAtPosition();
}

bool CEcgTabHost::applyMove(const ReviewMove &move)
{
    if (move.kind == ReviewMove::Kind::None || !hasCase())
        return false;
    const int64_t end = CaseEnd(m_view.store.caseAt(m_review.m_nSelCase)).GetTotalSeconds();
    moveReviewTo(positionAfterMove(move, m_review.m_tsPosition.GetTotalSeconds(), end));
    return true;
}

void CEcgTabHost::showThumbTip(int q)
{
    m_thumbTip = timeTipAt(q);
    if (!m_thumbTip.isEmpty() && m_scroll->isVisible())
        QToolTip::showText(QCursor::pos(), m_thumbTip, m_scroll);
}

QString CEcgTabHost::timeTipAt(int seconds) const
{
    const CaseRecord *c = m_view.store.caseAt(m_review.m_nSelCase);
    if (!c)
        return QString();
    const CTimeSpan at(std::max(0, seconds));
    return EventListText::clockLabel(c->startTimeValid, c->startTime, at) + QLatin1Char('(')
           + elapsedText(at.GetTotalSeconds()) + QLatin1Char(')');
}

bool CEcgTabHost::handleKey(QKeyEvent *event)
{
    return applyMove(reviewMoveForKey(event->key(), event->modifiers(), screenSeconds()));
}

bool CEcgTabHost::handleWheel(QWheelEvent *event)
{
    // Shift + wheel comes as a horizontal turn on some systems.
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (event->modifiers() & Qt::ControlModifier) {
        const int notches = takeWheelNotches(m_zoomWheelRest, delta);
        if (notches != 0 && hasCase())
            onZoomWheel(notches);
        return true;
    }
    applyMove(reviewMoveForWheel(m_wheelRest, delta, event->modifiers(), m_arrowStep));
    return true;
}

void CEcgTabHost::keyPressEvent(QKeyEvent *event)
{
    if (handleKey(event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void CEcgTabHost::wheelEvent(QWheelEvent *event)
{
    handleWheel(event);
    event->accept();
}

void CEcgTabHost::takeInputOf(QWidget *ecgWindow)
{
    ecgWindow->installEventFilter(this);
}

bool CEcgTabHost::eventFilter(QObject *watched, QEvent *event)
{
    // Installed on the scroll bar and the ECG window only.
    if (event->type() == QEvent::Wheel) {
        handleWheel(static_cast<QWheelEvent *>(event));
        return true;
    }
    if (event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent *>(event));
    return QWidget::eventFilter(watched, event);
}
