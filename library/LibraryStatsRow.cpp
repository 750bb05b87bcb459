#include "library/LibraryStatsRow.h"

std::optional<double> medianOfSorted(const double *values, std::size_t count)
{
    if (count == 0)
        return std::nullopt;
    if (count % 2 == 1)
        return values[count / 2];
    return (values[count / 2 - 1] + values[count / 2]) / 2.0;
}
