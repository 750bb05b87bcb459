#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

// Texts drawn on a plain background, kept as the pixels they leave. Drawn where every pixel
// is the background colour, a text leaves pixels that depend only on the text, its font,
// colour and alignment, and where its rectangle lies within a pixel: the painter draws each
// text once into a scratch picture of the background colour, and the pixels it changes
// there (the stamp) are written wherever the same text comes again over background. The
// enlarged picture's titles and time labels are a dozen such texts per run, each costing
// the painter a text layout.
class TextStamps
{
public:
    // Texts kept; the least recently used goes first.
    static constexpr size_t MaxTexts = 48;

    // painter.drawText(rect, flags, text) with the painter's font, pen and hints, for a
    // painter without clip or transform that draws into 32-bit picture memory (bits,
    // bytesPerLine, pictureSize). A stamp is written only where every pixel under it is
    // background; otherwise, or for another painter, the painter draws.
    void draw(QPainter &painter, uchar *bits, qsizetype bytesPerLine, QSize pictureSize, QColor background,
              const QRectF &rect, int flags, const QString &text);

    size_t size() const { return m_stamps.size(); }
    // Texts written from a stamp so far.
    size_t written() const { return m_written; }

private:
    struct Stamp
    {
        // What the text is drawn with.
        QString text;
        QFont font;
        QRgb colour = 0;
        QRgb background = 0;
        int hints = 0;
        int flags = 0;
        QSizeF size;     // of the rectangle
        QPointF place;   // of the rectangle within its pixel, [0, 1)
        // What it leaves.
        bool usable = false; // false: the text reaches past the scratch picture, the painter draws it
        QRect bounds;        // of the changed pixels, from the rectangle's pixel
        std::vector<QRgb> pixels; // bounds' rows, background where unchanged

        bool sameText(const Stamp &other) const;
    };

    static Stamp make(const QPainter &painter, const Stamp &key);

    std::vector<Stamp> m_stamps; // most recently used first
    size_t m_written = 0;
};
