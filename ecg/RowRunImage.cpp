#include "ecg/RowRunImage.h"

#include <algorithm>
#include <cstring>

RowRunImage RowRunImage::capture(const QImage &picture, const QRect &area)
{
    RowRunImage out;
    const QRect r = area & picture.rect();
    if (r.isEmpty())
        return out;
    out.m_size = r.size();
    const size_t w = size_t(r.width());
    const size_t rowBytes = w * sizeof(uint32_t);
    out.m_rowAt.reserve(size_t(r.height()));
    const uint32_t *previous = nullptr;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto *row = reinterpret_cast<const uint32_t *>(picture.constScanLine(y)) + r.left();
        if (!previous || std::memcmp(row, previous, rowBytes) != 0) {
            out.m_pixels.insert(out.m_pixels.end(), row, row + w);
            previous = row;
        }
        out.m_rowAt.push_back(uint32_t(out.m_pixels.size() / w - 1));
    }
    out.m_pixels.shrink_to_fit();
    return out;
}

int RowRunImage::storedRows() const
{
    return m_size.isEmpty() ? 0 : int(m_pixels.size() / size_t(m_size.width()));
}

void RowRunImage::copyInto(QImage &picture, QPoint topLeft) const
{
    copyInto(picture.bits(), picture.bytesPerLine(), picture.size(), topLeft);
}

void RowRunImage::copyInto(uchar *bits, qsizetype bytesPerLine, QSize pictureSize, QPoint topLeft) const
{
    const QRect target = QRect(topLeft, m_size) & QRect(QPoint(0, 0), pictureSize);
    if (target.isEmpty())
        return;
    const size_t w = size_t(m_size.width());
    const size_t skip = size_t(target.left() - topLeft.x());
    const size_t bytes = size_t(target.width()) * sizeof(uint32_t);
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const uint32_t *row = m_pixels.data() + size_t(m_rowAt[size_t(y - topLeft.y())]) * w + skip;
        std::memcpy(bits + y * bytesPerLine + target.left() * qsizetype(sizeof(uint32_t)), row, bytes);
    }
}
