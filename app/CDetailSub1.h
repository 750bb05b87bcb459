#pragma once

#include "app/CEcgTabHost.h"

class CEntired;

// The Entire ECG tab: the entire-ECG window above the scroll bar and the two jump
// buttons. Scroll-bar arrows move the review by 30 seconds.
class CDetailSub1 : public CEcgTabHost
{
    Q_OBJECT
public:
    static constexpr int ControlId = 20001;
    static constexpr int ArrowStepSeconds = 30;

    CDetailSub1(CDetailView &detail, CaseSession &view, ReviewState &review, QWidget *parent = nullptr);

    CEntired *window() const { return m_window; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showAtPosition() override;
    int screenSeconds() const override;

private:
    CEntired *m_window;
};
