#pragma once

#include "case/EventFilter.h"
#include "cpr/CprReviewSettings.h"

#include <QWidget>
#include <cstdint>
#include <functional>

class CCprQualityTab;
class CDetailSub;
class CDetailSub1;
class CDetailSub2;
class CMainFrame;
class CaseSession;
class LanguagePack;
class QLabel;
class QTabBar;
struct ReviewState;

// The right pane: a tab bar over the General form, the two ECG tabs and the CPR quality
// tab, or "No case loaded." while no case is selected. It shows what the frame's review state asks for:
// refresh() runs after every selection change and every change of tab, and each ECG tab
// asks it to show that tab at the review position after a scroll or a jump.
class CDetailView : public QWidget
{
    Q_OBJECT
public:
    enum Tab { GeneralTab = 0, EntireTab = 1, EnlargedTab = 2, CprQualityTab = 3 };
    static constexpr int TabBarHeight = 22;

    CDetailView(CMainFrame &frame, const LanguagePack &texts, QWidget *parent = nullptr);
    CDetailView(CaseSession &view, ReviewState &review, QWidget *parent = nullptr);
    ~CDetailView() override;

    // Shows the selection: the case's tab at the review position, or "No case loaded.".
    // While the enlarged ECG plays and the selection has not changed, nothing changes.
    void refresh();
    // The user selected a tab.
    void OnTabChanged(int tab);
    // Show an ECG tab at the review position and select the event there in the tree.
    void showEntireAtPosition();
    void showEnlargedAtPosition();
    // Selects the event at the review position in the case tree.
    void selectEventAtPosition();

    // Moves the review to a position (seconds) through the ECG tab's position change: the
    // Entire ECG when it is shown, else the Enlarged ECG.
    void goToPosition(int64_t seconds);
    // "Go to time...": asks where, then goes there.
    void goToTime();
    // F3 / Shift+F3: to the next (previous) event of a kind after (before) the review
    // position, selected as a click on its tree item selects it; false when there is none.
    bool goToEventOfKind(EventJumpKind kind, bool forward);

    // Selects, without publishing, the tree's event at the review position; the view's
    // OnSelectEventAtTime unless replaced.
    std::function<void()> onSelectEventAtPosition;
    // "Print All Segment" of the enlarged ECG, with its print kind; nothing when unset.
    std::function<void(int printKind)> onPrintSegments;
    std::function<void(int slot)> onExportEcg; // "Export Entire ECG..." of the enlarged ECG

    QTabBar *tabBar() const { return m_tabs; }
    QLabel *noCaseLabel() const { return m_noCase; }
    // The tab forms, each made the first time it is shown or asked for.
    CDetailSub *general();
    CDetailSub1 *entireHost();
    CDetailSub2 *enlargedHost();
    CCprQualityTab *cprTab();
    // The reviewer's cause of the selected case's pause that starts at startMs ("" for the
    // device's reading): kept through the session, then the tab and the ECG pictures show it.
    void setPauseCause(int32_t startMs, const QString &cause);
    // Whether a tab's form has been made yet.
    bool hasForm(int tab) const;

    // The settings the CPR quality tab measures and shows with; the tab follows at once.
    void setCprSettings(const CprReviewSettings &settings);
    // Shows a moment (ms of case time) of the selected case in the enlarged ECG, as a
    // click in the entire ECG does.
    void showMomentEnlarged(int32_t timeMs);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showEntire();
    void showEnlarged();
    void showCprQuality();
    void showNoCase();
    // The tab's form at the review position, the others hidden.
    void showTab(int tab);
    void layoutForms();
    void selectTabQuietly(int tab);
    // The ECG tabs' scroll range (seconds) for the selected case.
    int scrollRange() const;
    // The tab's form when it has been made, else null.
    QWidget *madeForm(int tab) const;
    void hideForm(int tab);
    void stopPlayback();
    // Places a form just made like the others, hidden until shown.
    void adoptForm(QWidget *form);
    // The host of an ECG tab, made when first needed: its window's Go To Time wired and its
    // scroll range set for the selected case.
    template <typename Host>
    Host *ecgHost(Host *&host);

    CaseSession &m_view;
    ReviewState &m_review;
    QTabBar *m_tabs;
    QLabel *m_noCase;
    // The tab forms, null until first needed: start-up shows none of them.
    CDetailSub *m_general = nullptr;
    CDetailSub1 *m_entire = nullptr;
    CDetailSub2 *m_enlarged = nullptr;
    CCprQualityTab *m_cpr = nullptr;
    std::function<void(int, const QString &)> m_adjustRequest; // the General form's "Adjust"
    CprReviewSettings m_cprSettings;
    bool m_selectingTab = false; // the program, not the user, changes the tab
};
