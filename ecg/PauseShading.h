#pragma once

#include "cpr/HandsOffResult.h"
#include "ecg/EcgGeometry.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class LanguagePack;
class QHelpEvent;
class QPainter;
class QWidget;

// Where the parts of the pauses are shaded in the colour of their cause, beneath the trace,
// and what the pointer over one of them says.

// One shaded stretch of a pause part on a picture (a part that crosses rows of the entire
// ECG is one stretch per row).
struct PausePartShade
{
    QRectF rect;          // picture (entire ECG) or strip (enlarged ECG) coordinates
    PauseCause cause = PauseCause::Other;
    bool setByReviewer = false;
    int64_t lengthMs = 0; // of the whole part

    bool operator==(const PausePartShade &) const = default;
};

// Entire ECG: the parts over the five rows, placed to the pixel like CPR periods; parts of
// length 0 and stretches narrower than a pixel left out.
std::vector<PausePartShade> entirePauseShades(const HandsOffResult &handsOff, const std::array<int32_t, 5> &rowStartMs,
                                              const std::array<int32_t, 5> &rowEndMs, const EntireGeometry &g);
// Enlarged ECG: the parts over the strip for the window lo .. hi, to the pixel.
std::vector<PausePartShade> enlargedPauseShades(const HandsOffResult &handsOff, int32_t lo, int32_t hi,
                                                const EnlargedGeometry &g);

// The stretch under a point (same coordinates as the stretches), or null.
const PausePartShade *pauseShadeAt(const std::vector<PausePartShade> &shades, QPointF point);

// "analysis 7.2 s", "airway (set by the reviewer) 12.0 s": the cause in the pack's language
// and the part's length, with the language's decimal separator.
QString pauseShadeTip(const PausePartShade &shade, const LanguagePack &texts);

// The colour a cause's shade (without its hatch) leaves on the pictures' background: what
// a legend beside the ECG shows.
QColor pauseShadeOnBackground(PauseCause cause, bool setByReviewer = false);

// Fills the stretches (and hatches those the reviewer set) with the painter as it is.
void paintPauseShades(QPainter &painter, const std::vector<PausePartShade> &shades);

// Shows the tip at the pointer of a tool-tip event over widget, or hides any for an empty tip.
void showPauseTip(QWidget &widget, const QHelpEvent &help, const QString &tip);
