#include "base/CommandIds.h"
#include "app/ReportFixture.h"
#include "report/SelectionPrint.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Span = std::pair<int32_t, int32_t>;

std::vector<Span> piecesFor(const std::vector<Span> &selected)
{
    SegmentTable table;
    for (const auto &[start, end] : selected)
        table.add(EcgSegment{start, end});
    std::vector<Span> out;
    for (const PrintPiece &p : SelectionPrint::buildPrintList(SelectionPrint::sortedSegments(table)))
        out.emplace_back(p.startMs, p.endMs);
    return out;
}

TEST(SelectionPrintList, CutsTheSelectedSegmentsIntoTenSecondPieces)
{
    struct Row {
        const char *what;
        std::vector<Span> selected;
        std::vector<Span> pieces;
    };
    const Row rows[] = {
        {"nothing selected", {}, {}},
        {"five 2-second segments far apart",
         {{10000, 12000}, {30000, 32000}, {50000, 52000}, {70000, 72000}, {90000, 92000}},
         {{10000, 20000}, {30000, 40000}, {50000, 60000}, {70000, 80000}, {90000, 100000}}},
        {"a 25-second segment", {{5000, 30000}}, {{5000, 15000}, {15000, 25000}, {25000, 35000}}},
        {"exactly 10 seconds gives two", {{0, 10000}}, {{0, 10000}, {10000, 20000}}},
        {"starts inside the previous piece, ends after it",
         {{10000, 12000}, {15000, 24000}},
         {{10000, 20000}, {20000, 30000}}},
        {"starts inside, ends more than 10 s after the previous piece",
         {{10000, 12000}, {15000, 41000}},
         {{10000, 20000}, {20000, 30000}, {30000, 40000}, {40000, 50000}}},
        {"wholly inside the previous piece", {{10000, 12000}, {13000, 19000}}, {{10000, 20000}}},
        {"ends on the previous piece's end", {{10000, 12000}, {13000, 20000}}, {{10000, 20000}}},
        {"starts on the previous piece's end", {{10000, 12000}, {20000, 22000}}, {{10000, 20000}, {20000, 30000}}},
        {"selected in reverse order", {{30000, 32000}, {20000, 22000}, {10000, 12000}},
         {{10000, 20000}, {20000, 30000}, {30000, 40000}}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(piecesFor(row.selected), row.pieces) << row.what;
}

TEST(SelectionPrintList, EqualStartsKeepSlotOrderAndEmptiedSlotsAreSkipped)
{
    SegmentTable table;
    table.add({20000, 21000});
    table.add({5000, 6000});
    table.add({20000, 45000});
    table.add({1000, 2000});
    table.remove(3);
    const std::vector<EcgSegment> sorted = SelectionPrint::sortedSegments(table);
    ASSERT_EQ(sorted.size(), 3u);
    EXPECT_EQ(sorted[0].startMs, 5000);
    EXPECT_EQ(sorted[1].endMs, 21000);
    EXPECT_EQ(sorted[2].endMs, 45000);
    // The 21-second end comes first, so the long one continues from its piece.
    EXPECT_EQ(piecesFor({{20000, 21000}, {5000, 6000}, {20000, 45000}}),
              (std::vector<Span>{{5000, 15000}, {20000, 30000}, {30000, 40000}, {40000, 50000}}));
}

TEST(SelectionPrintList, PrintsEverySelectedSecondBeyondOneHundredTwentyPieces)
{
    const std::vector<Span> pieces = piecesFor({{0, 30 * 60000}});
    ASSERT_EQ(pieces.size(), 181u);
    EXPECT_EQ(pieces.back(), Span(1800000, 1810000));
    EXPECT_EQ(SelectionPrint::pageCount(181), 46);
    EXPECT_EQ(SelectionPrint::pageCount(0), 0);
    EXPECT_EQ(SelectionPrint::pageCount(4), 1);
    EXPECT_EQ(SelectionPrint::pageCount(5), 2);
}

class PrintCommandTest : public ReportFixture, public ::testing::Test
{
protected:
    int slot = addCase();

    void select(const std::vector<Span> &segments)
    {
        for (const auto &[start, end] : segments)
            view.store.AddSegment(slot, start, end);
    }

    static std::vector<Span> spans(const SelectionReport &report)
    {
        std::vector<Span> out;
        for (const PrintPiece &p : report.pieces)
            out.emplace_back(p.startMs, p.endMs);
        return out;
    }
};

TEST_F(PrintCommandTest, PrintWithoutASegmentRequestShowsTheReportMenu)
{
    select({{10000, 12000}});
    view.OnPrint();
    ASSERT_EQ(platform.reportMenus.size(), 1);
    const auto &menu = platform.reportMenus[0];
    ASSERT_EQ(menu.entries.size(), 3);
    EXPECT_EQ(menu.entries[0].commandId, CommandId::IncidentLog);
    EXPECT_EQ(menu.entries[0].text, "Incident Log");
    EXPECT_EQ(menu.entries[1].commandId, CommandId::EcgWaveform);
    EXPECT_EQ(menu.entries[1].text, "ECG waveform");
    EXPECT_EQ(menu.entries[2].commandId, CommandId::CprQualityReport);
    EXPECT_EQ(menu.entries[2].text, "CPR quality report");
    EXPECT_EQ(menu.disabledCommands, QList<int>{CommandId::EcgWaveform});
    EXPECT_TRUE(platform.printedReports.isEmpty());
    EXPECT_TRUE(platform.openedFiles.isEmpty());
}

TEST_F(PrintCommandTest, IncidentLogOfTheReportMenuWritesAndOpensTheLog)
{
    ScopedCacheLocation temp(dir.path());
    platform.reportMenuChoices = {CommandId::IncidentLog};
    view.OnPrint();
    EXPECT_EQ(platform.openedFiles, QStringList{dir.path() + "/VELTRIS AED/Incident Logs/veltris_aed1.html"});

    platform.reportMenuChoices = {CommandId::EcgWaveform};
    view.OnPrint();
    EXPECT_EQ(platform.openedFiles.size(), 1);
    EXPECT_TRUE(platform.printedReports.isEmpty());
}

TEST_F(PrintCommandTest, PrintAllSegmentPrintsTheSelectedCaseInTimeOrder)
{
    select({{30000, 32000}, {20000, 22000}, {10000, 12000}, {50000, 52000}, {70000, 72000}});
    platform.printScript = [](const SelectionReport &) { return PrintOutcome::printed(); };
    view.OnPrintSegments(SelectionPrintState::KindAllSegments);

    ASSERT_EQ(platform.printedReports.size(), 1);
    const SelectionReport &report = platform.printedReports[0];
    EXPECT_EQ(report.caseRecord, view.store.caseAt(slot));
    EXPECT_EQ(spans(report), (std::vector<Span>{{10000, 20000}, {20000, 30000}, {30000, 40000}, {50000, 60000},
                                                {70000, 80000}}));
    EXPECT_EQ(report.pageCount, 2);
    EXPECT_EQ(report.language, 1);
    EXPECT_TRUE(platform.reportMenus.isEmpty());

    // The job ended: the state is cleared and Print shows the menu again.
    EXPECT_EQ(view.printState.printRequested, 0);
    EXPECT_EQ(view.printState.printKind, 0);
    EXPECT_EQ(view.printState.listBuilt, 0);
    EXPECT_TRUE(view.printState.printList.empty());
    EXPECT_TRUE(view.printState.sortedSegments.empty());
    view.OnPrint();
    EXPECT_EQ(platform.reportMenus.size(), 1);
    EXPECT_EQ(platform.printedReports.size(), 1);
}

TEST_F(PrintCommandTest, ACancelledDialogEndsTheJobAndPrintShowsTheMenuAgain)
{
    select({{10000, 12000}, {40000, 75000}});
    view.OnPrintSegments(SelectionPrintState::KindAllSegments); // cancelled: no script
    ASSERT_EQ(platform.printedReports.size(), 1);
    EXPECT_EQ(view.printState.printRequested, 0);
    EXPECT_EQ(view.printState.listBuilt, 0);
    EXPECT_TRUE(platform.messages.isEmpty());

    // The Print button is the report menu's again; the segments stay selected.
    view.OnPrint();
    EXPECT_EQ(platform.reportMenus.size(), 1);
    EXPECT_EQ(platform.printedReports.size(), 1);
    EXPECT_EQ(view.store.caseAt(slot)->segments.usedCount(), 2);
}

TEST_F(PrintCommandTest, AFailedPrintIsReportedAndKeepsTheJob)
{
    select({{10000, 12000}, {40000, 75000}});
    platform.printScript = [](const SelectionReport &) {
        return PrintOutcome::failed("/no/such/folder/report.pdf cannot be created.");
    };
    view.OnPrintSegments(SelectionPrintState::KindAllSegments);
    ASSERT_EQ(platform.printedReports.size(), 1);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, "Can't print case.\n\n/no/such/folder/report.pdf cannot be created.");
    EXPECT_EQ(platform.messages[0].caption, "Lumeron AED Event review software");
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop);
    EXPECT_EQ(view.printState.printRequested, 1);
    EXPECT_EQ(view.printState.listBuilt, 1);

    // Segments selected afterwards do not change the kept list; Print goes straight to
    // the dialog with it, and this time the dialog prints.
    select({{100000, 102000}});
    platform.printScript = [](const SelectionReport &) { return PrintOutcome::printed(); };
    view.OnPrint();
    EXPECT_TRUE(platform.reportMenus.isEmpty());
    ASSERT_EQ(platform.printedReports.size(), 2);
    EXPECT_EQ(spans(platform.printedReports[1]), spans(platform.printedReports[0]));
    EXPECT_EQ(platform.printedReports[1].pageCount, 2);
    EXPECT_EQ(view.printState.printRequested, 0);
    EXPECT_EQ(platform.messages.size(), 1);
}

TEST_F(PrintCommandTest, ANewRequestAfterACancelledDialogTakesTheSegmentsSelectedNow)
{
    select({{10000, 12000}});
    view.OnPrintSegments(SelectionPrintState::KindAllSegments);
    select({{40000, 42000}});
    view.OnPrintSegments(SelectionPrintState::KindAllSegments);
    ASSERT_EQ(platform.printedReports.size(), 2);
    EXPECT_EQ(spans(platform.printedReports[1]), (std::vector<Span>{{10000, 20000}, {40000, 50000}}));
}

TEST_F(PrintCommandTest, NothingToPrintEndsTheJobWithoutADialog)
{
    view.store.AddSegment(slot, 10000, 12000);
    view.store.caseAt(slot)->segments.remove(0);
    view.OnPrintSegments(SelectionPrintState::KindAllSegments);
    EXPECT_TRUE(platform.printedReports.isEmpty());
    EXPECT_EQ(view.printState.printRequested, 0);

    // A kept job whose case was closed meanwhile ends the same way.
    select({{10000, 12000}});
    platform.printScript = [](const SelectionReport &) { return PrintOutcome::failed("no printer"); };
    view.OnPrintSegments(SelectionPrintState::KindAllSegments);
    ASSERT_EQ(platform.printedReports.size(), 1);
    view.store.FreeCase(slot);
    view.OnPrint();
    EXPECT_EQ(platform.printedReports.size(), 1);
    EXPECT_EQ(view.printState.printRequested, 0);
    EXPECT_TRUE(platform.reportMenus.isEmpty());
}

TEST_F(PrintCommandTest, TheReportTakesTheLanguageOfThePack)
{
    texts.setLanguage(2);
    select({{10000, 12000}});
    view.OnPrintSegments(SelectionPrintState::KindAllSegments);
    ASSERT_EQ(platform.printedReports.size(), 1);
    EXPECT_EQ(platform.printedReports[0].language, 2);
}

} // namespace
