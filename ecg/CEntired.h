#pragma once

#include "base/CTime.h"
#include "ecg/CprPeriodMarking.h"
#include "cpr/CprQualitySettings.h"
#include "ecg/EcgGeometry.h"
#include "ecg/EntirePicture.h"
#include "ecg/HandsOffCache.h"
#include "ecg/ShownCase.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CaseSession;
class QMenu;
struct ReviewState;

// The entire-ECG window: 150 seconds of the shown case in five rows of 30 s around the
// review position (the middle of row 3), with event markers, CPR periods and segments.
// A left click on a row moves the review there and asks for the enlarged ECG; a right
// click opens the CPR-period menu. Drawing goes into a back buffer; paintEvent copies it.
//
// The host drives it: Resize, UpdateLayout, SetPosition, set m_nCase, FillRows, Redraw.
// Runs on the GUI thread only.
class CEntired : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ControlId = 10010;

    CEntired(CaseSession &session, ReviewState &review, QWidget *parent = nullptr);
    ~CEntired() override;

    // Moves the window and makes its back buffer for the new size (below 1 counts as 1).
    void Resize(int x, int y, int width, int height);
    // Reloads the grid text in the current language.
    void UpdateLayout();
    // Centres the rows on a position (seconds from the case start): labels, row ranges and
    // the host's scroll bar. Does nothing while the frame's m_nSelCase is 2000 or more.
    void SetPosition(CTimeSpan position);
    // Fills the five rows from the case in slot by the window sample rule.
    void FillRows(int slot);
    // Draws the whole picture again and schedules a repaint.
    void Redraw();

    // Host hooks, all optional.
    std::function<void(int seconds)> onScrollPosition;   // set the host's scroll bar and refresh its values
    std::function<void()> onSelectEventAtPosition;       // select the event at the review position (message 1134)
    std::function<void()> onShowEnlarged;                // m_bShowEnlarged was set: the detail view should refresh
    std::function<void()> onGoToTime;                    // "Go to time..." of the context menu
    // Shows a menu at a global position and returns the command chosen (0 when dismissed);
    // ContextMenuBuilder::exec unless a test scripts it.
    std::function<int(QMenu &menu, const QPoint &globalPos)> menuExec;

    int m_nCase = NoCaseShown;                 // slot shown; NoCaseShown for none
    std::array<int32_t, 5> m_nRowStartMs{};    // case ms range of each row
    std::array<int32_t, 5> m_nRowEndMs{};
    int32_t m_nCentreMs = 0;                   // review position, the middle of row 3
    int32_t m_nMouseMs = 0;                    // case time under the mouse at the last click
    int32_t m_nLatestEventMs = 0;              // latest event time any drawing run met; never decreases
    CprPeriodMarking m_cpr;                    // CPR marking state and the shading switch
    int32_t m_nPauseThresholdMs = CprQualitySettings().pauseThresholdMs; // of the CPR review settings

    const QImage &picture() const { return m_buffers.picture; }
    const std::array<QString, 15> &labels() const { return m_labels; }
    const uint8_t *rows() const { return m_rows.data(); }
    EntireGeometry drawingGeometry() const
    {
        return entireGeometry(m_buffers.picture.width(), m_buffers.picture.height());
    }
    // What the pointer at pos shows: the cause and length of the pause part under it, or "".
    QString toolTipAt(QPoint pos) const;

    // Input as the event handlers pass it on; public so that hosts and tests can drive it.
    void OnLeftButtonUp(QPoint pos);
    void OnRightButtonUp(QPoint pos, QPoint globalPos);
    // The CPR menu for a time, its items set from a hit test at t.
    std::unique_ptr<QMenu> prepareCprMenu(int32_t t);
    // Runs a command of the CPR menu.
    void OnCommand(int commandId);
    // Whether the pointer at pos shows the upward arrow.
    bool isOverRow(QPoint pos) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    // Time under a point of a row, or nothing outside the rows.
    bool timeAt(QPoint pos, int32_t &t) const;
    // Sets m_nMouseMs for a click on a row; true when it lies from 0 to m_nLatestEventMs.
    bool clickInCase(QPoint pos);
    void makeBuffer(int width, int height);
    ShownCase shown() const;

    CaseSession &m_session;
    ReviewState &m_review;
    EntireBuffers m_buffers;
    HandsOffCache m_handsOff;
    QString m_gridText;
    std::array<QString, 15> m_labels;
    std::vector<uint8_t> m_rows;
    bool m_overRow = false;
};
