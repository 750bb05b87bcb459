#include "cpr/HandsOffTable.h"

#include "cpr/CprQuality.h"
#include "cpr/HandsOff.h"

#include <array>

namespace {

QString field(std::optional<int64_t> ms)
{
    return ms ? QString::number(*ms) : QString();
}

// "until-analysis" becomes "untilAnalysisMs".
QString causeColumn(PauseCause cause)
{
    const QStringList words = pauseCauseName(cause).split(QLatin1Char('-'));
    QString column = words.first();
    for (qsizetype i = 1; i < words.size(); ++i)
        column += words[i].left(1).toUpper() + words[i].mid(1);
    return column + QStringLiteral("Ms");
}

} // namespace

std::vector<QStringList> handsOffPauseTable(const CprQualityResult &measures, const HandsOffResult &handsOff)
{
    QStringList header = {QStringLiteral("startMs"), QStringLiteral("lengthMs"), QStringLiteral("kind")};
    for (std::size_t k = 0; k < PauseCauseCount; ++k)
        header << causeColumn(PauseCause(k));
    header << QStringLiteral("setByReviewer");
    std::vector<QStringList> rows = {header};
    rows.reserve(handsOff.pauses.size() + 1);
    for (std::size_t i = 0; i < handsOff.pauses.size(); ++i) {
        const HandsOffPause &p = handsOff.pauses[i];
        std::array<int64_t, PauseCauseCount> byCause{};
        for (const PausePart &part : p.parts)
            byCause[std::size_t(part.cause)] += part.lengthMs;
        QStringList row = {QString::number(p.startMs), QString::number(p.lengthMs),
                           i < measures.pauses.size() ? pauseKindName(measures.pauses[i].kind) : QString()};
        for (int64_t ms : byCause)
            row << QString::number(ms);
        row << (p.setByReviewer ? QStringLiteral("true") : QStringLiteral("false"));
        rows.push_back(row);
    }
    return rows;
}

std::vector<QStringList> handsOffShockTable(const HandsOffResult &handsOff)
{
    std::vector<QStringList> rows = {{QStringLiteral("timeMs"), QStringLiteral("analysisMs"), QStringLiteral("chargeMs"),
                                      QStringLiteral("toShockMs"), QStringLiteral("preShockPauseMs"),
                                      QStringLiteral("postShockPauseMs"), QStringLiteral("periShockPauseMs")}};
    for (const HandsOffShock &s : handsOff.shocks)
        rows.push_back({QString::number(s.timeMs), field(s.analysisMs), field(s.chargeMs), field(s.toShockMs),
                        field(s.preShockPauseMs), field(s.postShockPauseMs), field(s.periShockPauseMs)});
    return rows;
}
