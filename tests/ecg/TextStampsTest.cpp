// Texts written from stamps leave exactly the pixels the painter leaves for them: at any
// whole or fractional place, in any alignment, the same text again at another place; a
// text whose pixels would fall on anything but background is left to the painter.
#include "ecg/EcgStyle.h"
#include "ecg/TextStamps.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

struct Text
{
    QRectF rect;
    int flags;
    QString text;
    bool bold;
};

// A white picture with a few coloured blocks, and the texts drawn over it by the painter
// or, with stamps, from stamps where they can be.
QImage drawn(const std::vector<Text> &texts, TextStamps *stamps)
{
    QImage picture(420, 200, QImage::Format_RGB32);
    picture.fill(EcgStyle::background());
    uchar *const bits = picture.bits();
    QPainter painter(&picture);
    EcgStyle::prepare(painter);
    painter.fillRect(QRect(300, 120, 30, 30), QColor(220, 150, 150));
    painter.fillRect(QRect(0, 190, 420, 1), QColor(0, 0, 200));
    for (const Text &t : texts) {
        painter.setPen(t.bold ? EcgStyle::eventText() : EcgStyle::text());
        painter.setFont(t.bold ? EcgStyle::titleFont() : EcgStyle::textFont());
        if (stamps)
            stamps->draw(painter, bits, picture.bytesPerLine(), picture.size(), EcgStyle::background(), t.rect,
                         t.flags, t.text);
        else
            painter.drawText(t.rect, t.flags, t.text);
    }
    return picture;
}

TEST(TextStamps, WritesThePixelsThePainterDraws)
{
    const int bottomLeft = Qt::AlignLeft | Qt::AlignBottom;
    const std::vector<Text> texts = {
        {QRectF(10, 10, 48, 20), bottomLeft, QStringLiteral("00:12:07"), false},
        {QRectF(110, 10, 48, 20), bottomLeft, QStringLiteral("00:12:07"), false},       // again, elsewhere
        {QRectF(200, 40, 48, 20), bottomLeft, QStringLiteral("-00:00:03"), false},      // wider than its rect
        {QRectF(10.5, 60.25, 48, 20), bottomLeft, QStringLiteral("00:12:07"), false},   // between pixels
        {QRectF(150.5, 80.25, 48, 20), bottomLeft, QStringLiteral("00:12:07"), false},  // again, between
        {QRectF(150, 100, 260, 20), Qt::AlignRight | Qt::AlignBottom, QStringLiteral("25 mm/s  10 mm/mV"), false},
        {QRectF(40, 120, 120, 20), bottomLeft, QStringLiteral("ECG"), true},
        {QRectF(290, 125, 48, 20), bottomLeft, QStringLiteral("00:12:07"), false},      // over a block
        {QRectF(10, 172, 48, 20), bottomLeft, QStringLiteral("00:12:07"), false},       // over the line
        {QRectF(400, 150, 48, 20), bottomLeft, QStringLiteral("00:12:07"), false},      // past the right edge
        {QRectF(60, 150, 100, 25), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
         QStringLiteral("Shock advised, stand clear"), false},
        {QRectF(200, 150, 10, 20), bottomLeft, QString(), false},                        // nothing to draw
    };
    TextStamps stamps;
    EXPECT_EQ(drawn(texts, &stamps), drawn(texts, nullptr));
    EXPECT_GE(stamps.written(), 7u);
    EXPECT_LE(stamps.written(), 9u) << "texts over anything but background are left to the painter";
    // Drawn again from the kept stamps.
    EXPECT_EQ(drawn(texts, &stamps), drawn(texts, nullptr));
    EXPECT_LE(stamps.size(), TextStamps::MaxTexts);
}

} // namespace
