#include "ecg/TextStamps.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

bool TextStamps::Stamp::sameText(const Stamp &other) const
{
    return flags == other.flags && colour == other.colour && background == other.background &&
        hints == other.hints && size == other.size && place == other.place && text == other.text &&
        font == other.font;
}

// The painter draws the text into a scratch picture of the background, the rectangle moved
// by whole pixels to lie a margin inside it; the changed pixels are the stamp.
TextStamps::Stamp TextStamps::make(const QPainter &painter, const Stamp &key)
{
    Stamp stamp = key;
    const QRectF local(QPointF(0, 0) + key.place, key.size);
    const QRect laidOut = painter.fontMetrics().boundingRect(local.toAlignedRect(), key.flags, key.text);
    const int margin = 8 + painter.fontMetrics().height();
    const QRect reach = (laidOut | local.toAlignedRect()).adjusted(-margin, -margin, margin, margin);
    if (reach.width() > 4096 || reach.height() > 1024)
        return stamp;
    QImage scratch(reach.size(), QImage::Format_RGB32);
    scratch.fill(QColor::fromRgb(key.background));
    {
        QPainter p(&scratch);
        p.setRenderHints(painter.renderHints());
        p.setFont(painter.font());
        p.setPen(painter.pen());
        p.setLayoutDirection(painter.layoutDirection());
        p.translate(-reach.topLeft());
        p.drawText(local, key.flags, key.text);
    }
    const QRgb back = scratch.pixel(0, 0);
    QRect changed;
    for (int y = 0; y < scratch.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width(); ++x)
            if (row[x] != back)
                changed |= QRect(x, y, 1, 1);
    }
    // Pixels on the scratch picture's edge may have gone past it.
    if (!changed.isEmpty() && !scratch.rect().adjusted(1, 1, -1, -1).contains(changed))
        return stamp;
    stamp.usable = true;
    stamp.bounds = changed.translated(reach.topLeft());
    stamp.pixels.reserve(size_t(changed.width()) * size_t(std::max(0, changed.height())));
    for (int y = changed.top(); y <= changed.bottom(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(scratch.constScanLine(y));
        stamp.pixels.insert(stamp.pixels.end(), row + changed.left(), row + changed.right() + 1);
    }
    return stamp;
}

void TextStamps::draw(QPainter &painter, uchar *bits, qsizetype bytesPerLine, QSize pictureSize, QColor background,
                      const QRectF &rect, int flags, const QString &text)
{
    const QPen &pen = painter.pen();
    const bool plain = !painter.hasClipping() && painter.transform().isIdentity() && pen.style() != Qt::NoPen && pen.brush().style() == Qt::SolidPattern && background.alpha() == 255 &&
        std::abs(rect.x()) < 1e6 && std::abs(rect.y()) < 1e6 && painter.compositionMode() ==
        QPainter::CompositionMode_SourceOver && painter.opacity() == 1;
    if (!plain) {
        painter.drawText(rect, flags, text);
        return;
    }
    const QPoint pixel(int(std::floor(rect.x())), int(std::floor(rect.y())));
    Stamp key;
    key.text = text;
    key.font = painter.font();
    key.colour = pen.color().rgba();
    key.background = background.rgba();
    key.hints = int(painter.renderHints());
    key.flags = flags;
    key.size = rect.size();
    key.place = rect.topLeft() - QPointF(pixel);

    auto found = std::find_if(m_stamps.begin(), m_stamps.end(), [&](const Stamp &s) { return s.sameText(key); });
    if (found == m_stamps.end()) {
        if (m_stamps.size() >= MaxTexts)
            m_stamps.pop_back();
        m_stamps.insert(m_stamps.begin(), make(painter, key));
    } else {
        std::rotate(m_stamps.begin(), found, found + 1);
    }
    const Stamp &stamp = m_stamps.front();
    const QRect target = stamp.bounds.translated(pixel);
    if (!stamp.usable || !QRect(QPoint(0, 0), pictureSize).contains(target)) {
        painter.drawText(rect, flags, text);
        return;
    }
    // Written only over background, where the painter would have drawn these pixels.
    const QRgb back = stamp.background;
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(bits + y * bytesPerLine) + target.left();
        if (!std::all_of(row, row + target.width(), [&](QRgb p) { return p == back; })) {
            painter.drawText(rect, flags, text);
            return;
        }
    }
    ++m_written;
    const size_t w = size_t(target.width());
    for (int y = target.top(); y <= target.bottom(); ++y)
        std::memcpy(bits + y * bytesPerLine + qsizetype(target.left()) * 4,
                    stamp.pixels.data() + size_t(y - target.top()) * w, w * sizeof(QRgb));
}
