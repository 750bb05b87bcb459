#pragma once

#include "cpr/CprReviewSettings.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QtPlugin>

class QWidget;

// The value axis of the bars: from 0 to top, tickCount ticks (both ends included), each
// labelled by labelFormat (a printf format of one double).
struct LibraryAxis
{
    double top = 100;
    int tickCount = 5;
    QString labelFormat = QStringLiteral("%d %%");

    bool operator==(const LibraryAxis &) const = default;
};

// Grouped bars: one group per category, one bar per named set, each set holding one value
// per category, on the axis given.
struct LibraryBars
{
    QStringList categories;
    QList<QPair<QString, QList<double>>> sets;
    LibraryAxis axis;
};

// The axes of the library's charts. Percentages: 0..100 %. Seconds: 0 to the largest value
// rounded up to a whole second (at least 1). Depths, in unit: labels on round numbers, whole
// inches (0..3 in at least) or every second centimetre (0..8 cm at least), the top rounded up
// to the next of them.
namespace LibraryAxes {
LibraryAxis percent();
LibraryAxis seconds(double largest);
LibraryAxis depth(double largest, CprDepthUnit unit);
} // namespace LibraryAxes

// What the chart plugin gives the case library window: its summary chart (the plugin holds the
// Qt Charts part, so that the program loads it only when the window is first opened).
class LibraryChart
{
public:
    virtual ~LibraryChart() = default;
    // An empty chart widget, owned by the caller.
    virtual QWidget *newView() = 0;
    // Shows bars in a widget newView() made, with the legend below and the bars' axis up the
    // side.
    virtual void showBars(QWidget *view, const LibraryBars &bars) = 0;

    // The plugin, loaded at the first call; null when it cannot be, with the reason in error.
    static LibraryChart *load(QString *error);
};

#define LibraryChart_iid "org.ravelin.LibraryChart/3"
Q_DECLARE_INTERFACE(LibraryChart, LibraryChart_iid)

// The plugin's name for ProgramPlugin.
inline constexpr char LibraryChartPluginName[] = "ravelin_library_chart";
