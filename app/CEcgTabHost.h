#pragma once

#include "app/EcgScrollRule.h"
#include "case/ReviewMoves.h"

#include <QString>
#include <QWidget>

class CDetailView;
class CaseSession;
class QPushButton;
class QScrollBar;
struct ReviewState;

// What the two ECG tabs share: a horizontal scroll bar that moves the review position in
// whole seconds, and the buttons that jump to the start and to the end of the case. After
// a move the host asks the detail view to show its tab at the new position.
//
// The tab, its ECG window and its scroll bar also answer the keys (arrows, Page Up / Down,
// Home / End) and the mouse wheel; every move goes through the same position change as
// the scroll-bar arrows. While the thumb is dragged a tooltip tells the time under it.
class CEcgTabHost : public QWidget
{
    Q_OBJECT
public:
    // arrowStep: seconds per scroll-bar arrow click.
    CEcgTabHost(CDetailView &detail, CaseSession &view, ReviewState &review, int arrowStep,
                QWidget *parent = nullptr);

    QScrollBar *scrollBar() const { return m_scroll; }
    QPushButton *startButton() const { return m_toStart; }
    QPushButton *endButton() const { return m_toEnd; }

    // Scroll range 0..maxSeconds; the position is kept inside it.
    void setScrollRange(int maxSeconds);
    void setScrollPosition(int seconds);

    void JumpToStart();
    void JumpToEnd();
    // A notification of the scroll bar; q is the thumb position for thumb notifications.
    void OnScroll(ScrollNotification notification, int q = 0);
    // Moves the review to a position (seconds from the case start, kept inside the case)
    // and shows the tab there; the one position change every move goes through.
    void moveReviewTo(int64_t seconds);
    // Carries out a move of the keys or the wheel; false when there was none to make.
    bool applyMove(const ReviewMove &move);

    // The tooltip text of the thumb at a scroll position: clock time and elapsed time.
    QString timeTipAt(int seconds) const;
    // The text the tooltip showed last while the thumb was dragged.
    const QString &thumbTip() const { return m_thumbTip; }

protected:
    // Shows this host's tab at the frame's review position.
    virtual void showAtPosition() = 0;
    // Seconds the ECG shows at once (Page Up / Page Down).
    virtual int screenSeconds() const = 0;
    // Ctrl + wheel: whole notches, positive away from the user; nothing unless a tab uses it.
    virtual void onZoomWheel(int /*notches*/) {}
    // The tab's ECG window (a child of the tab) hands its keys and wheel to the tab.
    void takeInputOf(QWidget *ecgWindow);

    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    CDetailView &m_detail;
    CaseSession &m_view;
    ReviewState &m_review;

private:
    void onScrollAction(int action);
    void showThumbTip(int q);
    bool handleKey(QKeyEvent *event);
    bool handleWheel(QWheelEvent *event);
    bool hasCase() const;

    int m_arrowStep;
    int m_wheelRest = 0;     // angle delta not yet a whole notch
    int m_zoomWheelRest = 0; // the same for Ctrl + wheel
    QString m_thumbTip;
    QPushButton *m_toStart;
    QPushButton *m_toEnd;
    QScrollBar *m_scroll;
};
