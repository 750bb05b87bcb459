#include "ecg/CEntired.h"

#include "base/CommandIds.h"
#include "base/ContextMenuBuilder.h"
#include "case/CaseSession.h"
#include "case/ReviewState.h"
#include "ecg/EcgSampleWindow.h"
#include "ecg/EcgStyle.h"
#include "ecg/EcgTexts.h"
#include "ecg/GoToTimeEntry.h"
#include "ecg/PauseShading.h"
#include "ecg/EntirePicture.h"
#include "ecg/UpArrowCursor.h"

#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QHelpEvent>
#include <QPainter>

namespace {

constexpr int32_t ProvisionalCprMs = 1000;

} // namespace

CEntired::CEntired(CaseSession &session, ReviewState &review, QWidget *parent)
    : QWidget(parent),
      m_session(session),
      m_review(review),
      m_rows(size_t(EntireGeometry::Rows) * EntireGeometry::SamplesPerRow, 0)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    menuExec = [](QMenu &menu, const QPoint &globalPos) { return ContextMenuBuilder::exec(menu, globalPos); };
    makeBuffer(1, 1);
    UpdateLayout();
}

CEntired::~CEntired() = default;

void CEntired::makeBuffer(int width, int height)
{
    m_buffers.resize(width, height);
}

void CEntired::Resize(int x, int y, int width, int height)
{
    width = std::max(1, width);
    height = std::max(1, height);
    makeBuffer(width, height);
    setGeometry(x, y, width, height);
}

void CEntired::resizeEvent(QResizeEvent *)
{
    if (m_buffers.picture.size() != size())
        makeBuffer(width(), height());
}

void CEntired::UpdateLayout()
{
    m_gridText = m_session.GetText(EcgText::GridEntire);
}

ShownCase CEntired::shown() const
{
    return shownCase(m_session.store, m_nCase);
}

void CEntired::SetPosition(CTimeSpan position)
{
    if (m_review.m_nSelCase >= NoCaseShown)
        return;
    m_nCentreMs = int32_t(position.GetTotalSeconds() * 1000);
    m_labels = entireLabels(m_session.store.caseAt(m_review.m_nSelCase), m_nCentreMs);
    if (onScrollPosition)
        onScrollPosition(m_nCentreMs / 1000);
    m_nRowStartMs = entireRowStarts(m_nCentreMs);
    for (size_t k = 0; k < 5; ++k)
        m_nRowEndMs[k] = m_nRowStartMs[k] + EntireGeometry::RowMs;
}

void CEntired::FillRows(int slot)
{
    const CaseRecord *c = m_session.store.caseAt(slot);
    for (size_t k = 0; k < 5; ++k)
        fillSampleWindow(c, m_nRowStartMs[k], m_rows.data() + k * EntireGeometry::SamplesPerRow,
                         EntireGeometry::SamplesPerRow);
}

void CEntired::Redraw()
{
    EntireScene scene;
    scene.shown = shown();
    scene.rowStartMs = m_nRowStartMs;
    scene.rowEndMs = m_nRowEndMs;
    scene.rows = m_rows.data();
    scene.gridText = m_gridText;
    scene.labels = m_labels;
    scene.showCprPeriods = m_cpr.m_bShowCprPeriods;
    scene.handsOff = m_handsOff.result(scene.shown, m_nPauseThresholdMs);
    m_nLatestEventMs = drawEntirePicture(m_buffers, scene, m_nLatestEventMs);
    update();
}

void CEntired::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_buffers.picture);
}

QString CEntired::toolTipAt(QPoint pos) const
{
    const std::optional<EntirePlan> &plan = m_buffers.drawnPlan;
    if (!plan)
        return QString();
    const PausePartShade *shade = pauseShadeAt(plan->pauseShades, QPointF(pos) + QPointF(0.5, 0.5));
    return shade ? pauseShadeTip(*shade, m_session.texts()) : QString();
}

bool CEntired::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto &help = *static_cast<QHelpEvent *>(event);
    showPauseTip(*this, help, toolTipAt(help.pos()));
    return true;
}

bool CEntired::timeAt(QPoint pos, int32_t &t) const
{
    const EntireGeometry g = drawingGeometry();
    const int row = entireRowAt(g, pos);
    if (row < 0)
        return false;
    t = entireTimeAt(pos.x(), g.v, m_nRowStartMs[size_t(row)]);
    return true;
}

bool CEntired::isOverRow(QPoint pos) const
{
    return entireRowAt(drawingGeometry(), pos) >= 0;
}

bool CEntired::clickInCase(QPoint pos)
{
    int32_t t = 0;
    if (!timeAt(pos, t))
        return false;
    m_nMouseMs = t;
    return t >= 0 && t <= m_nLatestEventMs;
}

void CEntired::OnLeftButtonUp(QPoint pos)
{
    if (!clickInCase(pos))
        return;
    const int32_t t = m_nMouseMs;
    m_review.m_tsPosition = CTimeSpan(t / 1000);
    m_review.m_bShowEnlarged = 1;
    if (onSelectEventAtPosition)
        onSelectEventAtPosition();
    if (onShowEnlarged)
        onShowEnlarged();
}

std::unique_ptr<QMenu> CEntired::prepareCprMenu(int32_t t)
{
    std::unique_ptr<QMenu> menu = ContextMenuBuilder::build(m_session.texts(), ContextSubmenu::EntireEcg, this);
    const bool hit = m_cpr.HitTest(shown().record, t);
    const CprMenuStates states = m_cpr.menuStates(hit, !m_session.isReadOnly(m_nCase));
    ContextMenuBuilder::setEnabled(menu.get(), CommandId::EntireCprStart, states.startEnabled);
    ContextMenuBuilder::setEnabled(menu.get(), CommandId::EntireCprEnd, states.endEnabled);
    ContextMenuBuilder::setEnabled(menu.get(), CommandId::EntireCprDelete, states.deleteEnabled);
    ContextMenuBuilder::setChecked(menu.get(), CommandId::EntireShowCprPeriods, m_cpr.m_bShowCprPeriods);
    addGoToTimeEntry(*menu, m_session.texts());
    return menu;
}

void CEntired::OnRightButtonUp(QPoint pos, QPoint globalPos)
{
    if (!clickInCase(pos))
        return;
    std::unique_ptr<QMenu> menu = prepareCprMenu(m_nMouseMs);
    const int command = menuExec ? menuExec(*menu, globalPos) : 0;
    menu.reset();
    if (command != 0)
        OnCommand(command);
}

void CEntired::OnCommand(int commandId)
{
    switch (commandId) {
    case CommandId::EntireCprStart:
        m_cpr.Start(m_session.store, m_nCase, m_nMouseMs, ProvisionalCprMs);
        m_session.reviewMarksChanged(m_nCase);
        break;
    case CommandId::EntireCprEnd:
        m_cpr.End(m_session.store, m_nCase, m_nMouseMs);
        m_session.reviewMarksChanged(m_nCase);
        break;
    case CommandId::EntireCprDelete:
        m_cpr.Delete(m_session.store, m_nCase);
        m_session.reviewMarksChanged(m_nCase);
        break;
    case CommandId::EntireShowCprPeriods:
        m_cpr.Show();
        break;
    case CommandId::GoToTime:
        if (onGoToTime)
            onGoToTime();
        return;
    default:
        return;
    }
    Redraw();
}

void CEntired::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLeftButtonUp(pos);
    else if (event->button() == Qt::RightButton)
        OnRightButtonUp(pos, QCursor::pos());
    QWidget::mouseReleaseEvent(event);
}

void CEntired::mouseMoveEvent(QMouseEvent *event)
{
    const bool over = isOverRow(event->position().toPoint());
    if (over != m_overRow) {
        m_overRow = over;
        if (over)
            setCursor(UpArrowCursor::cursor());
        else
            unsetCursor();
    }
    QWidget::mouseMoveEvent(event);
}
