// The CPR quality measures on small compression lists whose answers are worked out by hand.
#include "cpr/CprQuality.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using Compressions = std::vector<CprFeedbackRecord>;

void expectSame(const std::optional<double> &actual, const std::optional<double> &expected, const char *what)
{
    ASSERT_EQ(actual.has_value(), expected.has_value()) << what;
    if (expected) {
        EXPECT_DOUBLE_EQ(*actual, *expected) << what;
    }
}

void expectSame(const CprQualityResult &a, const CprQualityResult &e)
{
    EXPECT_EQ(a.compressionCount, e.compressionCount);
    EXPECT_EQ(a.pauseThresholdMs, e.pauseThresholdMs);
    EXPECT_EQ(a.firstCompressionMs, e.firstCompressionMs);
    EXPECT_EQ(a.lastCompressionMs, e.lastCompressionMs);
    EXPECT_EQ(a.compressionTimeMs, e.compressionTimeMs);
    expectSame(a.ccf, e.ccf, "ccf");
    expectSame(a.meanRatePerMin, e.meanRatePerMin, "meanRatePerMin");
    expectSame(a.rateInTarget, e.rateInTarget, "rateInTarget");
    expectSame(a.meanDepthIn, e.meanDepthIn, "meanDepthIn");
    expectSame(a.meanDepthCm, e.meanDepthCm, "meanDepthCm");
    expectSame(a.depthInTarget, e.depthInTarget, "depthInTarget");
    expectSame(a.depthShallow, e.depthShallow, "depthShallow");
    expectSame(a.depthDeep, e.depthDeep, "depthDeep");
    EXPECT_EQ(a.timeToFirstCompressionMs, e.timeToFirstCompressionMs);
    EXPECT_EQ(a.timeToFirstAnalysisMs, e.timeToFirstAnalysisMs);
    EXPECT_EQ(a.timeToFirstShockMs, e.timeToFirstShockMs);
    EXPECT_EQ(a.longestPauseMs, e.longestPauseMs);
    EXPECT_EQ(a.pausesOver10s, e.pausesOver10s);

    ASSERT_EQ(a.shocks.size(), e.shocks.size());
    for (size_t i = 0; i < e.shocks.size(); ++i) {
        SCOPED_TRACE("shock " + std::to_string(i));
        EXPECT_EQ(a.shocks[i].timeMs, e.shocks[i].timeMs);
        EXPECT_EQ(a.shocks[i].preShockPauseMs, e.shocks[i].preShockPauseMs);
        EXPECT_EQ(a.shocks[i].postShockPauseMs, e.shocks[i].postShockPauseMs);
    }
    ASSERT_EQ(a.pauses.size(), e.pauses.size());
    for (size_t i = 0; i < e.pauses.size(); ++i) {
        SCOPED_TRACE("pause " + std::to_string(i));
        EXPECT_EQ(a.pauses[i].startMs, e.pauses[i].startMs);
        EXPECT_EQ(a.pauses[i].lengthMs, e.pauses[i].lengthMs);
        EXPECT_EQ(pauseKindName(a.pauses[i].kind), pauseKindName(e.pauses[i].kind));
    }
    ASSERT_EQ(a.perMinute.size(), e.perMinute.size());
    for (size_t i = 0; i < e.perMinute.size(); ++i) {
        SCOPED_TRACE("minute row " + std::to_string(i));
        EXPECT_EQ(a.perMinute[i].minute, e.perMinute[i].minute);
        EXPECT_EQ(a.perMinute[i].compressions, e.perMinute[i].compressions);
        expectSame(a.perMinute[i].ccf, e.perMinute[i].ccf, "minute ccf");
        expectSame(a.perMinute[i].meanRatePerMin, e.perMinute[i].meanRatePerMin, "minute rate");
        expectSame(a.perMinute[i].meanDepthIn, e.perMinute[i].meanDepthIn, "minute depth");
    }
}

// The three depth shares of n compressions: in the band, too shallow, too deep.
void depthShares(CprQualityResult &e, double meanDepth, int inBand, int shallow, int deep)
{
    const double n = inBand + shallow + deep;
    e.meanDepthIn = meanDepth / 25.0;
    e.meanDepthCm = meanDepth / 25.0 * 2.54;
    e.depthInTarget = inBand / n;
    e.depthShallow = shallow / n;
    e.depthDeep = deep / n;
}

// The first and last compression and the time to the first.
void span(CprQualityResult &e, int count, int32_t firstMs, int32_t lastMs)
{
    e.compressionCount = count;
    e.firstCompressionMs = firstMs;
    e.lastCompressionMs = lastMs;
    e.timeToFirstCompressionMs = firstMs;
}

struct Case
{
    const char *name;
    CprQualityInput input;
    std::function<void(CprQualityResult &)> expected; // on top of an empty result at P = 2000 ms
};

TEST(CprQuality, MeasuresOfSmallCompressionListsAreThoseWorkedOutByHand)
{
    using K = CprPauseKind;
    const Case cases[] = {
        {"no compressions", {{}, {5000}, {3000}},
         [](CprQualityResult &e) {
             e.timeToFirstAnalysisMs = 3000;
             e.timeToFirstShockMs = 5000;
             e.shocks = {{5000, std::nullopt, std::nullopt}};
         }},
        {"a single compression", {{{1000, 55}}, {}, {}},
         [](CprQualityResult &e) {
             span(e, 1, 1000, 1000);
             depthShares(e, 55, 1, 0, 0);
             // No analysed span: the minute's CCF is none like the case's.
             e.perMinute = {{0, 1, std::nullopt, std::nullopt, 2.2}};
         }},
        {"a gap of P - 1 is in the run, a gap of exactly P is a pause", {{{0, 50}, {1999, 50}, {3999, 50}}, {}, {}},
         [](CprQualityResult &e) {
             span(e, 3, 0, 3999);
             e.compressionTimeMs = 1999;
             e.ccf = 1999.0 / 3999.0;
             e.meanRatePerMin = 60000.0 / 1999.0;
             e.rateInTarget = 0.0;
             depthShares(e, 50, 3, 0, 0);
             e.longestPauseMs = 2000;
             e.pauses = {{1999, 2000, K::Other}};
             e.perMinute = {{0, 3, 1999.0 / 3999.0, 60000.0 / 1999.0, 2.0}};
         }},
        {"a repeated time is the same compression, the first one kept",
         {{{1500, 60}, {1000, 50}, {1500, 65}, {1000, 40}}, {}, {}},
         [](CprQualityResult &e) {
             span(e, 2, 1000, 1500);
             e.compressionTimeMs = 500;
             e.ccf = 1.0;
             e.meanRatePerMin = 120.0;
             e.rateInTarget = 1.0;
             depthShares(e, 55, 2, 0, 0);
             e.perMinute = {{0, 2, 1.0, 120.0, 2.2}};
         }},
        {"gaps of 500 and 600 ms and depths of 50 and 60 are on target, their neighbours are not",
         {{{0, 49}, {499, 50}, {999, 60}, {1599, 61}, {2200, 55}}, {}, {}},
         [](CprQualityResult &e) {
             span(e, 5, 0, 2200);
             e.compressionTimeMs = 2200;
             e.ccf = 1.0;
             e.meanRatePerMin = 60000.0 * 4 / 2200;
             e.rateInTarget = 0.5; // 499 and 601 ms are outside 100..120 /min
             depthShares(e, 55, 3, 1, 1);
             e.perMinute = {{0, 5, 1.0, 60000.0 * 4 / 2200, 2.2}};
         }},
        {"pauses holding a shock, an analysis, or neither; shocks before, at and between compressions",
         {{{10000, 50}, {10600, 50}, {30600, 50}, {31100, 50}, {45000, 50}, {45500, 50}, {48000, 50}},
          {45000, 5000, 25000},
          {45500, 15000, 40000}},
         [](CprQualityResult &e) {
             span(e, 7, 10000, 48000);
             e.compressionTimeMs = 600 + 500 + 500;
             e.ccf = 1600.0 / 38000.0;
             e.meanRatePerMin = 60000.0 * 3 / 1600;
             e.rateInTarget = 1.0;
             depthShares(e, 50, 7, 0, 0);
             e.timeToFirstAnalysisMs = 15000;
             e.timeToFirstShockMs = 5000;
             e.longestPauseMs = 20000;
             e.pausesOver10s = 2;
             e.shocks = {{5000, std::nullopt, 5000}, {25000, 14400, 5600}, {45000, 13900, 500}};
             // The analysis at 15 s and the shock at 25 s share a pause: it is peri-shock. A
             // shock at 45 s or an analysis at 45.5 s lie on a pause's end, not in it.
             e.pauses = {{10600, 20000, K::PeriShock}, {31100, 13900, K::Analysis}, {45500, 2500, K::Other}};
             e.perMinute = {{0, 7, 1600.0 / 38000.0, 60000.0 * 3 / 1600, 2.0}};
         }},
        {"a minute boundary splits an in-run gap",
         {{{55000, 50}, {59500, 60}, {60500, 40}, {63000, 62}, {63500, 55}}, {}, {}},
         [](CprQualityResult &e) {
             span(e, 5, 55000, 63500);
             e.compressionTimeMs = 1000 + 500;
             e.ccf = 1500.0 / 8500.0;
             e.meanRatePerMin = 60000.0 * 2 / 1500;
             e.rateInTarget = 0.5;
             depthShares(e, 267.0 / 5, 3, 1, 1);
             e.longestPauseMs = 4500;
             e.pauses = {{55000, 4500, K::Other}, {60500, 2500, K::Other}};
             // The gap 59.5 s to 60.5 s gives 500 ms to each minute and its rate to minute 0.
             e.perMinute = {{0, 2, 500.0 / 5000.0, 60.0, 2.2},
                            {1, 3, 1000.0 / 3500.0, 120.0, 157.0 / 3 / 25}};
         }},
        {"an empty minute inside the span and a last compression on a minute's first millisecond",
         {{{10000, 50}, {10500, 50}, {130000, 50}, {130500, 50}, {180000, 50}}, {}, {}},
         [](CprQualityResult &e) {
             span(e, 5, 10000, 180000);
             e.compressionTimeMs = 1000;
             e.ccf = 1000.0 / 170000.0;
             e.meanRatePerMin = 120.0;
             e.rateInTarget = 1.0;
             depthShares(e, 50, 5, 0, 0);
             e.longestPauseMs = 119500;
             e.pausesOver10s = 2;
             e.pauses = {{10500, 119500, K::Other}, {130500, 49500, K::Other}};
             e.perMinute = {{0, 2, 500.0 / 50000.0, 120.0, 2.0},
                            {1, 0, 0.0, std::nullopt, std::nullopt},
                            {2, 2, 500.0 / 60000.0, 120.0, 2.0},
                            {3, 1, std::nullopt, std::nullopt, 2.0}};
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CprQualityResult expected;
        expected.pauseThresholdMs = 2000;
        c.expected(expected);
        expectSame(measureCprQuality(c.input, CprQualitySettings()), expected);
    }
}

TEST(CprQuality, ThresholdAndTargetBandsComeFromTheSettings)
{
    // Gaps of 1500, 2500 and 545 ms; depths of 1.6, 2.2, 2.6 and 3.0 inches.
    const CprQualityInput input{{{0, 40}, {1500, 55}, {4000, 65}, {4545, 75}}, {}, {}};
    CprQualitySettings settings;
    settings.pauseThresholdMs = 1500;
    settings.rateMinPerMin = 110; // 545 ms is 110.09 /min, 1500 ms is 40 /min
    settings.rateMaxPerMin = 130;
    settings.depthMinIn = 2.2;
    settings.depthMaxIn = 2.6;

    const CprQualityResult r = measureCprQuality(input, settings);
    EXPECT_EQ(r.pauseThresholdMs, 1500);
    ASSERT_EQ(r.pauses.size(), 2u) << "1500 ms is a pause at a threshold of 1500 ms";
    EXPECT_EQ(r.compressionTimeMs, 545);
    EXPECT_DOUBLE_EQ(*r.rateInTarget, 1.0);
    EXPECT_DOUBLE_EQ(*r.depthInTarget, 0.5);
    EXPECT_DOUBLE_EQ(*r.depthShallow, 0.25);
    EXPECT_DOUBLE_EQ(*r.depthDeep, 0.25);

    settings.pauseThresholdMs = 5000;
    const CprQualityResult wide = measureCprQuality(input, settings);
    EXPECT_TRUE(wide.pauses.empty());
    EXPECT_EQ(wide.longestPauseMs, std::nullopt);
    EXPECT_DOUBLE_EQ(*wide.ccf, 1.0);
    EXPECT_DOUBLE_EQ(*wide.rateInTarget, 1.0 / 3.0);
}

TEST(CprQuality, DepthConversionsAndPauseKindNames)
{
    EXPECT_DOUBLE_EQ(depthInches(50), 2.0);
    EXPECT_DOUBLE_EQ(depthInches(60), 2.4);
    EXPECT_DOUBLE_EQ(inchesToCm(2.0), 5.08);
    EXPECT_NEAR(inchesToCm(2.4), 6.10, 0.005);
    EXPECT_EQ(pauseKindName(CprPauseKind::PeriShock), "peri-shock");
    EXPECT_EQ(pauseKindName(CprPauseKind::Analysis), "analysis");
    EXPECT_EQ(pauseKindName(CprPauseKind::Other), "other");
}

} // namespace
