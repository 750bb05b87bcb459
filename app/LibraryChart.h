#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QtPlugin>

class QWidget;

// Grouped bars: one group per category, one bar per named set, each set holding one value
// per category. Percentages (0..100) by default; seconds (from 0 to the largest value) when
// not.
struct LibraryBars
{
    QStringList categories;
    QList<QPair<QString, QList<double>>> sets;
    bool percent = true;
};

// What the chart plugin gives the case library window: its summary chart (the plugin holds the
// Qt Charts part, so that the program loads it only when the window is first opened).
class LibraryChart
{
public:
    virtual ~LibraryChart() = default;
    // An empty chart widget, owned by the caller.
    virtual QWidget *newView() = 0;
    // Shows bars in a widget newView() made, with the legend below and 0..100 % (or the
    // seconds) up the side.
    virtual void showBars(QWidget *view, const LibraryBars &bars) = 0;

    // The plugin, loaded at the first call; null when it cannot be, with the reason in error.
    static LibraryChart *load(QString *error);
};

#define LibraryChart_iid "org.ravelin.LibraryChart/2"
Q_DECLARE_INTERFACE(LibraryChart, LibraryChart_iid)

// The plugin's name for ProgramPlugin.
inline constexpr char LibraryChartPluginName[] = "ravelin_library_chart";
