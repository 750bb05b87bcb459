#include "app/CDetailView.h"

#include "app/CCprQualityTab.h"
#include "app/CDetailSub.h"
#include "app/CDetailSub1.h"
#include "app/CDetailSub2.h"
#include "app/CMainFrame.h"
#include "case/CaseExtent.h"
#include "case/GoToCommand.h"
#include "case/GoToTime.h"
#include "app/DetailIcons.h"
#include "base/LanguagePack.h"
#include "app/CRavelinView.h"
#include "case/CaseSession.h"
#include "case/ReviewState.h"
#include "ecg/CEntired.h"
#include "cpr/CprTexts.h"
#include "cpr/HandsOff.h"
#include "ecg/CMagnified.h"

#include <QLabel>
#include <algorithm>
#include <QTabBar>

namespace {
constexpr int TabTexts[] = {104, 105, 106};
constexpr DetailIcons::Tab TabImages[] = {DetailIcons::Tab::General, DetailIcons::Tab::EntireEcg,
                                          DetailIcons::Tab::EnlargedEcg};
} // namespace

CDetailView::CDetailView(CMainFrame &frame, const LanguagePack &, QWidget *parent)
    : CDetailView(frame.view().session, frame, parent)
{
    m_adjustRequest = [&frame](int slot, const QString &typedStart) {
        frame.view().OnAdjustRequest(slot, typedStart);
    };
}

CDetailView::CDetailView(CaseSession &view, ReviewState &review, QWidget *parent)
    : QWidget(parent),
      m_view(view),
      m_review(review),
      m_tabs(new QTabBar(this)),
      m_noCase(new QLabel(this))
{
    setAutoFillBackground(true);
    onSelectEventAtPosition = [this] { m_view.OnSelectEventAtTime(); };

    m_tabs->setExpanding(false);
    m_tabs->setIconSize(QSize(DetailIcons::TabImageSize, DetailIcons::TabImageSize));
    for (size_t i = 0; i < std::size(TabTexts); ++i)
        m_tabs->addTab(DetailIcons::tabIcon(TabImages[i]), view.GetText(TabTexts[i]));
    m_tabs->addTab(view.GetText(CprText::Tab));
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int tab) {
        if (!m_selectingTab)
            OnTabChanged(tab);
    });

    m_noCase->setText(view.GetText(TextId::NoCaseLoaded));
    m_noCase->adjustSize();
    refresh();
}

CDetailView::~CDetailView() = default;

void CDetailView::adoptForm(QWidget *form)
{
    form->hide();
    form->setGeometry(0, TabBarHeight, width(), height() - TabBarHeight);
}

CDetailSub *CDetailView::general()
{
    if (!m_general) {
        m_general = new CDetailSub(m_view, this);
        m_general->onAdjustRequest = [this](int slot, const QString &typedStart) {
            if (m_adjustRequest)
                m_adjustRequest(slot, typedStart);
        };
        adoptForm(m_general);
    }
    return m_general;
}

template <typename Host>
Host *CDetailView::ecgHost(Host *&host)
{
    if (!host) {
        host = new Host(*this, m_view, m_review, this);
        host->window()->onGoToTime = [this] { goToTime(); };
        if (m_view.store.caseAt(m_review.m_nSelCase))
            host->setScrollRange(scrollRange());
        adoptForm(host);
    }
    return host;
}

CDetailSub1 *CDetailView::entireHost()
{
    return ecgHost(m_entire);
}

CDetailSub2 *CDetailView::enlargedHost()
{
    return ecgHost(m_enlarged);
}

CCprQualityTab *CDetailView::cprTab()
{
    if (!m_cpr) {
        m_cpr = new CCprQualityTab(m_view.texts(), this);
        m_cpr->onShowMoment = [this](int32_t timeMs) { showMomentEnlarged(timeMs); };
        m_cpr->onSetPauseCause = [this](int32_t startMs, const QString &cause) { setPauseCause(startMs, cause); };
        adoptForm(m_cpr);
    }
    return m_cpr;
}

int CDetailView::scrollRange() const
{
    // One scroll unit per second up to the selected case's latest event.
    return LatestEventTimeMs(m_view.store.caseAt(m_review.m_nSelCase)) / 1000;
}

QWidget *CDetailView::madeForm(int tab) const
{
    switch (tab) {
    case GeneralTab: return m_general;
    case EntireTab: return m_entire;
    case EnlargedTab: return m_enlarged;
    case CprQualityTab: return m_cpr;
    default: return nullptr;
    }
}

bool CDetailView::hasForm(int tab) const
{
    return madeForm(tab) != nullptr;
}

void CDetailView::hideForm(int tab)
{
    if (QWidget *form = madeForm(tab))
        form->hide();
}

void CDetailView::stopPlayback()
{
    if (m_enlarged)
        m_enlarged->StopPlayback();
}

void CDetailView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_noCase->move(width() / 2, height() / 2);
    layoutForms();
}

void CDetailView::layoutForms()
{
    const int w = width();
    const int h = height() - TabBarHeight;
    for (int tab : {GeneralTab, EntireTab, EnlargedTab, CprQualityTab})
        if (QWidget *form = madeForm(tab))
            form->setGeometry(0, TabBarHeight, w, h);
    m_tabs->setGeometry(0, 0, w, TabBarHeight);
}

void CDetailView::selectTabQuietly(int tab)
{
    m_selectingTab = true;
    m_tabs->setCurrentIndex(tab);
    m_selectingTab = false;
}

void CDetailView::selectEventAtPosition()
{
    if (onSelectEventAtPosition)
        onSelectEventAtPosition();
}

void CDetailView::showNoCase()
{
    stopPlayback();
    for (int tab : {GeneralTab, EntireTab, EnlargedTab, CprQualityTab})
        hideForm(tab);
    m_noCase->show();
}

void CDetailView::showEntire()
{
    CDetailSub1 *host = entireHost();
    CEntired *w = host->window();
    w->SetPosition(m_review.m_tsPosition);
    w->m_nCase = m_review.m_nSelCase;
    w->m_nPauseThresholdMs = m_cprSettings.quality.pauseThresholdMs;
    w->FillRows(m_review.m_nSelCase);
    w->Redraw();
    host->show();
}

void CDetailView::showEnlarged()
{
    CDetailSub2 *host = enlargedHost();
    CMagnified *w = host->window();
    w->SetPosition(m_review.m_tsPosition);
    w->m_nCase = m_review.m_nSelCase;
    w->m_nPauseThresholdMs = m_cprSettings.quality.pauseThresholdMs;
    w->m_depthUnit = m_cprSettings.depthUnit;
    w->FillBuffers(m_review.m_nSelCase);
    w->Redraw();
    host->show();
}

void CDetailView::showCprQuality()
{
    const CaseRecord *c = m_view.store.caseAt(m_review.m_nSelCase);
    const OpenCase *open = m_view.store.find(m_review.m_nSelCase);
    if (!c)
        return;
    CCprQualityTab *tab = cprTab();
    const std::map<int32_t, PauseCause> causes = open ? reviewerPauseCauses(open->pauseCauses)
                                                      : std::map<int32_t, PauseCause>();
    tab->showReport(makeCprQualityReport(*c, open && open->hasCprFeedback, causes, m_cprSettings, m_view.texts()),
                    m_view.isReadOnly(m_review.m_nSelCase));
    tab->show();
}

void CDetailView::setPauseCause(int32_t startMs, const QString &cause)
{
    if (!m_view.setPauseCause(m_review.m_nSelCase, startMs, cause))
        return;
    showCprQuality();
    // The ECG pictures shade the pauses by the causes they read when they paint.
    if (m_entire)
        m_entire->window()->Redraw();
    if (m_enlarged)
        m_enlarged->window()->Redraw();
}

void CDetailView::setCprSettings(const CprReviewSettings &settings)
{
    m_cprSettings = settings;
    if (m_cpr && !m_cpr->isHidden())
        showCprQuality();
    // The ECG tabs shade the pauses the threshold makes; the enlarged ECG's depth scale
    // follows the unit.
    if (m_entire && !m_entire->isHidden())
        showEntire();
    if (m_enlarged && !m_enlarged->isHidden())
        showEnlarged();
}

void CDetailView::showMomentEnlarged(int32_t timeMs)
{
    if (m_review.m_nSelCase < 0)
        return;
    m_review.m_tsPosition = CTimeSpan(timeMs / 1000);
    m_review.m_bShowEnlarged = 1;
    selectEventAtPosition();
    refresh();
}

void CDetailView::showTab(int tab)
{
    if (tab != CprQualityTab)
        hideForm(CprQualityTab);
    switch (tab) {
    case GeneralTab:
        stopPlayback();
        general()->Fill(m_review.m_nSelCase);
        m_general->show();
        hideForm(EntireTab);
        hideForm(EnlargedTab);
        m_noCase->hide();
        break;
    case EntireTab:
        stopPlayback();
        hideForm(GeneralTab);
        showEntire();
        hideForm(EnlargedTab);
        m_noCase->hide();
        break;
    case EnlargedTab:
        // The only tab that leaves a running playback alone.
        hideForm(GeneralTab);
        hideForm(EntireTab);
        showEnlarged();
        m_noCase->hide();
        break;
    case CprQualityTab:
        stopPlayback();
        hideForm(GeneralTab);
        hideForm(EntireTab);
        hideForm(EnlargedTab);
        showCprQuality();
        m_noCase->hide();
        break;
    default:
        break;
    }
}

void CDetailView::refresh()
{
    if (m_enlarged && m_enlarged->isPlaying() && m_review.m_bSelChanged == 0)
        return;
    m_noCase->move(width() / 2, height() / 2);
    if (m_review.m_bShowEnlarged == 1) {
        m_review.m_bShowEnlarged = 0;
        selectTabQuietly(EnlargedTab);
    }
    if (m_review.m_nSelCase < 0) {
        showNoCase();
    } else {
        const int lastSecond = scrollRange();
        if (m_entire)
            m_entire->setScrollRange(lastSecond);
        if (m_enlarged)
            m_enlarged->setScrollRange(lastSecond);
        showTab(m_tabs->currentIndex());
    }
    layoutForms();
}

void CDetailView::OnTabChanged(int tab)
{
    if (m_review.m_nSelCase < 0)
        showNoCase();
    else
        showTab(tab);
    refresh();
    // The keys go to the ECG the reviewer just chose.
    if (m_review.m_nSelCase >= 0 && (tab == EntireTab || tab == EnlargedTab))
        (tab == EntireTab ? static_cast<QWidget *>(entireHost()) : static_cast<QWidget *>(enlargedHost()))->setFocus();
}

void CDetailView::goToPosition(int64_t seconds)
{
    if (!m_view.store.caseAt(m_review.m_nSelCase))
        return;
    if (m_tabs->currentIndex() == EntireTab) {
        entireHost()->moveReviewTo(seconds);
        return;
    }
    if (m_tabs->currentIndex() != EnlargedTab) {
        selectTabQuietly(EnlargedTab);
        hideForm(GeneralTab);
    }
    enlargedHost()->moveReviewTo(seconds);
}

void CDetailView::goToTime()
{
    if (const std::optional<int64_t> position = askGoToPosition(m_view, m_review.m_nSelCase))
        goToPosition(*position);
}

bool CDetailView::goToEventOfKind(EventJumpKind kind, bool forward)
{
    const CaseRecord *c = m_view.store.caseAt(m_review.m_nSelCase);
    if (!c)
        return false;
    const EventCategoryTexts texts = EventCategoryTexts::from(m_view.texts());
    const std::vector<int> order = eventSlotsInOrder(*c);
    std::vector<int64_t> times;
    std::vector<bool> stops;
    for (int i : order) {
        times.push_back(c->events[i].elapsed.GetTotalSeconds());
        stops.push_back(texts.isJumpStop(kind, c->events[i].text));
    }
    const int at = adjacentStop(times, stops, m_review.m_tsPosition.GetTotalSeconds(), forward);
    if (at < 0)
        return false;
    // The event jumped to, not another one of the same second, is selected as a click on its
    // item selects it, so its menu, the views and the annotation commands follow.
    const TreeItemId item = c->events[order[size_t(at)]].treeItem;
    if (m_view.tree && item != NoTreeItem)
        m_view.selectAsClicked(item);
    else
        goToPosition(times[size_t(at)]);
    return true;
}

void CDetailView::showEntireAtPosition()
{
    hideForm(GeneralTab);
    showEntire();
    selectEventAtPosition();
}

void CDetailView::showEnlargedAtPosition()
{
    hideForm(GeneralTab);
    showEnlarged();
    selectEventAtPosition();
}
