#include "cpr/HandsOffRows.h"

#include "base/LanguagePack.h"
#include "cpr/CprSummary.h"
#include "cpr/HandsOffTexts.h"

#include <map>
#include <utility>

namespace HandsOffRows {

namespace {

const QString Dot = QStringLiteral(" \u00b7 ");

QString seconds(std::optional<int64_t> ms)
{
    return CprSummary::seconds(ms);
}

} // namespace

std::vector<HandsOffShockRow> shockRows(const HandsOffResult &result, const CprQualitySettings &settings)
{
    std::vector<HandsOffShockRow> rows;
    rows.reserve(result.shocks.size());
    for (const HandsOffShock &s : result.shocks) {
        HandsOffShockRow row;
        row.time = CprSummary::caseTime(s.timeMs);
        row.analysis = seconds(s.analysisMs);
        row.charge = seconds(s.chargeMs);
        row.toShock = seconds(s.toShockMs);
        row.preShockPause = seconds(s.preShockPauseMs);
        row.postShockPause = seconds(s.postShockPauseMs);
        row.periShockPause = seconds(s.periShockPauseMs);
        row.preShock = atMost(s.preShockPauseMs, settings.preShockPauseMaxMs);
        row.postShock = atMost(s.postShockPauseMs, settings.postShockPauseMaxMs);
        row.periShock = atMost(s.periShockPauseMs,
                               int64_t(settings.preShockPauseMaxMs) + int64_t(settings.postShockPauseMaxMs));
        rows.push_back(row);
    }
    return rows;
}

HandsOffShockRow targetRow(const CprQualitySettings &settings, const QString &label)
{
    HandsOffShockRow row;
    row.time = label;
    row.preShockPause = CprSummary::pauseLimit(settings.preShockPauseMaxMs);
    row.postShockPause = CprSummary::pauseLimit(settings.postShockPauseMaxMs);
    row.periShockPause = CprSummary::pauseLimit(settings.preShockPauseMaxMs + settings.postShockPauseMaxMs);
    return row;
}

QStringList shockHeaders(const LanguagePack &texts)
{
    using namespace HandsOffText;
    QStringList headers;
    for (int text : {Shock, Analysis, Charge, ToShock, PreShockPause, PostShockPause, PeriShockPause})
        headers << texts.GetText(text);
    return headers;
}

QString causeName(PauseCause cause, bool setByReviewer, const LanguagePack &texts)
{
    const QString word = texts.GetText(HandsOffText::causeText(cause));
    return setByReviewer ? texts.GetText(HandsOffText::SetByReviewer).arg(word) : word;
}

std::vector<HandsOffCauseRow> causeRows(const HandsOffResult &result, const LanguagePack &texts)
{
    std::map<std::pair<PauseCause, bool>, int64_t> byCause;
    for (const HandsOffPause &p : result.pauses)
        for (const PausePart &part : p.parts)
            if (part.lengthMs > 0)
                byCause[{part.cause, p.setByReviewer}] += part.lengthMs;

    std::vector<HandsOffCauseRow> rows;
    for (const auto &[key, ms] : byCause) {
        HandsOffCauseRow row;
        row.cause = key.first;
        row.setByReviewer = key.second;
        row.ms = ms;
        row.share = result.totalMs > 0 ? double(ms) / double(result.totalMs) : 0;
        row.name = causeName(row.cause, row.setByReviewer, texts);
        row.amount = seconds(ms) + Dot + CprSummary::percent(row.share);
        rows.push_back(row);
    }
    return rows;
}

std::vector<HandsOffTimeRow> beforeCprRows(const BeforeCpr &before, const LanguagePack &texts)
{
    using namespace HandsOffText;
    const auto line = [&texts](int label, std::optional<int32_t> ms) {
        return HandsOffTimeRow{texts.GetText(label), CprSummary::caseTime(ms)};
    };
    return {line(FirstPadsOn, before.firstPadsOnMs), line(FirstAnalysis, before.firstAnalysisMs),
            line(FirstShock, before.firstShockMs), line(FirstCompression, before.firstCompressionMs)};
}

QString partsText(const HandsOffPause &pause, const LanguagePack &texts)
{
    QStringList parts;
    for (const PausePart &part : pause.parts)
        if (part.lengthMs > 0)
            parts << causeName(part.cause, pause.setByReviewer, texts) + QLatin1Char(' ') + seconds(part.lengthMs);
    return parts.join(Dot);
}

} // namespace HandsOffRows
