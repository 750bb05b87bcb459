#pragma once

#include "ecg/EcgGeometry.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <cstdint>

class QPainter;

// The drawing vocabulary of the ECG pictures: colours (red, green, blue, alpha), pens,
// fonts and text alignments. Lines are drawn without antialiasing, text with it.
namespace EcgStyle {

QColor background();
QColor text();
QColor eventText();
QColor panel();          // CPR panel caption, lines, labels and bars
QColor cprShade();       // translucent yellow
QColor segmentShade();   // translucent magenta
// A pause part in the colour of its cause (0xRRGGBB), lightened and opaque so that the trace
// and the grid stay readable over it and a CPR period beneath does not change it; the hatch
// of a part the reviewer set, darker.
QColor pauseShade(uint32_t rgb);
QColor pauseHatch(uint32_t rgb);
QColor headerLeft();
QColor headerRight();

QPen tracePen(EnlargedView view);
QPen entireTracePen();
// Grid pen of a view; width 2 and 3 are the large view's heavier lines.
QPen gridPen(EnlargedView view, qreal width = 1);
QPen entireGridPen();
QPen centreLinePen(bool playingInsideAudio);
QPen markerUnderPen();   // white, under the dashed marker
QPen markerPen();        // blue, dashed 4 on 4 off
QPen panelPen(bool dashed);

// Arial at a pixel size (Liberation Sans serves the family where Arial is absent).
QFont font(int pixelSize, bool bold);
inline QFont textFont() { return font(11, false); }
inline QFont titleFont() { return font(11, true); }

// A pen dashed 4 on, 4 off in pen widths with flat caps, so dashes keep their length.
QPen dashed(QColor colour, qreal width);

// Start of every drawing run: aliased lines, antialiased text.
void prepare(QPainter &painter);

} // namespace EcgStyle
