#include "ecg/CMagnified.h"

#include "base/CommandIds.h"
#include "base/MessageTexts.h"
#include "base/ContextMenuBuilder.h"
#include "base/LanguagePack.h"
#include "case/CaseSession.h"
#include "case/ReviewState.h"
#include "ecg/EcgSampleWindow.h"
#include "ecg/EcgTexts.h"
#include "ecg/GoToTimeEntry.h"
#include "ecg/PauseShading.h"
#include "ecg/SegmentSelection.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QPushButton>

CMagnified::CMagnified(CaseSession &session, ReviewState &review, QWidget *parent)
    : QWidget(parent), m_session(session), m_review(review)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    menuExec = [](QMenu &menu, const QPoint &globalPos) { return ContextMenuBuilder::exec(menu, globalPos); };
    for (EnlargedView v : {EnlargedView::EightSecond, EnlargedView::SixSecond, EnlargedView::Large})
        m_samples[size_t(v)].assign(size_t(enlargedScale(v).sampleCount), 0);
    makeBuffers(1, 1);
    UpdateLayout();
}

CMagnified::~CMagnified() = default;

void CMagnified::makeBuffers(int width, int height)
{
    m_buffers.resize(width, height);
}

void CMagnified::createButtons(int height)
{
    m_options = new QPushButton(QStringLiteral("..."), this);
    m_options->setGeometry(optionsButtonRect());
    m_fold = new QPushButton(QStringLiteral("\u2228"), this);
    m_fold->setGeometry(foldButtonRect(height));
    m_unfold = new QPushButton(QStringLiteral("\u2227"), this);
    m_unfold->setGeometry(unfoldButtonRect(height));
    for (QPushButton *b : {m_options, m_fold, m_unfold})
        b->setFocusPolicy(Qt::NoFocus);
    // The fold buttons stay hidden until a drawing run knows whether the case has a panel.
    m_fold->hide();
    m_unfold->hide();
    m_options->show();

    connect(m_options, &QPushButton::clicked, this, [this] { OnOptionsButton(QCursor::pos()); });
    connect(m_fold, &QPushButton::clicked, this, [this] {
        m_bCprPanelCollapsed = true;
        Redraw();
    });
    connect(m_unfold, &QPushButton::clicked, this, [this] {
        m_bCprPanelCollapsed = false;
        Redraw();
    });
}

void CMagnified::Resize(int x, int y, int width, int height)
{
    width = std::max(1, width);
    height = std::max(1, height);
    makeBuffers(width, height);
    setGeometry(x, y, width, height);
    if (!m_options)
        createButtons(height);
}

void CMagnified::resizeEvent(QResizeEvent *)
{
    if (m_buffers.size() != size())
        makeBuffers(width(), height());
}

void CMagnified::UpdateLayout()
{
    m_gridTextLarge = m_session.GetText(EcgText::GridLarge);
    m_title = m_session.GetText(EcgText::Title);
    m_gridText = m_session.GetText(EcgText::GridEnlarged);
}

EnlargedView CMagnified::viewInForce() const
{
    if (m_bLargeView)
        return EnlargedView::Large;
    return m_bEightSecondView ? EnlargedView::EightSecond : EnlargedView::SixSecond;
}

void CMagnified::setViewInForce(EnlargedView view)
{
    m_bLargeView = view == EnlargedView::Large;
    if (!m_bLargeView)
        m_bEightSecondView = view == EnlargedView::EightSecond;
}

EnlargedView nextEnlargedView(EnlargedView view, int notches)
{
    // The enum runs 8 s, 6 s, large: the order of growing enlargement.
    constexpr int Views = 3;
    return EnlargedView(((int(view) + notches) % Views + Views) % Views);
}

int32_t CMagnified::windowStart(EnlargedView view) const
{
    return m_nCentreMs - enlargedScale(view).halfMs;
}

int32_t CMagnified::windowEnd(EnlargedView view) const
{
    return m_nCentreMs + enlargedScale(view).halfMs;
}

ShownCase CMagnified::shown() const
{
    return shownCase(m_session.store, m_nCase);
}

EnlargedGeometry CMagnified::drawingGeometry() const
{
    const ShownCase s = shown();
    return enlargedGeometry(m_buffers.picture.width(), m_buffers.picture.height(), viewInForce(), s.hasCprFeedback,
                            m_bCprPanelCollapsed);
}

void CMagnified::SetPosition(CTimeSpan position)
{
    if (m_review.m_nSelCase >= NoCaseShown)
        return;
    const int32_t centre = int32_t(position.GetTotalSeconds() * 1000);
    if (onScrollPosition)
        onScrollPosition(centre / 1000);
    SetCentreTime(centre);
}

void CMagnified::SetCentreTime(int32_t ms)
{
    m_nCentreMs = ms;
}

void CMagnified::FillBuffers(int slot)
{
    const CaseRecord *c = m_session.store.caseAt(slot);
    for (EnlargedView v : {EnlargedView::EightSecond, EnlargedView::SixSecond, EnlargedView::Large}) {
        std::vector<uint8_t> &buffer = m_samples[size_t(v)];
        fillSampleWindow(c, windowStart(v), buffer.data(), int(buffer.size()));
    }
}

void CMagnified::Redraw()
{
    if (m_review.m_nSelCase < 0)
        return;
    EnlargedScene scene;
    scene.shown = shown();
    scene.view = viewInForce();
    scene.centreMs = m_nCentreMs;
    scene.samples = m_samples[size_t(scene.view)].data();
    scene.showCprPeriods = m_cpr.m_bShowCprPeriods;
    scene.handsOff = m_handsOff.result(scene.shown, m_nPauseThresholdMs);
    scene.showEventText = m_bShowEventText;
    scene.cprPanelCollapsed = m_bCprPanelCollapsed;
    scene.depthUnit = m_depthUnit;
    scene.decimalPoint = m_session.texts().isItalian() ? QLatin1Char(',') : QLatin1Char('.');
    scene.playing = m_bPlaying;
    scene.gridText = scene.view == EnlargedView::Large ? m_gridTextLarge : m_gridText;
    scene.title = m_title;
    scene.cprPanelTitle = m_session.GetText(MessageText::CprPanelTitle);
    const EnlargedGeometry g = drawEnlargedPicture(m_buffers, scene);
    placeButtons(g, scene.shown.hasCprFeedback);
    update();
}

void CMagnified::placeButtons(const EnlargedGeometry &g, bool hasCprFeedback)
{
    if (!m_options)
        return;
    m_fold->setVisible(hasCprFeedback && !m_bCprPanelCollapsed);
    m_unfold->setVisible(hasCprFeedback && m_bCprPanelCollapsed);
    m_fold->move(foldButtonRect(g.h).topLeft());
    m_unfold->move(unfoldButtonRect(g.h).topLeft());
    for (QPushButton *b : {m_options, m_fold, m_unfold})
        b->update();
}

QString CMagnified::toolTipAt(QPoint pos) const
{
    const PausePartShade *shade = pauseShadeAt(m_buffers.shownPauseShades, QPointF(pos) + QPointF(0.5, 0.5));
    return shade ? pauseShadeTip(*shade, m_session.texts()) : QString();
}

bool CMagnified::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto &help = *static_cast<QHelpEvent *>(event);
    showPauseTip(*this, help, toolTipAt(help.pos()));
    return true;
}

void CMagnified::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_buffers.picture);
}

std::unique_ptr<QMenu> CMagnified::prepareContextMenu(int32_t t)
{
    using namespace CommandId;
    std::unique_ptr<QMenu> menu = ContextMenuBuilder::build(m_session.texts(), ContextSubmenu::EnlargedEcg, this);
    const CaseRecord *c = shown().record;

    const bool cprHit = m_cpr.HitTest(c, t);
    const CprMenuStates states = m_cpr.menuStates(cprHit, !m_session.isReadOnly(m_nCase));
    ContextMenuBuilder::setEnabled(menu.get(), EnlargedCprStart, states.startEnabled);
    ContextMenuBuilder::setEnabled(menu.get(), EnlargedCprEnd, states.endEnabled);
    ContextMenuBuilder::setEnabled(menu.get(), EnlargedCprDelete, states.deleteEnabled);
    ContextMenuBuilder::setChecked(menu.get(), EnlargedShowCprPeriods, m_cpr.m_bShowCprPeriods);

    const int segmentHit = c ? SegmentSelection::hitTest(*c, t) : -1;
    if (segmentHit >= 0)
        m_nHitSegment = segmentHit;
    const int segmentCount = c ? c->segments.count() : 0;
    for (int id : SegmentSelection::commandsToRemove(segmentHit >= 0, m_bLargeView, segmentCount))
        ContextMenuBuilder::removeCommand(menu.get(), id);

    // The export needs the host's dialogs; copying needs only the picture.
    ContextMenuBuilder::setEnabled(menu.get(), EnlargedAddAnnotation, !m_session.isReadOnly(m_nCase));
    ContextMenuBuilder::setEnabled(menu.get(), ExportEntireEcg, onExportEcg && c && !c->ecgSamples.isEmpty());
    addGoToTimeEntry(*menu, m_session.texts());
    return menu;
}

void CMagnified::OnRightButtonUp(QPoint pos, QPoint globalPos)
{
    const int w = m_buffers.picture.width();
    const int h = m_buffers.picture.height();
    if (!enlargedHitRect(w, h).contains(pos))
        return;
    const int32_t t = enlargedTimeAt(pos.x(), viewInForce(), m_nCentreMs, w - 70);
    m_nMouseMs = t;
    if (t < 0 || !shown().shown())
        return;
    std::unique_ptr<QMenu> menu = prepareContextMenu(t);
    const int command = menuExec ? menuExec(*menu, globalPos) : 0;
    menu.reset();
    if (command != 0)
        OnCommand(command);
}

std::unique_ptr<QMenu> CMagnified::prepareOptionsMenu()
{
    using namespace CommandId;
    std::unique_ptr<QMenu> menu = ContextMenuBuilder::build(m_session.texts(), ContextSubmenu::Display, this);
    ContextMenuBuilder::setChecked(menu.get(), DisplaySixSecondView, !m_bEightSecondView);
    ContextMenuBuilder::setChecked(menu.get(), DisplayLargeView, m_bLargeView);
    ContextMenuBuilder::setChecked(menu.get(), DisplayEventText, m_bShowEventText);
    return menu;
}

void CMagnified::OnOptionsButton(QPoint globalPos)
{
    const bool playing = hostPlaying ? hostPlaying() : m_bPlaying;
    if (playing)
        return;
    std::unique_ptr<QMenu> menu = prepareOptionsMenu();
    const int command = menuExec ? menuExec(*menu, globalPos) : 0;
    menu.reset();
    if (command != 0)
        OnCommand(command);
}

void CMagnified::selectSegment()
{
    const EnlargedView view = viewInForce();
    SegmentSelection::select(m_session.store, m_nCase, windowStart(view), windowEnd(view));
}

// The strip as the window draws it, as an image other programs can paste.
void CMagnified::copySegment()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setImage(m_buffers.picture);
}

void CMagnified::OnCommand(int commandId)
{
    using namespace CommandId;
    CaseRecord *c = m_session.store.caseAt(m_nCase);
    switch (commandId) {
    case DisplayLargeView:
        m_bLargeView = !m_bLargeView;
        break;
    case DisplayEventText:
        m_bShowEventText = !m_bShowEventText;
        break;
    case DisplaySixSecondView:
        m_bEightSecondView = !m_bEightSecondView;
        break;
    case EnlargedAddAnnotation:
        if (onAddAnnotation)
            onAddAnnotation(m_review.m_nSelCase, m_nMouseMs);
        return;
    case GoToTime:
        if (onGoToTime)
            onGoToTime();
        return;
    case PrintAllSegment:
        if (onPrintSegments)
            onPrintSegments(PrintKindSegments);
        return;
    case ExportEntireEcg:
        if (onExportEcg)
            onExportEcg(m_nCase);
        return;
    case CopySegment:
        copySegment();
        return;
    case SelectSegment:
        selectSegment();
        m_session.reviewMarksChanged(m_nCase);
        break;
    case DeselectSegment:
        if (c)
            SegmentSelection::deselect(*c, m_nHitSegment);
        m_session.reviewMarksChanged(m_nCase);
        break;
    case DeselectAllSegment:
        if (c)
            SegmentSelection::deselectAll(*c);
        m_session.reviewMarksChanged(m_nCase);
        break;
    case EnlargedShowCprPeriods:
        m_cpr.Show();
        break;
    case EnlargedCprStart:
        m_cpr.Start(m_session.store, m_nCase, m_nMouseMs, enlargedScale(viewInForce()).provisionalCprMs);
        m_session.reviewMarksChanged(m_nCase);
        break;
    case EnlargedCprEnd:
        m_cpr.End(m_session.store, m_nCase, m_nMouseMs);
        m_session.reviewMarksChanged(m_nCase);
        break;
    case EnlargedCprDelete:
        m_cpr.Delete(m_session.store, m_nCase);
        m_session.reviewMarksChanged(m_nCase);
        break;
    default:
        return;
    }
    Redraw();
}

void CMagnified::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        OnRightButtonUp(event->position().toPoint(), QCursor::pos());
    QWidget::mouseReleaseEvent(event);
}
