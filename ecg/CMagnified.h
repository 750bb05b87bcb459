#pragma once

#include "base/CTime.h"
#include "ecg/CprPeriodMarking.h"
#include "cpr/CprQualitySettings.h"
#include "ecg/EcgGeometry.h"
#include "ecg/EnlargedPicture.h"
#include "ecg/HandsOffCache.h"
#include "ecg/ShownCase.h"

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CaseSession;

// The view notches steps along the cycle 8 s, 6 s, large (2 s), 8 s... from view
// (negative notches go round the other way).
EnlargedView nextEnlargedView(EnlargedView view, int notches);

class QMenu;
class QPushButton;
struct ReviewState;

// The enlarged-ECG window: 8, 6 or 2 ("large view") seconds of the shown case on a
// paper-like grid around the centre time, with event and temperature markers, CPR periods
// and segments, and the CPR feedback panel under the ECG when the case has one. A right
// click opens the context menu (CPR periods, annotation, segments); the "..." button the
// view options; "∨" and "∧" fold and unfold the CPR panel. Drawing goes into back buffers;
// paintEvent copies the picture.
//
// The host drives it: Resize, UpdateLayout, SetPosition or SetCentreTime, set m_nCase
// and m_bPlaying, FillBuffers, Redraw. The playback step runs on the GUI thread too, so
// one drawing run never overlaps another.
class CMagnified : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ControlId = 10020;
    static constexpr int PrintKindSegments = 10; // print kind of "Print All Segment"

    CMagnified(CaseSession &session, ReviewState &review, QWidget *parent = nullptr);
    ~CMagnified() override;

    // Moves the window and makes its buffers for the new size (below 1 counts as 1); the
    // first call creates the three buttons.
    void Resize(int x, int y, int width, int height);
    // Hit rectangles and the texts (grid texts and title) in the current language.
    void UpdateLayout();
    // Centres on a position (seconds from the case start) and moves the host's scroll bar;
    // does nothing while the frame's m_nSelCase is 2000 or more.
    void SetPosition(CTimeSpan position);
    void SetCentreTime(int32_t ms);
    // Fills the three views' sample windows from the case in slot.
    void FillBuffers(int slot);
    // Draws the whole picture again and schedules a repaint; nothing while the frame has
    // no selection (m_nSelCase negative).
    void Redraw();

    EnlargedView viewInForce() const;
    // Shows a view: the large view, or the 8-s or 6-s one without it.
    void setViewInForce(EnlargedView view);
    // The visible window of a view: centre ± half.
    int32_t windowStart(EnlargedView view) const;
    int32_t windowEnd(EnlargedView view) const;

    // Host hooks, all optional.
    std::function<void(int seconds)> onScrollPosition;             // set the host's scroll bar and refresh its values
    std::function<void(int slot, int32_t timeMs)> onAddAnnotation; // annotation dialog, add-at-a-time mode; redraw on OK
    std::function<void(int printKind)> onPrintSegments;            // message 1135 with print kind 10
    std::function<bool()> hostPlaying;                             // the host plays audio (blocks the options menu)
    std::function<void(int slot)> onExportEcg;                     // "Export Entire ECG..." of the case in slot
    std::function<void()> onGoToTime;                              // "Go to time..." of the context menu
    // Shows a menu at a global position and returns the command chosen (0 when dismissed).
    std::function<int(QMenu &menu, const QPoint &globalPos)> menuExec;

    bool m_bLargeView = false;         // the large (2-second) view is shown
    bool m_bEightSecondView = true;    // without the large view: 8 seconds, else 6
    bool m_bShowEventText = true;
    bool m_bCprPanelCollapsed = false;
    int m_nPlayTick = 0;               // ticks of the playback step, 0..4
    int32_t m_nCentreMs = 0;           // case ms at the middle of the grid
    int32_t m_nMouseMs = 0;            // case time under the mouse at the last right click
    int m_nCase = NoCaseShown;         // slot shown; NoCaseShown for none
    bool m_bPlaying = false;           // written by the host: audio playback runs
    int m_nHitSegment = 0;             // segment slot of the last hit test
    CprPeriodMarking m_cpr;            // CPR marking state and the shading switch
    int32_t m_nPauseThresholdMs = CprQualitySettings().pauseThresholdMs; // of the CPR review settings
    CprDepthUnit m_depthUnit = CprDepthUnit::Inches; // of the CPR review settings: the panel's depth scale

    const QImage &picture() const { return m_buffers.picture; }
    const uint8_t *samples(EnlargedView view) const { return m_samples[size_t(view)].data(); }
    EnlargedGeometry drawingGeometry() const;
    // What the pointer at pos shows: the cause and length of the pause part under it, or "".
    QString toolTipAt(QPoint pos) const;
    QPushButton *optionsButton() const { return m_options; }
    QPushButton *foldButton() const { return m_fold; }
    QPushButton *unfoldButton() const { return m_unfold; }

    // Input as the event handlers pass it on; public so that hosts and tests can drive it.
    void OnRightButtonUp(QPoint pos, QPoint globalPos);
    void OnOptionsButton(QPoint globalPos);
    // The context menu for the time under the mouse, items set and removed.
    std::unique_ptr<QMenu> prepareContextMenu(int32_t t);
    std::unique_ptr<QMenu> prepareOptionsMenu();
    void OnCommand(int commandId);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void makeBuffers(int width, int height);
    void createButtons(int height);
    void placeButtons(const EnlargedGeometry &g, bool hasCprFeedback);
    void selectSegment();
    void copySegment();
    ShownCase shown() const;

    CaseSession &m_session;
    ReviewState &m_review;
    EnlargedBuffers m_buffers;
    HandsOffCache m_handsOff;
    std::array<std::vector<uint8_t>, 3> m_samples; // per view: 2000, 1500, 500 samples
    QString m_gridText;       // text 143
    QString m_gridTextLarge;  // text 144
    QString m_title;          // text 142
    QPushButton *m_options = nullptr;
    QPushButton *m_fold = nullptr;
    QPushButton *m_unfold = nullptr;
};
