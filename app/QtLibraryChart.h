#pragma once

#include "app/LibraryChart.h"

#include <QObject>

// The chart plugin: a bar chart of Qt Charts.
class QtLibraryChart : public QObject, public LibraryChart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID LibraryChart_iid)
    Q_INTERFACES(LibraryChart)
public:
    QWidget *newView() override;
    void showBars(QWidget *view, const LibraryBars &bars) override;
};
