#include "cpr/CprMinuteTable.h"

#include "cpr/CprQualityResult.h"

#include <QLocale>

namespace {

QString field(std::optional<double> value)
{
    return value ? QString::number(*value, 'g', QLocale::FloatingPointShortest) : QString();
}

} // namespace

std::vector<QStringList> cprMinuteTable(const CprQualityResult &r)
{
    std::vector<QStringList> rows;
    rows.reserve(r.perMinute.size() + 1);
    rows.push_back({QStringLiteral("minute"), QStringLiteral("compressions"), QStringLiteral("ccf"),
                    QStringLiteral("meanRatePerMin"), QStringLiteral("meanDepthIn")});
    for (const CprMinute &m : r.perMinute)
        rows.push_back({QString::number(m.minute), QString::number(m.compressions), field(m.ccf),
                        field(m.meanRatePerMin), field(m.meanDepthIn)});
    return rows;
}
