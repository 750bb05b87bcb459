#include "library/LibraryEngine.h"
#include "library/LibraryQaReport.h"
#include "library/QaLibraryRows.h"

#include "base/LanguagePack.h"
#include "support/Packs.h"

namespace {

class LibraryQaReportTest : public LibraryEngineTest
{
protected:
    void SetUp() override
    {
        LibraryEngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        library = openLibrary();
        storeQaLibrary(*library);
    }

    std::unique_ptr<CaseLibrary> library;
};

TEST_P(LibraryQaReportTest, TheSummaryOfAllRecordingsHasQuartilesSharesAndTimesToTheFirstSteps)
{
    LibraryQaReport r;
    ASSERT_TRUE(readLibraryQaReport(*library, {}, 0.8, r)) << library->errorText().toStdString();
    EXPECT_EQ(r.all.cases, 5);
    EXPECT_EQ(r.all.shocks, 4);
    // CCF .60 .70 .85 .90: quartiles between neighbours at 0.75, 1.5 and 2.25.
    EXPECT_NEAR(r.all.lowerQuartileCcf.value_or(-1), 0.675, 1e-12);
    EXPECT_NEAR(r.all.medianCcf.value_or(-1), 0.775, 1e-12);
    EXPECT_NEAR(r.all.upperQuartileCcf.value_or(-1), 0.8625, 1e-12);
    EXPECT_DOUBLE_EQ(r.all.shareCcfAtTarget.value_or(-1), 0.5);
    // Known pauses 5, 15 and 25 s.
    EXPECT_DOUBLE_EQ(r.all.shareShocksPreShockPauseAtMost10s.value_or(-1), 1.0 / 3);
    EXPECT_DOUBLE_EQ(r.all.shareShocksPreShockPauseAtMost20s.value_or(-1), 2.0 / 3);
    EXPECT_DOUBLE_EQ(r.all.medianToFirstAnalysisMs.value_or(-1), 40000);
    EXPECT_DOUBLE_EQ(r.all.medianToFirstShockMs.value_or(-1), 60000);
    EXPECT_DOUBLE_EQ(r.all.medianToFirstCompressionMs.value_or(-1), 15000);
    ASSERT_TRUE(r.all.handsOffByCauseMs.has_value());
    EXPECT_EQ(r.all.handsOffMs.value_or(-1), 6000);
    EXPECT_EQ((*r.all.handsOffByCauseMs)[0], 5000);
    EXPECT_EQ((*r.all.handsOffByCauseMs)[std::size_t(PauseCause::Other)], 1000);

    // Another target moves the share and the attention list, nothing else.
    LibraryQaReport lower;
    ASSERT_TRUE(readLibraryQaReport(*library, {}, 0.65, lower));
    EXPECT_DOUBLE_EQ(lower.all.shareCcfAtTarget.value_or(-1), 0.75);
    EXPECT_EQ(lower.all.medianCcf, r.all.medianCcf);
    EXPECT_EQ(lower.attentionTotal, 3) << "B for its pause, C, and E's follow-up";
}

TEST_P(LibraryQaReportTest, MonthsAndDevicesHaveTheirOwnFigures)
{
    LibraryQaReport r;
    ASSERT_TRUE(readLibraryQaReport(*library, {}, 0.8, r));
    ASSERT_EQ(r.months.size(), 2u);
    EXPECT_EQ(r.months[0].group, "2021-03");
    EXPECT_EQ(r.months[0].cases, 2);
    EXPECT_NEAR(r.months[0].lowerQuartileCcf.value_or(-1), 0.75, 1e-12);
    EXPECT_NEAR(r.months[0].medianCcf.value_or(-1), 0.8, 1e-12);
    EXPECT_NEAR(r.months[0].upperQuartileCcf.value_or(-1), 0.85, 1e-12);
    EXPECT_EQ(r.months[1].group, "2021-04");
    EXPECT_EQ(r.months[1].cases, 3);
    EXPECT_EQ(r.months[1].casesWithCcf, 2);
    EXPECT_NEAR(r.months[1].medianCcf.value_or(-1), 0.725, 1e-12);
    EXPECT_FALSE(r.months[1].shareShocksPreShockPauseAtMost20s.has_value()) << "D's pause is not known";
    EXPECT_FALSE(r.months[1].handsOffMs.has_value()) << "unknown, not 0";

    ASSERT_EQ(r.devices.size(), 2u);
    EXPECT_EQ(r.devices[0].group, "SN1");
    EXPECT_EQ(r.devices[0].model, "Q25");
    EXPECT_EQ(r.devices[0].cases, 2);
    EXPECT_EQ(r.devices[1].group, "SN2");
    EXPECT_EQ(r.devices[1].cases, 3);
    EXPECT_DOUBLE_EQ(r.devices[1].shareCcfAtTarget.value_or(-1), 0.5);
}

TEST_P(LibraryQaReportTest, TheAttentionListHoldsFollowUpsLowCcfAndLongPausesLatestFirst)
{
    const auto paths = [](const std::vector<LibraryCase> &cases) {
        QStringList out;
        for (const LibraryCase &c : cases)
            out << c.path;
        return out;
    };
    int total = 0;
    std::vector<LibraryCase> cases;
    ASSERT_TRUE(library->needingAttention({}, 0.8, 200, cases, total)) << library->errorText().toStdString();
    EXPECT_EQ(paths(cases), QStringList({"/cases/E.aed", "/cases/C.aed", "/cases/B.aed"}));
    EXPECT_EQ(total, 3);
    EXPECT_EQ(cases[0].review.stage, ReviewStatus::Stage::FollowUp);

    ASSERT_TRUE(library->needingAttention({}, 0.8, 2, cases, total));
    EXPECT_EQ(paths(cases), QStringList({"/cases/E.aed", "/cases/C.aed"})) << "the most recent";
    EXPECT_EQ(total, 3) << "counted whole";

    LibraryFilter march;
    march.toDay = QStringLiteral("2021-03-31");
    ASSERT_TRUE(library->needingAttention(march, 0.8, 200, cases, total));
    EXPECT_EQ(paths(cases), QStringList({"/cases/B.aed"}));

    // The rows as the report writes them: the reasons, and patients only when not anonymised.
    LibraryQaReport r;
    ASSERT_TRUE(readLibraryQaReport(*library, {}, 0.8, r));
    const LanguagePack texts = Packs::builtInEnglish();
    const QList<QStringList> named = LibraryQaLines::attentionRows(r, texts, false);
    ASSERT_EQ(named.size(), 3);
    EXPECT_EQ(named[2], QStringList({"2021-03-20 09:00", "SN1 (Q25)", "SurnameB, GivenB · PID-B", "70.0 %", "2",
                                     "25.0 s", "CCF below target, pre-shock pause over 20 s", "new"}));
    EXPECT_EQ(named[0].value(6), "follow-up");
    for (const QStringList &row : LibraryQaLines::attentionRows(r, texts, true))
        EXPECT_FALSE(row.join(' ').contains("Surname") || row.join(' ').contains("PID-")) << row.join(' ').toStdString();
}

TEST_P(LibraryQaReportTest, AnEmptyPeriodHasOneRowOfNothing)
{
    LibraryFilter future;
    future.fromDay = QStringLiteral("2030-01-01");
    LibraryQaReport r;
    ASSERT_TRUE(readLibraryQaReport(*library, future, 0.8, r)) << library->errorText().toStdString();
    EXPECT_EQ(r.all.cases, 0);
    EXPECT_EQ(r.all.shocks, 0);
    EXPECT_FALSE(r.all.medianCcf.has_value());
    EXPECT_FALSE(r.all.shareCcfAtTarget.has_value());
    EXPECT_FALSE(r.all.shareShocksPreShockPauseAtMost10s.has_value());
    EXPECT_FALSE(r.all.medianToFirstShockMs.has_value());
    EXPECT_TRUE(r.months.empty());
    EXPECT_TRUE(r.devices.empty());
    EXPECT_TRUE(r.attention.empty());
    EXPECT_EQ(r.attentionTotal, 0);
    const LanguagePack texts = Packs::builtInEnglish();
    EXPECT_EQ(LibraryQaLines::summary(r, texts)[2].value, QString(QChar(0x2014)));
}

// The report reads its three groupings together (each column's values once for all of them):
// each grouping's rows are those of its own read, whatever the filter, the zone of the months
// and whether the review's table joins in.
TEST_P(LibraryQaReportTest, EachGroupingReadTogetherIsThatOfItsOwnRead)
{
    // Shock steps that differ from shock to shock and device to device.
    std::vector<LibraryCase> rows = qaLibraryRows();
    int64_t step = 0;
    for (LibraryCase &c : rows)
        for (LibraryShock &s : c.shocks) {
            step += 700;
            s.analysisMs = 4000 + step;
            s.toShockMs = 9000 - step;
            s.handsOffPreShockPauseMs = s.preShockPauseMs;
        }
    ASSERT_TRUE(library->storeAll(rows)) << library->errorText().toStdString();

    LibraryFilter fromMarch20;
    fromMarch20.fromDay = QStringLiteral("2021-03-20");
    LibraryFilter followUps;
    followUps.stage = ReviewStatus::Stage::New;
    LibraryFilter farWest;
    farWest.zoneOffsetMinutes = -10 * 60;
    LibraryFilter shocked;
    shocked.minShocks = 1;
    for (const LibraryFilter &filter : {LibraryFilter(), fromMarch20, followUps, farWest, shocked}) {
        std::vector<LibraryStatsRow> all, months, devices;
        ASSERT_TRUE(library->stats({{LibraryGrouping::Month, &months},
                                    {LibraryGrouping::All, &all},
                                    {LibraryGrouping::Device, &devices}},
                                   filter, 0.8))
            << library->errorText().toStdString();
        for (const auto &[grouping, together] : {std::pair{LibraryGrouping::All, &all},
                                                 std::pair{LibraryGrouping::Month, &months},
                                                 std::pair{LibraryGrouping::Device, &devices}}) {
            std::vector<LibraryStatsRow> alone;
            ASSERT_TRUE(library->stats(grouping, filter, alone, 0.8)) << library->errorText().toStdString();
            EXPECT_TRUE(*together == alone) << "grouping " << int(grouping) << ", zone " << filter.zoneOffsetMinutes;
        }
        EXPECT_FALSE(all.empty());
    }

    // Device SN1's shocks (A's, then B's two): steps 700, 1400 and 2100 ms into the rows.
    std::vector<LibraryStatsRow> devices;
    ASSERT_TRUE(library->stats(LibraryGrouping::Device, {}, devices, 0.8));
    ASSERT_FALSE(devices.empty());
    EXPECT_EQ(devices[0].group, "SN1");
    EXPECT_DOUBLE_EQ(devices[0].medianAnalysisMs.value_or(-1), 4000 + 1400);
    EXPECT_DOUBLE_EQ(devices[0].medianToShockMs.value_or(-1), 9000 - 1400);
    EXPECT_DOUBLE_EQ(devices[0].medianPreShockPauseMs.value_or(-1), 15000);
}

INSTANTIATE_TEST_SUITE_P(Engines, LibraryQaReportTest, testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

} // namespace
