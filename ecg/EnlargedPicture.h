#pragma once

#include "cpr/CprReviewSettings.h"
#include "cpr/HandsOffResult.h"
#include "ecg/EcgGeometry.h"
#include "ecg/LineStamps.h"
#include "ecg/PauseShading.h"
#include "ecg/RowRunImage.h"
#include "ecg/ShownCase.h"
#include "ecg/TextStamps.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// What one drawing run of the enlarged ECG reads.
struct EnlargedScene
{
    ShownCase shown;                    // no record: grid, titles and centre line only
    EnlargedView view = EnlargedView::EightSecond;
    int32_t centreMs = 0;               // case ms at the middle of the grid
    const uint8_t *samples = nullptr;   // the view's window, enlargedScale(view).sampleCount long
    bool showCprPeriods = true;         // CPR periods and the pauses' causes are shaded
    const HandsOffResult *handsOff = nullptr; // the pauses by cause; null: none shaded
    bool showEventText = true;
    bool cprPanelCollapsed = false;
    CprDepthUnit depthUnit = CprDepthUnit::Inches; // of the CPR panel's depth scale
    QChar decimalPoint = QLatin1Char('.');          // the language's, in the depth scale's numbers
    bool playing = false;               // audio playback runs (the centre line turns red inside the record)
    QString gridText;                   // text 143, or 144 in the large view
    QString title;                      // text 142
    QString cprPanelTitle = QStringLiteral("CPR"); // above the compression strip
};

// What the grid layer of one drawing run looks like: the picture's size and geometry,
// whether a case is shown, the shaded rectangles and the vertical grid lines. Two runs
// with equal keys draw the same layer.
struct EnlargedLayerKey
{
    QSize size;
    EnlargedView view = EnlargedView::EightSecond;
    int E = 0;
    bool shown = false;
    std::vector<std::pair<QRectF, bool>> shades; // strip rectangle, CPR period (else segment)
    std::vector<PausePartShade> pauseShades;     // strip rectangles
    std::vector<std::pair<int, int>> lines;      // strip x and kind of each vertical line

    bool operator==(const EnlargedLayerKey &) const = default;
};

// Back buffers of one enlarged picture: the picture itself and the grid layers of the
// last runs. A layer is the visible part of the ECG area with its
// background, shading and grid, the parts that stay while the picture is redrawn; a run
// whose layer is kept copies it instead of drawing those again. A layer is drawn straight
// into the picture when first needed and kept as its distinct rows (a few hundred KB at
// 1920 x 1080), only for the view drawn last, and the least recently used goes when more
// than MaxLayers are kept (the playback step shifts the grid through five cell
// positions). The CPR panel's frame is kept the same way for its geometry, and the stamps
// of the trace's lines and of the titles and time labels for any size. Sized by resize()
// from the client size.
struct EnlargedBuffers
{
    static constexpr size_t MaxLayers = 5;

    struct Layer
    {
        EnlargedLayerKey key;
        RowRunImage rows; // the layer's pixels, as the picture shows them
    };

    // The CPR panel's frame (background, caption, lines and their labels) as the picture
    // shows it, for the panel geometry and depth scale of key: the same for every run of a
    // size, view and unit.
    struct PanelFrame
    {
        std::array<int, 11> key{};
        RowRunImage rows;
    };

    QImage picture;
    std::vector<Layer> layers; // most recently used first
    PanelFrame panelFrame;     // empty rows: none kept
    LineStamps traceStamps;    // the trace's lines
    TextStamps textStamps;     // titles and time labels
    // The pause parts the last run shaded, in picture coordinates, cut to the ECG area shown.
    std::vector<PausePartShade> shownPauseShades;

    void resize(int w, int h);
    QSize size() const { return picture.size(); }
};

// One drawing run into the buffers: everything is drawn again from a blank picture.
// Returns the geometry it used (where the fold buttons go follows from it).
EnlargedGeometry drawEnlargedPicture(EnlargedBuffers &buffers, const EnlargedScene &scene);
