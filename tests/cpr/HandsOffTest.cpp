// Hands-off time explained by cause, on small event lists worked out by hand and on
// simulated rescues decoded as the import decodes them.
#include "case/CaseViewFixture.h"
#include "cpr/CprQuality.h"
#include "cpr/CprQualityInput.h"
#include "cpr/HandsOff.h"
#include "cpr/HandsOffTexts.h"
#include "cpr/PauseCauseStyle.h"
#include "support/Packs.h"
#include "tools/Simulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <numeric>
#include <string>

namespace {

using P = PauseCause;

constexpr int32_t Threshold = 2000;

// Compressions every 500 ms to 1000 ms, then one pause to 21000 ms and two more after it.
HandsOffInput onePause()
{
    HandsOffInput in;
    in.compressions = {{0, 50}, {500, 50}, {1000, 50}, {21000, 50}, {21500, 50}};
    return in;
}

std::string describe(const std::vector<PausePart> &parts)
{
    std::string out;
    for (const PausePart &p : parts)
        out += pauseCauseName(p.cause).toStdString() + " " + std::to_string(p.startMs) + "+" +
               std::to_string(p.lengthMs) + "; ";
    return out;
}

TEST(HandsOff, APauseIsSplitAtTheStepsOfItsShockOrAnalysisElseNamedByWhatItHeld)
{
    struct Case
    {
        const char *name;
        std::function<void(HandsOffInput &)> events;
        std::map<int32_t, PauseCause> reviewer;
        std::vector<PausePart> parts; // of the pause [1000, 21000)
    };
    const auto everyStep = [](HandsOffInput &in) {
        in.analysisStartsMs = {3000};
        in.analysisResultsMs = {9000};
        in.readyMs = {12000};
        in.shocksMs = {15000};
    };
    const std::vector<Case> cases = {
        {"a shock pause with every step", everyStep, {},
         {{P::UntilAnalysis, 1000, 2000}, {P::Analysis, 3000, 6000}, {P::Charge, 9000, 3000},
          {P::ToShock, 12000, 3000}, {P::AfterShock, 15000, 6000}}},
        {"a shock without an analysis: a result alone does not split",
         [](HandsOffInput &in) {
             in.analysisResultsMs = {9000};
             in.readyMs = {12000};
             in.shocksMs = {15000};
         },
         {},
         {{P::UntilAnalysis, 1000, 0}, {P::Analysis, 1000, 0}, {P::Charge, 1000, 11000},
          {P::ToShock, 12000, 3000}, {P::AfterShock, 15000, 6000}}},
        {"an analysis started before the pause counts from its start",
         [](HandsOffInput &in) {
             in.analysisStartsMs = {500};
             in.analysisResultsMs = {9000};
             in.readyMs = {12000};
             in.shocksMs = {15000};
         },
         {},
         {{P::UntilAnalysis, 1000, 0}, {P::Analysis, 1000, 8000}, {P::Charge, 9000, 3000},
          {P::ToShock, 12000, 3000}, {P::AfterShock, 15000, 6000}}},
        {"a ready prompt before the result is held at the result",
         [](HandsOffInput &in) {
             in.analysisStartsMs = {3000};
             in.analysisResultsMs = {9000};
             in.readyMs = {8000};
             in.shocksMs = {15000};
         },
         {},
         {{P::UntilAnalysis, 1000, 2000}, {P::Analysis, 3000, 6000}, {P::Charge, 9000, 0},
          {P::ToShock, 9000, 6000}, {P::AfterShock, 15000, 6000}}},
        {"of two shocks in a pause the first splits it",
         [](HandsOffInput &in) {
             in.analysisStartsMs = {16000, 3000};
             in.analysisResultsMs = {9000};
             in.readyMs = {17000, 12000};
             in.shocksMs = {18000, 15000};
         },
         {},
         {{P::UntilAnalysis, 1000, 2000}, {P::Analysis, 3000, 6000}, {P::Charge, 9000, 3000},
          {P::ToShock, 12000, 3000}, {P::AfterShock, 15000, 6000}}},
        {"an analysis without a result after its start",
         [](HandsOffInput &in) {
             in.analysisStartsMs = {5000};
             in.analysisResultsMs = {4000};
         },
         {},
         {{P::UntilAnalysis, 1000, 4000}, {P::Analysis, 5000, 0}, {P::AfterAnalysis, 5000, 16000}}},
        {"an analysis whose result comes after the compressions resumed",
         [](HandsOffInput &in) {
             in.analysisStartsMs = {5000};
             in.analysisResultsMs = {25000};
         },
         {},
         {{P::UntilAnalysis, 1000, 4000}, {P::Analysis, 5000, 16000}, {P::AfterAnalysis, 21000, 0}}},
        {"pads and breaths in one pause: pads",
         [](HandsOffInput &in) {
             in.breathsMs = {7000};
             in.padsMs = {5000};
         },
         {},
         {{P::Pads, 1000, 20000}}},
        {"breaths", [](HandsOffInput &in) { in.breathsMs = {7000}; }, {}, {{P::Breaths, 1000, 20000}}},
        {"events on the pause's ends are not inside it",
         [](HandsOffInput &in) {
             in.padsMs = {1000};
             in.breathsMs = {21000};
             in.shocksMs = {21000};
             in.analysisStartsMs = {1000};
         },
         {},
         {{P::Other, 1000, 20000}}},
        {"the reviewer's cause replaces the parts", everyStep, {{1000, P::Airway}}, {{P::Airway, 1000, 20000}}},
        {"a cause for another time changes nothing", everyStep, {{1500, P::Airway}},
         {{P::UntilAnalysis, 1000, 2000}, {P::Analysis, 3000, 6000}, {P::Charge, 9000, 3000},
          {P::ToShock, 12000, 3000}, {P::AfterShock, 15000, 6000}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HandsOffInput in = onePause();
        c.events(in);
        const HandsOffResult r = handsOff(in, Threshold, c.reviewer);
        ASSERT_EQ(r.pauses.size(), 1u);
        EXPECT_EQ(r.pauses[0].startMs, 1000);
        EXPECT_EQ(r.pauses[0].lengthMs, 20000);
        EXPECT_EQ(describe(r.pauses[0].parts), describe(c.parts));
        EXPECT_EQ(r.pauses[0].setByReviewer, c.reviewer.count(1000) == 1);
    }
}

TEST(HandsOff, EveryShockGetsTheStepsToItInThePauseThatHoldsIt)
{
    HandsOffInput in = onePause();
    in.analysisStartsMs = {3000, 16000};
    in.analysisResultsMs = {9000};
    in.readyMs = {12000, 17000};
    in.shocksMs = {21200, 18000, 15000}; // the last one during compressions

    const HandsOffResult r = handsOff(in, Threshold);

    struct Expected
    {
        int32_t timeMs;
        std::optional<int64_t> analysis, charge, toShock, pre, post, peri;
    };
    const std::vector<Expected> expected = {
        {15000, 6000, 3000, 3000, 14000, 6000, 20000},
        {18000, 0, 1000, 1000, 17000, 3000, 20000}, // its own analysis had no result
        {21200, {}, {}, {}, {}, {}, {}},
    };
    ASSERT_EQ(r.shocks.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].timeMs);
        const HandsOffShock &s = r.shocks[i];
        EXPECT_EQ(s.timeMs, expected[i].timeMs);
        EXPECT_EQ(s.analysisMs, expected[i].analysis);
        EXPECT_EQ(s.chargeMs, expected[i].charge);
        EXPECT_EQ(s.toShockMs, expected[i].toShock);
        EXPECT_EQ(s.preShockPauseMs, expected[i].pre);
        EXPECT_EQ(s.postShockPauseMs, expected[i].post);
        EXPECT_EQ(s.periShockPauseMs, expected[i].peri);
    }
}

TEST(HandsOff, TotalsAndSharesAddUpThePartsOfEveryPause)
{
    HandsOffInput in = onePause();
    in.compressions.push_back({31500, 50});
    in.compressions.push_back({32000, 50});
    in.analysisStartsMs = {3000};
    in.analysisResultsMs = {9000};
    in.readyMs = {12000};
    in.shocksMs = {15000};
    in.breathsMs = {25000};
    in.padsOnMs = {26000, 200};

    const HandsOffResult r = handsOff(in, Threshold);

    EXPECT_EQ(r.totalMs, 30000);
    std::array<int64_t, PauseCauseCount> byCause{};
    byCause[size_t(P::UntilAnalysis)] = 2000;
    byCause[size_t(P::Analysis)] = 6000;
    byCause[size_t(P::Charge)] = 3000;
    byCause[size_t(P::ToShock)] = 3000;
    byCause[size_t(P::AfterShock)] = 6000;
    byCause[size_t(P::Breaths)] = 10000;
    EXPECT_EQ(r.byCauseMs, byCause);
    EXPECT_DOUBLE_EQ(*r.share[size_t(P::Breaths)], 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(*r.share[size_t(P::Transport)], 0.0);
    EXPECT_EQ(r.beforeCpr.firstPadsOnMs, 200);
    EXPECT_EQ(r.beforeCpr.firstAnalysisMs, 3000);
    EXPECT_EQ(r.beforeCpr.firstShockMs, 15000);
    EXPECT_EQ(r.beforeCpr.firstCompressionMs, 0);

    // Without a pause there is nothing to share out; without compressions no first one.
    const HandsOffResult none = handsOff(in, 30000);
    EXPECT_EQ(none.totalMs, 0);
    EXPECT_FALSE(none.share[size_t(P::Other)].has_value());
    EXPECT_FALSE(handsOff({}, Threshold).beforeCpr.firstCompressionMs.has_value());
}

class HandsOffOfACase : public ::testing::Test, public CaseViewFixture
{
};

TEST_F(HandsOffOfACase, EventsAreFoundByTheCodesTheyCameFromAndThePadsByTheirChanges)
{
    DeviceFiles::TrendBlock block;
    const std::vector<std::pair<int32_t, int32_t>> events = {{5, 1000},  {6, 2000},  {7, 3000},  {9, 4000},
                                                             {13, 5000}, {27, 6000}, {29, 7000}, {31, 8000},
                                                             {32, 9000}, {8, 9500},  {12, 9600}};
    for (size_t i = 0; i < events.size(); ++i)
        block.events[i] = {events[i].first, events[i].second};
    block.pads[0] = {0, 600, 1};
    block.pads[1] = {10000, 11000, 2};
    block.shockMs = 12000;
    block.energyTenthsJ = 1500;
    DeviceFiles::DeviceFolder folder = emptyFolder();
    folder.trend = {block};
    const int slot = decodeCase(folder);
    // An annotation is no event of the device, whatever it says.
    view.store.AddEvent(slot, 9700, QStringLiteral("A: Prompt : Give two breaths."), QString());
    const CaseRecord &c = *view.store.caseAt(slot);

    HandsOffInput in = handsOffInput(c);
    const auto sortedTimes = [](std::vector<int32_t> t) {
        std::sort(t.begin(), t.end());
        return t;
    };
    EXPECT_EQ(in.shocksMs, (std::vector<int32_t>{12520}));
    EXPECT_EQ(sortedTimes(in.analysisStartsMs), (std::vector<int32_t>{2000, 8000}));
    EXPECT_EQ(in.analysisResultsMs, (std::vector<int32_t>{3000}));
    EXPECT_EQ(sortedTimes(in.readyMs), (std::vector<int32_t>{4000, 6000, 9000}));
    EXPECT_EQ(in.breathsMs, (std::vector<int32_t>{5000}));
    EXPECT_EQ(sortedTimes(in.padsOnMs), (std::vector<int32_t>{600, 11000}));
    EXPECT_EQ(sortedTimes(in.padsMs), (std::vector<int32_t>{600, 1000, 7000, 10000, 11000}));
}

// Over simulated rescues the parts of every pause follow one another from its start to its
// end, and the causes add up to the hands-off time of the CPR measures' pauses. Between
// them the rescues hold every cause the device's events can explain, and so does the demo
// case of the run script on its own.
TEST_F(HandsOffOfACase, SimulatedRescuesAreExplainedToTheMillisecond)
{
    std::vector<SimulationOptions> rescues(4);
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        rescues[seed - 1].seed = seed;
        rescues[seed - 1].minutes = 10.0;
    }
    SimulationOptions demo;
    demo.model = DeviceFiles::Model::Q25;
    demo.minutes = 8.0;
    demo.seed = 7;
    rescues.push_back(demo);

    std::array<int64_t, PauseCauseCount> seen{}, inDemo{};
    for (SimulationOptions &options : rescues) {
        SCOPED_TRACE(options.seed);
        options.audio = false;
        const DeviceFiles::DeviceFolder folder = simulateRescue(options);
        CaseRecord &c = *view.store.caseAt(decodeCase(folder));
        for (const auto &k : folder.cprFeedback)
            c.cprFeedback.push_back({k.timeMs, k.value});

        const HandsOffResult r = handsOff(handsOffInput(c), Threshold);
        CprQualitySettings settings;
        settings.pauseThresholdMs = Threshold;
        const CprQualityResult measures = measureCprQuality(cprQualityInput(c), settings);

        ASSERT_EQ(r.pauses.size(), measures.pauses.size());
        ASSERT_FALSE(r.pauses.empty());
        int64_t total = 0;
        for (size_t i = 0; i < r.pauses.size(); ++i) {
            const HandsOffPause &p = r.pauses[i];
            EXPECT_EQ(p.startMs, measures.pauses[i].startMs);
            EXPECT_EQ(p.lengthMs, measures.pauses[i].lengthMs);
            int64_t at = p.startMs;
            for (const PausePart &part : p.parts) {
                EXPECT_EQ(part.startMs, at) << describe(p.parts);
                EXPECT_GE(part.lengthMs, 0) << describe(p.parts);
                at += part.lengthMs;
            }
            EXPECT_EQ(at, p.startMs + p.lengthMs) << describe(p.parts);
            total += p.lengthMs;
        }
        EXPECT_EQ(r.totalMs, total);
        EXPECT_EQ(std::accumulate(r.byCauseMs.begin(), r.byCauseMs.end(), int64_t(0)), total);
        EXPECT_GT(r.byCauseMs[size_t(P::AfterShock)], 0);
        EXPECT_GT(r.byCauseMs[size_t(P::Analysis)], 0);
        EXPECT_TRUE(r.beforeCpr.firstPadsOnMs.has_value());
        if (&options == &rescues.back()) {
            inDemo = r.byCauseMs;
        } else {
            for (size_t k = 0; k < PauseCauseCount; ++k)
                seen[k] += r.byCauseMs[k];
        }
        ASSERT_EQ(r.shocks.size(), measures.shocks.size());
        for (size_t i = 0; i < r.shocks.size(); ++i) {
            const HandsOffShock &s = r.shocks[i];
            if (!s.periShockPauseMs)
                continue;
            EXPECT_EQ(s.preShockPauseMs, measures.shocks[i].preShockPauseMs);
            EXPECT_EQ(s.postShockPauseMs, measures.shocks[i].postShockPauseMs);
            EXPECT_GE(*s.analysisMs, 0);
            EXPECT_GE(*s.chargeMs, 0);
            EXPECT_GE(*s.toShockMs, 0);
            EXPECT_LE(*s.analysisMs + *s.chargeMs + *s.toShockMs, *s.preShockPauseMs);
        }

        // Explained from the measures already taken (which also read the events), it is the same.
        const HandsOffResult again = handsOff(handsOffInput(c), measures);
        EXPECT_EQ(again.byCauseMs, r.byCauseMs);
        EXPECT_EQ(again.beforeCpr.firstCompressionMs, r.beforeCpr.firstCompressionMs);
        ASSERT_EQ(again.pauses.size(), r.pauses.size());
        for (size_t i = 0; i < r.pauses.size(); ++i)
            EXPECT_EQ(describe(again.pauses[i].parts), describe(r.pauses[i].parts));
        ASSERT_EQ(again.shocks.size(), r.shocks.size());
        for (size_t i = 0; i < r.shocks.size(); ++i) {
            EXPECT_EQ(again.shocks[i].analysisMs, r.shocks[i].analysisMs);
            EXPECT_EQ(again.shocks[i].toShockMs, r.shocks[i].toShockMs);
            EXPECT_EQ(again.shocks[i].periShockPauseMs, r.shocks[i].periShockPauseMs);
        }
    }
    for (size_t k = 0; k <= size_t(P::Other); ++k) {
        EXPECT_GT(seen[k], 0) << pauseCauseName(PauseCause(k)).toStdString();
        EXPECT_GT(inDemo[k], 0) << "demo: " << pauseCauseName(PauseCause(k)).toStdString();
    }
    for (size_t k = size_t(P::Other) + 1; k < PauseCauseCount; ++k)
        EXPECT_EQ(seen[k], 0) << "only a reviewer reads " << pauseCauseName(PauseCause(k)).toStdString();
}

// The causes' words in the language pack follow the causes' order, in both languages, and
// the steps of a shock pause stay apart when printed in grey.
TEST(HandsOff, CauseTextsAndColoursMatchTheCauses)
{
    const LanguagePack english = Packs::builtInEnglish();
    for (size_t i = 0; i < PauseCauseCount; ++i) {
        const PauseCause cause = PauseCause(i);
        EXPECT_EQ(english.GetText(HandsOffText::causeText(cause)), pauseCauseName(cause).replace('-', ' '));
    }
    LanguagePack italian = Packs::builtInEnglish();
    italian.setLanguage(2);
    EXPECT_EQ(italian.GetText(HandsOffText::causeText(P::Transport)), "trasporto");
    EXPECT_EQ(italian.GetText(HandsOffText::ShareHandsOffOther), "Tempo senza compressioni senza causa (%)");

    const auto grey = [](PauseCause c) {
        const uint32_t rgb = pauseCauseStyle(c).rgb;
        return int((rgb >> 16) * 299 + ((rgb >> 8) & 0xFF) * 587 + (rgb & 0xFF) * 114) / 1000;
    };
    const std::vector<P> steps = {P::UntilAnalysis, P::Analysis, P::Charge, P::ToShock, P::AfterShock};
    for (size_t i = 1; i < steps.size(); ++i)
        EXPECT_GE(std::abs(grey(steps[i]) - grey(steps[i - 1])), 30) << i;
    EXPECT_GE(std::abs(grey(P::Analysis) - grey(P::AfterAnalysis)), 30);
    EXPECT_FALSE(pauseCauseStyle(P::Other).hatched);
    EXPECT_TRUE(pauseCauseStyle(P::Other, true).hatched);
    EXPECT_TRUE(pauseCauseStyle(P::Airway).hatched);
}

} // namespace
