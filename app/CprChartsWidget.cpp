#include "app/CprChartsWidget.h"

#include <QPainter>

CprChartsWidget::CprChartsWidget(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(300, 360);
}

void CprChartsWidget::setCharts(std::vector<CprChartSeries> charts)
{
    m_charts = std::move(charts);
    update();
}

QRectF CprChartsWidget::chartRect(const QSize &size, int index, int count)
{
    const double h = double(size.height()) / std::max(1, count);
    return QRectF(4, index * h + 4, size.width() - 8, h - 8);
}

void CprChartsWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int n = int(m_charts.size());
    for (int i = 0; i < n; ++i)
        CprChart::paint(painter, chartRect(size(), i, n), m_charts[size_t(i)], TextHeight);
}
