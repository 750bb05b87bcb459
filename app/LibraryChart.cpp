#include "app/LibraryChart.h"

#include "base/ProgramPlugin.h"

LibraryChart *LibraryChart::load(QString *error)
{
    return ProgramPlugin::load<LibraryChart>(QLatin1String(LibraryChartPluginName), error);
}
