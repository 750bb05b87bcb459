#include "ecg/EcgStyle.h"

#include <QPainter>

namespace EcgStyle {

QColor background() { return QColor(255, 255, 255, 255); }
QColor text() { return QColor(0, 0, 0, 255); }
QColor eventText() { return QColor(0, 100, 100, 255); }
QColor panel() { return QColor(100, 100, 200, 200); }
QColor cprShade() { return QColor(250, 250, 0, 80); }
QColor segmentShade() { return QColor(250, 0, 250, 80); }
QColor pauseShade(uint32_t rgb)
{
    // The cause's colour lightened towards the paper, and opaque: a pause inside a CPR
    // period shows the same colour as one outside it, and the trace stays readable on it.
    const auto tint = [](int channel) { return (channel * 140 + 255 * (255 - 140) + 127) / 255; };
    const QColor c = QColor::fromRgb(QRgb(rgb));
    return QColor(tint(c.red()), tint(c.green()), tint(c.blue()));
}
QColor pauseHatch(uint32_t rgb) { return QColor::fromRgb(QRgb(rgb)).darker(170); }
QColor headerLeft() { return QColor(10, 10, 10, 255); }
QColor headerRight() { return QColor(128, 10, 10, 255); }

namespace {

QPen solid(QColor colour, qreal width)
{
    QPen pen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

} // namespace

QPen dashed(QColor colour, qreal width)
{
    QPen pen(colour, width, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setDashPattern({4, 4});
    return pen;
}

QPen tracePen(EnlargedView view)
{
    if (view == EnlargedView::Large)
        return solid(QColor(0, 50, 0, 255), 1.5);
    return solid(QColor(0, 100, 0, 255), 1.7);
}

QPen entireTracePen()
{
    return solid(QColor(0, 100, 0, 255), 1);
}

QPen gridPen(EnlargedView view, qreal width)
{
    if (view == EnlargedView::Large)
        return solid(QColor(220, 150, 150, 150), width);
    return solid(QColor(220, 150, 150, 200), width);
}

QPen entireGridPen()
{
    return solid(QColor(200, 130, 130, 255), 1);
}

QPen centreLinePen(bool playingInsideAudio)
{
    return solid(playingInsideAudio ? QColor(255, 0, 0, 255) : QColor(100, 100, 200, 200), 3);
}

QPen markerUnderPen()
{
    return solid(QColor(255, 255, 255, 255), 1);
}

QPen markerPen()
{
    return dashed(QColor(0, 0, 200, 255), 1);
}

QPen panelPen(bool isDashed)
{
    return isDashed ? dashed(panel(), 1) : solid(panel(), 1);
}

QFont font(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

} // namespace EcgStyle
