#include "app/CaseTreeIcons.h"

#include "case/TreeControl.h"

#include <QPainter>
#include <QPainterPath>

namespace CaseTreeIcons {
namespace {

const QColor Ink(40, 40, 40);

struct ModelLook
{
    QColor colour;
    QColor tint;
    const char *number;
};

// Q21, Q25, Q26 by model index.
const ModelLook Models[TreeImage::ModelCount] = {
    {QColor(25, 95, 200), QColor(215, 230, 252), "21"},
    {QColor(0, 130, 95), QColor(205, 240, 225), "25"},
    {QColor(140, 55, 170), QColor(238, 218, 245), "26"},
};

void drawDate(QPainter &p)
{
    // A calendar sheet with a red band and rings.
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 2.5, 16, 14));
    p.setBrush(QColor(205, 40, 40));
    p.drawRect(QRectF(7.5, 2.5, 16, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 120, 120));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(9.5 + col * 3.5, 9 + row * 3.5, 2, 2));
    p.setPen(QPen(Ink, 1.2));
    p.drawLine(QPointF(11, 1), QPointF(11, 4));
    p.drawLine(QPointF(20, 1), QPointF(20, 4));
}

void drawDevice(QPainter &p)
{
    // A defibrillator: a green case with a handle and a white heart crossed by a bolt.
    p.setPen(QPen(Ink, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(11.5, 1.5, 8, 4), 1.5, 1.5);
    p.setBrush(QColor(20, 150, 90));
    p.drawRoundedRect(QRectF(4.5, 4.5, 22, 12), 2.5, 2.5);
    QPainterPath heart;
    heart.moveTo(15.5, 15);
    heart.cubicTo(10, 11.5, 10, 6.5, 13, 6.5);
    heart.cubicTo(14.5, 6.5, 15.5, 8, 15.5, 8.5);
    heart.cubicTo(15.5, 8, 16.5, 6.5, 18, 6.5);
    heart.cubicTo(21, 6.5, 21, 11.5, 15.5, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(heart);
    p.setBrush(QColor(220, 40, 40));
    p.drawPolygon(QPolygonF({QPointF(16.5, 7), QPointF(13.5, 11), QPointF(15.5, 11), QPointF(14.5, 14.5),
                             QPointF(17.5, 10), QPointF(15.5, 10)}));
}

void drawCase(QPainter &p, bool viewed)
{
    // A report sheet; a blue dot while not viewed, a green tick once viewed.
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(5.5, 1.5), QPointF(14.5, 1.5), QPointF(18.5, 5.5), QPointF(18.5, 16.5),
                             QPointF(5.5, 16.5)}));
    p.drawPolyline(QPolygonF({QPointF(14.5, 1.5), QPointF(14.5, 5.5), QPointF(18.5, 5.5)}));
    p.setPen(QColor(150, 150, 150));
    for (int y = 8; y <= 14; y += 3)
        p.drawLine(QPointF(8, y + 0.5), QPointF(16, y + 0.5));
    if (viewed) {
        QPen tick(QColor(20, 150, 50), 2.4);
        tick.setCapStyle(Qt::RoundCap);
        tick.setJoinStyle(Qt::RoundJoin);
        p.setPen(tick);
        p.drawPolyline(QPolygonF({QPointF(20.5, 9.5), QPointF(23.5, 13), QPointF(29, 4.5)}));
    } else {
        p.setPen(QPen(QColor(10, 60, 150), 1));
        p.setBrush(QColor(40, 120, 230));
        p.drawEllipse(QPointF(25, 9), 4, 4);
    }
}

void drawPower(QPainter &p, const QColor &colour)
{
    QPen pen(colour, 2.2);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4.5, 10, 10), 120 * 16, 300 * 16);
    p.drawLine(QPointF(9, 3), QPointF(9, 9));
}

void drawKind(QPainter &p, TreeImage::EventKind kind)
{
    using TreeImage::EventKind;
    switch (kind) {
    case EventKind::Other: {
        // A speech bubble: a prompt or a message of the device.
        p.setPen(QPen(QColor(70, 70, 70), 1));
        p.setBrush(Qt::white);
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(3.5, 3.5, 11, 8), 2.5, 2.5);
        bubble.moveTo(6, 11.5);
        bubble.lineTo(5, 15);
        bubble.lineTo(9, 11.5);
        p.drawPath(bubble.simplified());
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 70, 70));
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(6.5 + i * 2.5, 7.5), 0.9, 0.9);
        break;
    }
    case EventKind::Shock:
        p.setPen(QPen(QColor(120, 70, 0), 1));
        p.setBrush(QColor(255, 190, 0));
        p.drawPolygon(QPolygonF({QPointF(11, 1.5), QPointF(4.5, 10), QPointF(8.5, 10), QPointF(6.5, 16.5),
                                 QPointF(13.5, 7.5), QPointF(9.5, 7.5), QPointF(12, 1.5)}));
        break;
    case EventKind::PowerOff:
        drawPower(p, QColor(205, 30, 30));
        break;
    case EventKind::PowerOn:
        drawPower(p, QColor(0, 150, 30));
        break;
    case EventKind::Annotation:
        // A note with a pencil across it.
        p.setPen(QPen(QColor(120, 95, 20), 1));
        p.setBrush(QColor(255, 225, 90));
        p.drawRect(QRectF(3.5, 3.5, 10, 11));
        p.setPen(QPen(QColor(120, 95, 20), 0.8));
        p.drawLine(QPointF(5.5, 7), QPointF(11.5, 7));
        p.drawLine(QPointF(5.5, 9.5), QPointF(9.5, 9.5));
        p.setPen(QPen(QColor(60, 60, 60), 2.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(8, 14), QPointF(14.5, 5));
        p.setPen(QPen(QColor(230, 120, 120), 2.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(14.5, 5), QPointF(15.5, 3.6));
        break;
    }
}

void drawEvent(QPainter &p, TreeImage::EventKind kind, const ModelLook &model)
{
    p.setPen(QPen(model.colour, 2));
    p.setBrush(model.tint);
    p.drawRoundedRect(QRectF(1, 1, 16, 16), 3, 3);
    drawKind(p, kind);

    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(model.colour);
    p.drawText(QRect(18, 0, Width - 18, Height), Qt::AlignCenter, QString::fromLatin1(model.number));
}

} // namespace

QImage image(int index)
{
    QImage out(Width, Height, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    if (index < 0 || index >= TreeImage::Count)
        return out;
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case TreeImage::Date: drawDate(p); break;
    case TreeImage::Device: drawDevice(p); break;
    case TreeImage::CaseNotViewed: drawCase(p, false); break;
    case TreeImage::CaseViewed: drawCase(p, true); break;
    default: {
        const int e = index - TreeImage::EventImageBase;
        drawEvent(p, TreeImage::EventKind(e % TreeImage::EventImagesPerModel),
                  Models[e / TreeImage::EventImagesPerModel]);
        break;
    }
    }
    return out;
}

QList<QImage> images()
{
    QList<QImage> out;
    for (int i = 0; i < TreeImage::Count; ++i)
        out.append(image(i));
    return out;
}

} // namespace CaseTreeIcons
