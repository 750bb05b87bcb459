#include "app/LibraryChart.h"

#include "base/ProgramPlugin.h"

#include <algorithm>
#include <cmath>

LibraryChart *LibraryChart::load(QString *error)
{
    return ProgramPlugin::load<LibraryChart>(QLatin1String(LibraryChartPluginName), error);
}

namespace LibraryAxes {

LibraryAxis percent()
{
    return {};
}

LibraryAxis seconds(double largest)
{
    return {std::ceil(std::max(1.0, largest)), 5, QStringLiteral("%.0f s")};
}

LibraryAxis depth(double largest, CprDepthUnit unit)
{
    const bool cm = unit == CprDepthUnit::Centimetres;
    const double step = cm ? 2 : 1;
    const double least = cm ? 8 : 3;
    // A hair's tolerance, so that a value of exactly a step is not rounded up to the next.
    const double top = std::max(least, std::ceil(largest / step - 1e-9) * step);
    return {top, int(std::lround(top / step)) + 1, cm ? QStringLiteral("%.0f cm") : QStringLiteral("%.0f in")};
}

} // namespace LibraryAxes
