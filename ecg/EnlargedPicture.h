#pragma once

#include "ecg/EcgGeometry.h"
#include "ecg/ShownCase.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

// What one drawing run of the enlarged ECG reads.
struct EnlargedScene
{
    ShownCase shown;                    // no record: grid, titles and centre line only
    EnlargedView view = EnlargedView::EightSecond;
    int32_t centreMs = 0;               // case ms at the middle of the grid
    const uint8_t *samples = nullptr;   // the view's window, enlargedScale(view).sampleCount long
    bool showCprPeriods = true;
    bool showEventText = true;
    bool cprPanelCollapsed = false;
    bool playing = false;               // audio playback runs (the centre line turns red inside the record)
    QString gridText;                   // text 143, or 144 in the large view
    QString title;                      // text 142
};

// Back buffers of one enlarged picture: the picture itself, a strip three windows wide
// per view (so that markers just left of the shown part still show their texts) and the
// CPR panel. Sized by resize() from the client size.
struct EnlargedBuffers
{
    QImage picture;
    std::array<QImage, 3> strips; // indexed by EnlargedView
    QImage panel;

    void resize(int w, int h);
    QSize size() const { return picture.size(); }
};

// One drawing run into the buffers: everything is drawn again from a blank picture.
// Returns the geometry it used (where the fold buttons go follows from it).
EnlargedGeometry drawEnlargedPicture(EnlargedBuffers &buffers, const EnlargedScene &scene);
