#include "app/HandsOffBarWidget.h"

#include "report/HandsOffBar.h"

#include <QPainter>
#include <algorithm>

namespace {
constexpr int Gap = 16;       // between legend entries, pixels
constexpr int TextIndent = 4; // between a swatch and its text
constexpr int LegendTop = HandsOffBarWidget::BarHeight + 6;

QString entryText(const HandsOffCauseRow &row)
{
    return row.name + QLatin1Char(' ') + row.amount;
}
} // namespace

HandsOffBarWidget::HandsOffBarWidget(QWidget *parent) : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void HandsOffBarWidget::setCauses(std::vector<HandsOffCauseRow> causes)
{
    m_causes = std::move(causes);
    updateGeometry();
    update();
}

int HandsOffBarWidget::lineHeight() const
{
    return std::max(fontMetrics().height(), Swatch) + 4;
}

std::vector<double> HandsOffBarWidget::entryWidths() const
{
    std::vector<double> widths;
    for (const HandsOffCauseRow &row : m_causes)
        widths.push_back(Swatch + TextIndent + fontMetrics().horizontalAdvance(entryText(row)));
    return widths;
}

int HandsOffBarWidget::heightForWidth(int width) const
{
    const std::vector<HandsOffBar::LegendPlace> places = HandsOffBar::legendPlaces(entryWidths(), width, Gap);
    const int lines = places.empty() ? 0 : places.back().line + 1;
    return LegendTop + lines * lineHeight();
}

QSize HandsOffBarWidget::sizeHint() const
{
    return {400, heightForWidth(width() > 0 ? width() : 400)};
}

QSize HandsOffBarWidget::minimumSizeHint() const
{
    return {100, heightForWidth(width() > 0 ? width() : 400)};
}

void HandsOffBarWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    HandsOffBar::paint(painter, QRectF(0.5, 0.5, width() - 1.0, BarHeight), m_causes);
    const std::vector<HandsOffBar::LegendPlace> places = HandsOffBar::legendPlaces(entryWidths(), width(), Gap);
    painter.setPen(palette().color(QPalette::WindowText));
    for (size_t i = 0; i < places.size(); ++i) {
        const double top = LegendTop + places[i].line * lineHeight();
        const double swatchTop = top + (lineHeight() - Swatch) / 2.0;
        HandsOffBar::paintSwatch(painter, QRectF(places[i].left + 0.5, swatchTop + 0.5, Swatch, Swatch), m_causes[i]);
        painter.drawText(QRectF(places[i].left + Swatch + TextIndent, top, width(), lineHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter, entryText(m_causes[i]));
    }
}
