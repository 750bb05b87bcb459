#include "library/LibraryQaReport.h"

#include "base/CTime.h"
#include "base/LanguagePack.h"
#include "cpr/HandsOffTexts.h"
#include "library/CaseLibrary.h"
#include "library/LibraryQaTexts.h"
#include "library/LibraryText.h"

#include <cmath>

bool readLibraryQaReport(CaseLibrary &library, const LibraryFilter &filter, double ccfTarget, LibraryQaReport &report)
{
    report = LibraryQaReport();
    report.filter = filter;
    report.ccfTarget = ccfTarget;
    std::vector<LibraryStatsRow> all;
    if (!library.stats({{LibraryGrouping::All, &all},
                        {LibraryGrouping::Month, &report.months},
                        {LibraryGrouping::Device, &report.devices}},
                       filter, ccfTarget)
        || !library.needingAttention(filter, ccfTarget, LibraryQaReport::AttentionLimit, report.attention,
                                     report.attentionTotal))
        return false;
    if (!all.empty())
        report.all = all.front();
    return true;
}

namespace LibraryQaLines {

namespace {

constexpr QChar None(0x2014); // an em dash

QString decimal(double value, int digits, const LanguagePack &texts)
{
    QString text = QString::number(value, 'f', digits);
    if (texts.isItalian())
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

// A whole percent when it is one ("80 %"), else with one decimal.
QString targetPercent(double share, const LanguagePack &texts)
{
    const double p = share * 100;
    return decimal(p, std::abs(p - std::round(p)) < 1e-9 ? 0 : 1, texts) + QStringLiteral(" %");
}

std::optional<double> asDouble(std::optional<int64_t> v)
{
    return v ? std::optional<double>(double(*v)) : std::nullopt;
}

} // namespace

QString percent(std::optional<double> share, const LanguagePack &texts)
{
    return share ? decimal(*share * 100, 1, texts) + QStringLiteral(" %") : QString(None);
}

QString seconds(std::optional<double> ms, const LanguagePack &texts)
{
    return ms ? decimal(*ms / 1000, 1, texts) + QStringLiteral(" s") : QString(None);
}

QString period(const LibraryFilter &filter, const LanguagePack &texts)
{
    return texts.GetText(LibraryQaText::Period)
        .arg(filter.fromDay.isEmpty() ? texts.GetText(LibraryQaText::FirstRecording) : filter.fromDay,
             filter.toDay.isEmpty() ? texts.GetText(LibraryQaText::LastRecording) : filter.toDay);
}

QStringList filters(const LibraryFilter &filter, const LanguagePack &texts, bool anonymize)
{
    QStringList out;
    const auto add = [&](int label, const QString &value) {
        if (!value.isEmpty())
            out << texts.GetText(label) + QStringLiteral(": ") + value;
    };
    add(LibraryText::From, filter.fromDay);
    add(LibraryText::To, filter.toDay);
    add(LibraryText::Serial, filter.serialNumber);
    add(LibraryText::Model, filter.model);
    add(LibraryText::MinShocks, filter.minShocks ? QString::number(*filter.minShocks) : QString());
    add(LibraryText::CcfBelow, filter.ccfBelow ? targetPercent(*filter.ccfBelow, texts) : QString());
    add(LibraryText::Search, filter.search.isEmpty() ? QString()
                             : anonymize            ? texts.GetText(LibraryQaText::NotShown)
                                                    : QLatin1Char('"') + filter.search + QLatin1Char('"'));
    add(LibraryText::Status, filter.stage ? texts.GetText(LibraryText::stageText(*filter.stage)) : QString());
    add(LibraryText::Assignee, filter.assignee);
    if (out.isEmpty())
        out << texts.GetText(LibraryQaText::NoFilters);
    return out;
}

std::vector<Line> summary(const LibraryQaReport &report, const LanguagePack &texts)
{
    const LibraryStatsRow &r = report.all;
    QString ccf = percent(r.medianCcf, texts);
    if (r.lowerQuartileCcf && r.upperQuartileCcf)
        ccf += QStringLiteral(" (%1 %2 %3)").arg(percent(r.lowerQuartileCcf, texts), QChar(0x2013),
                                                  percent(r.upperQuartileCcf, texts));
    return {
        {texts.GetText(LibraryQaText::Recordings), QString::number(r.cases)},
        {texts.GetText(LibraryText::Shocks), QString::number(r.shocks)},
        {texts.GetText(LibraryQaText::MedianCcfIqr), ccf},
        {texts.GetText(LibraryQaText::CcfAtTarget).arg(targetPercent(report.ccfTarget, texts)),
         percent(r.shareCcfAtTarget, texts)},
        {texts.GetText(LibraryQaText::PreShockAtMost).arg(QStringLiteral("10 s")),
         percent(r.shareShocksPreShockPauseAtMost10s, texts)},
        {texts.GetText(LibraryQaText::PreShockAtMost).arg(QStringLiteral("20 s")),
         percent(r.shareShocksPreShockPauseAtMost20s, texts)},
        {texts.GetText(HandsOffText::MedianPreShockPause), seconds(r.medianPreShockPauseMs, texts)},
        {texts.GetText(LibraryQaText::ToFirstAnalysis), seconds(r.medianToFirstAnalysisMs, texts)},
        {texts.GetText(LibraryQaText::ToFirstShock), seconds(r.medianToFirstShockMs, texts)},
        {texts.GetText(LibraryQaText::ToFirstCompression), seconds(r.medianToFirstCompressionMs, texts)},
    };
}

std::vector<Line> handsOffByCause(const LibraryStatsRow &row, const LanguagePack &texts)
{
    std::vector<Line> lines;
    if (!row.handsOffMs || !row.handsOffByCauseMs)
        return lines;
    const double total = double(*row.handsOffMs);
    const auto share = [total](int64_t ms) { return total > 0 ? std::optional<double>(double(ms) / total) : std::nullopt; };
    lines.push_back({texts.GetText(HandsOffText::HandsOffTime), seconds(total, texts)});
    for (std::size_t k = 0; k < PauseCauseCount; ++k) {
        const int64_t ms = (*row.handsOffByCauseMs)[k];
        if (ms > 0)
            lines.push_back({texts.GetText(HandsOffText::causeText(PauseCause(k))),
                             seconds(asDouble(ms), texts) + QStringLiteral("  (") + percent(share(ms), texts)
                                 + QLatin1Char(')')});
    }
    return lines;
}

QStringList deviceHeaders(const LanguagePack &texts)
{
    return {texts.GetText(LibraryText::Serial), texts.GetText(LibraryText::Model),
            texts.GetText(LibraryQaText::Recordings), texts.GetText(LibraryText::MedianCcf),
            texts.GetText(HandsOffText::MedianPreShockPause)};
}

QList<QStringList> deviceRows(const LibraryQaReport &report, const LanguagePack &texts)
{
    QList<QStringList> rows;
    for (const LibraryStatsRow &d : report.devices) {
        const QString pause = d.medianPreShockPauseMs ? decimal(*d.medianPreShockPauseMs / 1000, 1, texts) : QString(None);
        rows << QStringList{d.group.isEmpty() ? texts.GetText(LibraryText::Unknown) : d.group, d.model,
                            QString::number(d.cases), percent(d.medianCcf, texts), pause};
    }
    return rows;
}

QStringList attentionHeaders(const LanguagePack &texts, bool anonymize)
{
    QStringList headers = {texts.GetText(LibraryQaText::Date), texts.GetText(LibraryText::Device)};
    if (!anonymize)
        headers << texts.GetText(LibraryQaText::Patient);
    return headers << QStringLiteral("CCF") << texts.GetText(LibraryText::Shocks)
                   << texts.GetText(LibraryQaText::LongestPreShock) << texts.GetText(LibraryQaText::Why)
                   << texts.GetText(LibraryText::Status);
}

QList<QStringList> attentionRows(const LibraryQaReport &report, const LanguagePack &texts, bool anonymize)
{
    QList<QStringList> rows;
    for (const LibraryCase &c : report.attention) {
        QStringList why;
        if (c.review.stage == ReviewStatus::Stage::FollowUp)
            why << texts.GetText(LibraryText::StageFollowUp);
        if (c.ccf && *c.ccf < report.ccfTarget)
            why << texts.GetText(LibraryQaText::CcfBelowTarget);
        if (c.maxPreShockPauseMs && *c.maxPreShockPauseMs > CaseLibrary::AttentionPreShockPauseMs)
            why << texts.GetText(LibraryQaText::PreShockOver20s);
        // On the clock of the zone whose days the report's filters and months are.
        const QString when = c.startTimeValid ? libraryClockTime(c.startTime, report.filter.zoneOffsetMinutes).Format("%Y-%m-%d %H:%M")
                                              : texts.GetText(LibraryText::Unknown);
        QStringList row = {when, c.serialNumber + QStringLiteral(" (") + c.model + QLatin1Char(')')};
        if (!anonymize) {
            QStringList patient;
            const QString name = QStringList({c.lastName, c.firstName}).join(QStringLiteral(", "));
            if (!c.lastName.isEmpty() || !c.firstName.isEmpty())
                patient << name;
            if (!c.patientId.isEmpty())
                patient << c.patientId;
            row << (patient.isEmpty() ? QString(None) : patient.join(QStringLiteral(" · ")));
        }
        rows << (row << percent(c.ccf, texts) << QString::number(c.shockCount)
                     << seconds(asDouble(c.maxPreShockPauseMs), texts) << why.join(QStringLiteral(", "))
                     << texts.GetText(LibraryText::stageText(c.review.stage)));
    }
    return rows;
}

QStringList definitions(const LibraryQaReport &report, const LanguagePack &texts)
{
    QStringList out;
    for (int i = 0; i < LibraryQaText::DefinitionCount; ++i)
        out << texts.GetText(LibraryQaText::FirstDefinition + i);
    out[0] = out[0].arg(targetPercent(report.ccfTarget, texts));
    return out;
}

} // namespace LibraryQaLines
