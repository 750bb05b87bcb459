#pragma once

#include <QWidget>

class CMainFrame;
class LanguagePack;
class QLabel;
class QTabBar;

// The right pane: the tab control over the case's tab forms, or "No case loaded." while
// no case is selected.
class CDetailView : public QWidget
{
    Q_OBJECT
public:
    CDetailView(CMainFrame &frame, const LanguagePack &texts, QWidget *parent = nullptr);

    // Shows what the frame's selection state asks for; run after every selection change.
    void refresh();

    QTabBar *tabBar() const { return m_tabs; }
    QLabel *noCaseLabel() const { return m_noCase; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutChildren();

    CMainFrame &m_frame;
    QTabBar *m_tabs;
    QLabel *m_noCase;
};
