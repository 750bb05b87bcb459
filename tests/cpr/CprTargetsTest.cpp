// Whether each measure met its target, and the summary lines the tab, the log and the
// printed report share.
#include "cpr/CprSummary.h"
#include "cpr/CprTargets.h"
#include "cpr/CprTexts.h"
#include "support/Packs.h"

#include <gtest/gtest.h>

namespace {

constexpr auto Met = CprTargetStatus::Met;
constexpr auto NotMet = CprTargetStatus::NotMet;
constexpr auto None = CprTargetStatus::None;

TEST(CprTargets, EachTargetIsJudgedWithItsBoundsIncluded)
{
    struct Case {
        const char *what;
        std::optional<double> ccf, rate, depthIn;
        std::vector<CprShockPauses> shocks;
        CprTargetChecks expected;
    };
    const CprQualitySettings defaults;
    const std::vector<Case> cases = {
        {"nothing measured", {}, {}, {}, {}, {None, None, None, None, None}},
        {"on every bound", 4.0 / 5.0, 100, 2.0, {{1000, 10000, 10000}}, {Met, Met, Met, Met, Met}},
        {"upper bounds", 1.0, 120, 2.4, {{1000, 0, 0}}, {Met, Met, Met, Met, Met}},
        {"just outside", 0.7999, 120.01, 2.41, {{1000, 10001, 10001}}, {NotMet, NotMet, NotMet, NotMet, NotMet}},
        {"below the bands", 0.5, 99.99, 1.99, {}, {NotMet, NotMet, NotMet, None, None}},
        // One shock without compressions before it judges the others' pre-shock pauses only.
        {"the longest pause decides",
         0.9,
         110,
         2.2,
         {{1000, std::nullopt, 4000}, {90000, 8000, 12000}, {150000, 11000, 3000}},
         {Met, Met, Met, NotMet, NotMet}},
        {"a shock after the last compression", 0.9, 110, 2.2, {{1000, 9000, std::nullopt}},
         {Met, Met, Met, Met, None}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CprQualityResult r;
        r.ccf = c.ccf;
        r.meanRatePerMin = c.rate;
        r.meanDepthIn = c.depthIn;
        r.shocks = c.shocks;
        const CprTargetChecks got = evaluateCprTargets(r, defaults);
        EXPECT_EQ(got.ccf, c.expected.ccf);
        EXPECT_EQ(got.rate, c.expected.rate);
        EXPECT_EQ(got.depth, c.expected.depth);
        EXPECT_EQ(got.preShock, c.expected.preShock);
        EXPECT_EQ(got.postShock, c.expected.postShock);
    }
}

TEST(CprTargets, SettingsMoveTheTargets)
{
    CprQualityResult r;
    r.ccf = 0.65;
    r.meanRatePerMin = 125;
    r.meanDepthIn = 1.9;
    r.shocks = {{5000, 14000, 12000}};
    CprQualitySettings s;
    s.ccfTarget = 0.6;
    s.rateMinPerMin = 110;
    s.rateMaxPerMin = 130;
    s.depthMinIn = 1.8;
    s.preShockPauseMaxMs = 15000;
    s.postShockPauseMaxMs = 11000;
    const CprTargetChecks got = evaluateCprTargets(r, s);
    EXPECT_EQ(got.ccf, Met);
    EXPECT_EQ(got.rate, Met);
    EXPECT_EQ(got.depth, Met);
    EXPECT_EQ(got.preShock, Met);
    EXPECT_EQ(got.postShock, NotMet);
}

TEST(CprSummary, LinesShowValuesTargetsAndResultsInTheChosenUnit)
{
    const LanguagePack texts = Packs::builtInEnglish();
    CprQualityResult r;
    r.compressionCount = 412;
    r.ccf = 0.7234;
    r.meanRatePerMin = 111.6;
    r.rateInTarget = 0.5;
    r.meanDepthIn = 2.1;
    r.depthInTarget = 0.75;
    r.depthShallow = 0.25;
    r.depthDeep = 0;
    r.shocks = {{65000, 14200, 3000}};
    r.longestPauseMs = 25300;
    r.pausesOver10s = 3;
    r.timeToFirstCompressionMs = 42000;
    r.timeToFirstShockMs = 3723000;
    CprReviewSettings settings;
    settings.depthUnit = CprDepthUnit::Centimetres;

    const std::vector<CprSummaryRow> rows = CprSummary::rows(r, settings, texts);
    ASSERT_EQ(rows.size(), 15u);
    const auto row = [&](int text) {
        for (const CprSummaryRow &x : rows)
            if (x.measure == texts.GetText(text))
                return x;
        ADD_FAILURE() << "no line for text " << text;
        return CprSummaryRow();
    };
    EXPECT_EQ(row(CprText::Compressions).value, "412");
    EXPECT_FALSE(row(CprText::Compressions).judged);

    const CprSummaryRow ccf = row(CprText::Ccf);
    EXPECT_EQ(ccf.value, "72.3 %");
    EXPECT_EQ(ccf.target, QStringLiteral("\u2265 80 %"));
    EXPECT_EQ(ccf.result, "Not met");
    EXPECT_EQ(row(CprText::MeanRate).value, "112 /min");
    EXPECT_EQ(row(CprText::MeanRate).target, QStringLiteral("100\u2013120 /min"));
    EXPECT_EQ(row(CprText::MeanRate).result, "Met");
    EXPECT_EQ(row(CprText::MeanDepth).value, "5.33 cm");
    EXPECT_EQ(row(CprText::MeanDepth).target, QStringLiteral("5.08\u20136.10 cm"));
    EXPECT_EQ(row(CprText::LongestPreShock).value, "14.2 s");
    EXPECT_EQ(row(CprText::LongestPreShock).target, QStringLiteral("\u2264 10 s"));
    EXPECT_EQ(row(CprText::LongestPreShock).status, NotMet);
    EXPECT_EQ(row(CprText::LongestPostShock).status, Met);
    EXPECT_EQ(row(CprText::LongestPause).value, "25.3 s");
    EXPECT_EQ(row(CprText::PausesOver10s).value, "3");
    EXPECT_EQ(row(CprText::TimeToFirstCompression).value, "0:42");
    EXPECT_EQ(row(CprText::TimeToFirstShock).value, "1:02:03");
    EXPECT_EQ(row(CprText::TimeToFirstAnalysis).value, QStringLiteral("\u2014")) << "none";
    EXPECT_EQ(row(CprText::TooDeep).value, "0.0 %") << "a share of nothing is 0, not none";

    settings.depthUnit = CprDepthUnit::Inches;
    const std::vector<CprSummaryRow> inches = CprSummary::rows(r, settings, texts);
    EXPECT_EQ(inches[4].value, "2.10 in");
    EXPECT_EQ(inches[4].target, QStringLiteral("2.0\u20132.4 in"));
}

TEST(CprSummary, PauseLinesNameTheirKindInThePacksLanguage)
{
    LanguagePack texts = Packs::builtInEnglish();
    CprQualityResult r;
    r.pauses = {{61500, 12345, CprPauseKind::PeriShock}, {125000, 2000, CprPauseKind::Analysis},
                {200000, 3100, CprPauseKind::Other}};
    const std::vector<CprPauseRow> english = CprSummary::pauseRows(r, texts);
    ASSERT_EQ(english.size(), 3u);
    EXPECT_EQ(english[0].startMs, 61500);
    EXPECT_EQ(english[0].start, "1:01");
    EXPECT_EQ(english[0].length, "12.3 s");
    EXPECT_EQ(english[0].kind, "peri-shock");
    EXPECT_EQ(english[1].kind, "analysis");
    EXPECT_EQ(english[2].kind, "other");

    texts.setLanguage(2);
    EXPECT_EQ(CprSummary::pauseRows(r, texts)[1].kind, "analisi");
    EXPECT_EQ(texts.GetText(CprText::Tab), QStringLiteral("Qualità RCP"));
}

} // namespace
