#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

// A rectangle of a 32-bit picture kept as its distinct rows: each run of equal rows in a
// row is stored once. A grid layer, whose rows repeat between its horizontal lines, takes
// a few dozen rows instead of its whole height, and copying it back reads rows that stay
// in the cache.
class RowRunImage
{
public:
    RowRunImage() = default;
    // The pixels of area (clipped to the picture) of a 32-bit picture.
    static RowRunImage capture(const QImage &picture, const QRect &area);

    QSize size() const { return m_size; }
    // Rows stored: one per run of equal rows.
    int storedRows() const;
    // Writes the kept pixels into a 32-bit picture with their top-left at topLeft, clipped
    // to the picture; the same pixels an opaque copy of the rectangle writes.
    void copyInto(QImage &picture, QPoint topLeft) const;
    // Same as copyInto, into picture memory laid out as bits with bytesPerLine bytes per row,
    // for a picture that a painter draws into at the same time.
    void copyInto(uchar *bits, qsizetype bytesPerLine, QSize pictureSize, QPoint topLeft) const;

private:
    QSize m_size;
    std::vector<uint32_t> m_pixels; // the stored rows, m_size.width() pixels each
    std::vector<uint32_t> m_rowAt;  // per row: index of its stored row
};
