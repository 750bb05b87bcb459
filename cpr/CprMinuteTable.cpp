#include "cpr/CprMinuteTable.h"

#include "cpr/CprQuality.h"
#include "cpr/CprQualityResult.h"

#include <QLocale>

namespace {

QString field(std::optional<double> value)
{
    return value ? QString::number(*value, 'g', QLocale::FloatingPointShortest) : QString();
}

} // namespace

std::vector<QStringList> cprMinuteTable(const CprQualityResult &r, CprDepthUnit unit)
{
    const bool cm = unit == CprDepthUnit::Centimetres;
    const auto depth = [cm](std::optional<double> inches) {
        return inches && cm ? std::optional<double>(inchesToCm(*inches)) : inches;
    };
    std::vector<QStringList> rows;
    rows.reserve(r.perMinute.size() + 1);
    rows.push_back({QStringLiteral("minute"), QStringLiteral("compressions"), QStringLiteral("ccf"),
                    QStringLiteral("meanRatePerMin"), cm ? QStringLiteral("meanDepthCm") : QStringLiteral("meanDepthIn")});
    for (const CprMinute &m : r.perMinute)
        rows.push_back({QString::number(m.minute), QString::number(m.compressions), field(m.ccf),
                        field(m.meanRatePerMin), field(depth(m.meanDepthIn))});
    return rows;
}
