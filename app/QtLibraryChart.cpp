#include "app/QtLibraryChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QValueAxis>

QWidget *QtLibraryChart::newView()
{
    auto *view = new QChartView;
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

void QtLibraryChart::showBars(QWidget *view, const LibraryBars &bars)
{
    auto *chartView = qobject_cast<QChartView *>(view);
    if (!chartView)
        return;
    auto *series = new QBarSeries;
    for (const auto &[name, values] : bars.sets) {
        auto *set = new QBarSet(name);
        for (double value : values)
            *set << value;
        series->append(set);
    }
    auto *chart = new QChart;
    chart->addSeries(series);
    auto *x = new QBarCategoryAxis;
    x->append(bars.categories);
    auto *y = new QValueAxis;
    y->setRange(0, bars.axis.top);
    y->setTickCount(bars.axis.tickCount);
    y->setLabelFormat(bars.axis.labelFormat);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QChart *old = chartView->chart();
    chartView->setChart(chart);
    delete old;
}
