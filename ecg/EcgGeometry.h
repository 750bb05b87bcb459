#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <array>
#include <cstdint>

// Pixel geometry of the ECG pictures, recomputed from the client size at every drawing
// run so that every scale follows the window. Rectangles are (x, y, width, height).

// The three views of the enlarged ECG.
enum class EnlargedView { EightSecond = 0, SixSecond = 1, Large = 2 };

// The fixed time and amplitude scale of one enlarged view.
struct EnlargedViewScale
{
    int32_t halfMs = 4000;         // the visible window is centre ± halfMs
    int32_t cellMs = 200;          // time per grid cell
    int cells = 40;                // cells across the visible window
    int cellsPerSecond = 5;
    int rows = 10;                 // grid rows over the 250 sample units
    int sampleCount = 2000;        // samples of the visible window, 4 ms apart
    int maxLabels = 9;             // time labels the window can show
    int32_t provisionalCprMs = 200; // length of a CPR mark until its End
    int markerOffset = 6;          // o of the CPR panel's top line (R + o)

    int32_t spanMs() const { return 2 * halfMs; }
};

EnlargedViewScale enlargedScale(EnlargedView view);

// The enlarged picture for a client size of w x h. The strip is drawn three windows wide
// and its middle third, from X to 2X, is copied to (40, 35) of the picture, so the grid
// starts at (40, 41). Strip coordinates below unless said otherwise.
struct EnlargedGeometry
{
    int w = 1;
    int h = 1;
    int E = 1;   // height of the ECG area; the CPR panel starts at y = E
    int X = 1;   // w - 70: width of the visible window, and its left edge in the strip
    int H = 1;   // E - 100: strip height
    int R = 0;   // pixels per grid row
    double p = 0; // pixels per grid cell
    EnlargedViewScale scale;

    int gridBottom() const { return scale.rows * R + 6; }
    double gridWidth() const { return p * scale.cells; }
    int centreX() const { return X + int(p * scale.cells / 2); }
};

// E: 2h / 3 with an unfolded CPR panel, h - 30 with a folded one, h without CPR feedback.
int enlargedEcgHeight(int h, bool hasCprFeedback, bool panelCollapsed);
EnlargedGeometry enlargedGeometry(int w, int h, EnlargedView view, bool hasCprFeedback, bool panelCollapsed);
// Back buffers made at each resize: a strip of 3(w - 70) x (h - 100) per view and the
// CPR panel of w x (h / 3 - 5); never below 1 x 1.
QSize enlargedStripSize(int w, int h);
QSize enlargedPanelSize(int w, int h);
// Where right clicks count: (40, 41)-(w - 30, h - 75), right and bottom excluded.
QRect enlargedHitRect(int w, int h);
// Case time under picture column x: (x - 40) * span / X + window start, integer arithmetic.
int32_t enlargedTimeAt(int x, EnlargedView view, int32_t centreMs, int X);
// Fold buttons: "∨" under an unfolded panel's top, "∧" at the bottom when folded.
QRect foldButtonRect(int h);
QRect unfoldButtonRect(int h);
QRect optionsButtonRect();

// The entire-ECG picture: five rows of 30 seconds, each 30v pixels wide from x = 50.
struct EntireGeometry
{
    int w = 1;
    int h = 1;
    int v = 0;    // pixels per second: int((w - 100) / 30)
    double u = 0; // (h - 50) / 5 - 20, integer division first
    int D = 0;    // int(u): row height
    int d = 0;    // int(u / 5): pixels per 1-mV division; the trace area is 5d high

    static constexpr int Rows = 5;
    static constexpr int RowMs = 30000;
    static constexpr int SamplesPerRow = 7500;

    int rowLeft() const { return 50; }
    int rowWidth() const { return 30 * v; }
    int rowTop(int row) const { return 20 + row * (D + 20); } // row 0..4
    int traceBottom(int row) const { return rowTop(row) + 5 * d; }
    // Hit area of a row: (50, top)-(30v + 50, top + D), right and bottom excluded.
    QRect rowRect(int row) const;
    // Label j (0 start, 1 middle, 2 end) under a row.
    QRectF labelRect(int row, int j) const;
};

EntireGeometry entireGeometry(int w, int h);
// The first row (0..4) whose hit area contains the point; -1 when none.
int entireRowAt(const EntireGeometry &g, QPoint point);
// Case time under column x of a row: (1000 x - 50000) / v + row start, truncating.
int32_t entireTimeAt(int x, int v, int32_t rowStartMs);
// Row ranges for a review position: row k runs from centre - 75000 + 30000 k for 30 s.
std::array<int32_t, 5> entireRowStarts(int32_t centreMs);
