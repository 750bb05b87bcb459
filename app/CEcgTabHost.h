#pragma once

#include "app/EcgScrollRule.h"

#include <QWidget>

class CDetailView;
class CaseSession;
class QPushButton;
class QScrollBar;
struct ReviewState;

// What the two ECG tabs share: a horizontal scroll bar that moves the review position in
// whole seconds, and the buttons that jump to the start and to the end of the case. After
// a move the host asks the detail view to show its tab at the new position.
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

protected:
    // Shows this host's tab at the frame's review position.
    virtual void showAtPosition() = 0;

    CDetailView &m_detail;
    CaseSession &m_view;
    ReviewState &m_review;

private:
    void onScrollAction(int action);

    int m_arrowStep;
    QPushButton *m_toStart;
    QPushButton *m_toEnd;
    QScrollBar *m_scroll;
};
