#pragma once

#include "report/CprChart.h"

#include <QWidget>
#include <vector>

// The three per-minute charts of the CPR quality tab, one above the other, drawn by the
// painter of the printed report.
class CprChartsWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr double TextHeight = 11; // pixels

    explicit CprChartsWidget(QWidget *parent = nullptr);

    void setCharts(std::vector<CprChartSeries> charts);
    const std::vector<CprChartSeries> &charts() const { return m_charts; }
    // Where chart i goes in a widget of that size: equal shares of the height.
    static QRectF chartRect(const QSize &size, int index, int count);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<CprChartSeries> m_charts;
};
