#include "ecg/PauseShading.h"

#include "base/LanguagePack.h"
#include "cpr/HandsOffTexts.h"
#include "cpr/PauseCauseStyle.h"
#include "ecg/BandedPaint.h"
#include "ecg/EcgStyle.h"
#include "ecg/IntervalShading.h"

#include <QBrush>
#include <QHelpEvent>
#include <QImage>
#include <QToolTip>
#include <QPainter>

namespace {

// Calls f(part, setByReviewer) for every part of some length.
template <typename F>
void forEachPart(const HandsOffResult &handsOff, F &&f)
{
    for (const HandsOffPause &pause : handsOff.pauses)
        for (const PausePart &part : pause.parts)
            if (part.lengthMs > 0)
                f(part, pause.setByReviewer);
}

int32_t partEnd(const PausePart &part)
{
    return int32_t(std::min<int64_t>(int64_t(part.startMs) + part.lengthMs, INT32_MAX));
}

} // namespace

std::vector<PausePartShade> entirePauseShades(const HandsOffResult &handsOff, const std::array<int32_t, 5> &rowStartMs,
                                              const std::array<int32_t, 5> &rowEndMs, const EntireGeometry &g)
{
    std::vector<PausePartShade> out;
    forEachPart(handsOff, [&](const PausePart &part, bool setByReviewer) {
        for (int row = 0; row < EntireGeometry::Rows; ++row) {
            const size_t k = size_t(row);
            const auto rect = entireShadeRect(part.startMs, partEnd(part), rowStartMs[k], rowEndMs[k], row, g, false);
            if (rect && rect->width() > 0)
                out.push_back({QRectF(*rect), part.cause, setByReviewer, part.lengthMs});
        }
    });
    return out;
}

std::vector<PausePartShade> enlargedPauseShades(const HandsOffResult &handsOff, int32_t lo, int32_t hi,
                                                const EnlargedGeometry &g)
{
    std::vector<PausePartShade> out;
    forEachPart(handsOff, [&](const PausePart &part, bool setByReviewer) {
        const int32_t end = partEnd(part);
        if (end < lo)
            return;
        const auto rect = enlargedShadeRect(part.startMs, end, lo, hi, g, false);
        if (rect && rect->width() > 0)
            out.push_back({*rect, part.cause, setByReviewer, part.lengthMs});
    });
    return out;
}

const PausePartShade *pauseShadeAt(const std::vector<PausePartShade> &shades, QPointF point)
{
    // Neighbouring parts share an edge pixel; the later one is drawn over it.
    for (auto it = shades.rbegin(); it != shades.rend(); ++it)
        if (it->rect.contains(point))
            return &*it;
    return nullptr;
}

QString pauseShadeTip(const PausePartShade &shade, const LanguagePack &texts)
{
    QString cause = texts.GetText(HandsOffText::causeText(shade.cause));
    if (shade.setByReviewer)
        cause = texts.GetText(HandsOffText::SetByReviewer).arg(cause);
    QString length = QString::number(double(shade.lengthMs) / 1000, 'f', 1);
    if (texts.isItalian())
        length.replace(QLatin1Char('.'), QLatin1Char(','));
    return cause + QLatin1Char(' ') + length + QStringLiteral(" s");
}

QColor pauseShadeOnBackground(PauseCause cause, bool setByReviewer)
{
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(EcgStyle::background());
    QPainter painter(&pixel);
    painter.fillRect(pixel.rect(), EcgStyle::pauseShade(pauseCauseStyle(cause, setByReviewer).rgb));
    painter.end();
    return pixel.pixelColor(0, 0);
}

void paintPauseShades(QPainter &painter, const std::vector<PausePartShade> &shades)
{
    for (const PausePartShade &shade : shades) {
        const PauseCauseStyle style = pauseCauseStyle(shade.cause, shade.setByReviewer);
        BandedPaint::fillRect(painter, shade.rect, EcgStyle::pauseShade(style.rgb));
        if (style.hatched)
            painter.fillRect(shade.rect, QBrush(EcgStyle::pauseHatch(style.rgb), Qt::BDiagPattern));
    }
}

void showPauseTip(QWidget &widget, const QHelpEvent &help, const QString &tip)
{
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help.globalPos(), tip, &widget);
}
