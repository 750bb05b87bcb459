// The "CPR quality" tab of the detail view: the summary of the simulated demo case, the
// charts, the hands-off time and the shocks, the pause list whose click shows the moment
// in the enlarged ECG and whose menu sets a pause's cause, and the sentence for a case
// without CPR feedback.
#include "DetailFixture.h"
#include "app/CCprQualityTab.h"
#include "app/CprChartsWidget.h"
#include "app/HandsOffBarWidget.h"
#include "archive/AedArchiveWriter.h"
#include "archive/CloseAllCases.h"
#include "archive/SessionCommands.h"
#include "base/CommandIds.h"
#include "base/ContextMenuBuilder.h"
#include "cpr/CprQuality.h"
#include "cpr/CprQualityInput.h"
#include "cpr/CprSummary.h"
#include "cpr/CprTexts.h"
#include "ecg/CMagnified.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

class CprQualityTab : public ::testing::Test, public DetailFixture
{
protected:
    void SetUp() override { makeDetailView(); }

    // The demo case: "ravelin-cli simulate --model Q25 --minutes 8 --seed 7".
    int demoCase()
    {
        const int slot = simulatedCase(8, 7, DeviceFiles::Model::Q25);
        EXPECT_TRUE(view.store.at(slot).hasCprFeedback);
        return slot;
    }

    void showCprTab(int slot)
    {
        select(slot, 0);
        detail->tabBar()->setCurrentIndex(CDetailView::CprQualityTab);
    }

    CCprQualityTab &tab() { return *detail->cprTab(); }

    // The demo case written to an archive beside its CPR feedback, and opened from there, so
    // that the reviewer's marks go to its review file.
    int demoArchive()
    {
        SimulationOptions options;
        options.minutes = 8;
        options.seed = 7;
        options.model = DeviceFiles::Model::Q25;
        const int made = decodeCase(simulateRescue(options));
        m_archive = dir.file(QStringLiteral("rescue1/case.aed"));
        WriteAedArchive(view.store, made, m_archive, AedArchiveVariant::Conversion);
        view.store.FreeCase(made);
        return reopen();
    }

    int reopen()
    {
        CloseAllCases(view);
        EXPECT_TRUE(openArchiveFile(view, m_archive));
        const int slot = view.openSlots().at(0);
        EXPECT_TRUE(view.store.at(slot).hasCprFeedback);
        showCprTab(slot);
        return slot;
    }

    // The pause list's context menu on a row, answered with a command.
    void chooseInPauseMenu(int row, int command)
    {
        QTableWidget *t = tab().pauseTable();
        tab().menuExec = [command](QMenu &, const QPoint &) { return command; };
        emit t->customContextMenuRequested(t->visualRect(t->model()->index(row, 0)).center());
    }

    QString m_archive;

    QString cell(QTableWidget *t, int row, int column)
    {
        const QTableWidgetItem *i = t->item(row, column);
        return i ? i->text() : QString();
    }

    // A left click in the middle of a table cell, as the mouse gives it.
    static void click(QTableWidget *t, int row, int column)
    {
        QWidget *port = t->viewport();
        const QPoint at = t->visualRect(t->model()->index(row, column)).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, port->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(port, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, port->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(port, &release);
    }
};

TEST_F(CprQualityTab, TheDemoCaseShowsItsSummaryChartsAndPauses)
{
    const int slot = demoCase();
    showCprTab(slot);
    ASSERT_FALSE(tab().isHidden());
    EXPECT_TRUE(enlarged().isHidden());
    EXPECT_TRUE(tab().noFeedbackLabel()->isHidden());

    const CprQualityResult r = measureCprQuality(cprQualityInput(*view.store.caseAt(slot)), CprQualitySettings());
    QTableWidget *summary = tab().summaryTable();
    ASSERT_EQ(summary->rowCount(), 15);
    EXPECT_EQ(summary->horizontalHeaderItem(2)->text(), "Target");
    EXPECT_EQ(cell(summary, 0, 0), "Compressions");
    EXPECT_EQ(cell(summary, 0, 1), QString::number(r.compressionCount));
    EXPECT_GT(r.compressionCount, 300);
    EXPECT_EQ(cell(summary, 1, 0), "Compression fraction (CCF)");
    EXPECT_EQ(cell(summary, 1, 1), CprSummary::percent(r.ccf));
    EXPECT_EQ(cell(summary, 1, 2), QStringLiteral("\u2265 80 %"));
    EXPECT_EQ(cell(summary, 2, 1), CprSummary::rate(r.meanRatePerMin));

    // Each judged line says met or not met with a mark; the demo shows a mixed picture.
    int met = 0, notMet = 0;
    for (int row = 0; row < summary->rowCount(); ++row) {
        const QString result = cell(summary, row, 3);
        met += result.endsWith(QLatin1String(" Met")) ? 1 : 0;
        notMet += result.endsWith(QLatin1String("Not met")) ? 1 : 0;
        if (result.endsWith(QLatin1String("Met")) || result.endsWith(QLatin1String("met"))) {
            EXPECT_TRUE(result.startsWith(QChar(0x2714)) || result.startsWith(QChar(0x2718))) << qPrintable(result);
        }
    }
    EXPECT_GE(met, 1);
    EXPECT_GE(notMet, 1);

    const auto &charts = tab().charts()->charts();
    ASSERT_EQ(charts.size(), 3u);
    EXPECT_EQ(charts[0].values.size(), r.perMinute.size());
    EXPECT_DOUBLE_EQ(charts[0].bandLow, 100);

    QTableWidget *pauses = tab().pauseTable();
    ASSERT_EQ(size_t(pauses->rowCount()), r.pauses.size());
    ASSERT_GE(pauses->rowCount(), 3);
    EXPECT_EQ(cell(pauses, 0, 0), CprSummary::caseTime(r.pauses[0].startMs));
    EXPECT_EQ(cell(pauses, 0, 1), CprSummary::seconds(r.pauses[0].lengthMs));
    bool periShock = false;
    for (int row = 0; row < pauses->rowCount(); ++row)
        periShock = periShock || cell(pauses, row, 2) == "peri-shock";
    EXPECT_TRUE(periShock);
    EXPECT_EQ(pauses->horizontalHeaderItem(3)->text(), "Parts");
    EXPECT_EQ(cell(pauses, 0, 3), tab().report().pauses[0].parts);

    // The hands-off time: its causes in the bar, the shocks under their limits.
    const CprQualityReport &report = tab().report();
    ASSERT_FALSE(report.byCause.empty());
    EXPECT_EQ(tab().handsOffBar()->causes().size(), report.byCause.size());
    ASSERT_FALSE(report.shocks.empty()) << "the demo rescue shocks";
    QTableWidget *shocks = tab().shockTable();
    ASSERT_EQ(size_t(shocks->rowCount()), report.shocks.size() + 1);
    EXPECT_EQ(shocks->horizontalHeaderItem(6)->text(), "Peri-shock pause");
    EXPECT_EQ(cell(shocks, 0, 4), QStringLiteral("\u2264 10 s"));
    EXPECT_EQ(cell(shocks, 1, 0), report.shocks[0].time);
    EXPECT_TRUE(cell(shocks, 1, 4).endsWith(report.shocks[0].preShockPause));
    EXPECT_TRUE(tab().beforeCprLabel()->text().contains("First compression"));
}

TEST_F(CprQualityTab, ThePauseMenuSetsAndClearsACauseThatSurvivesReopening)
{
    int slot = demoArchive();
    const CprPauseRow pause = tab().report().pauses.at(1);
    ASSERT_FALSE(pause.setByReviewer);

    std::unique_ptr<QMenu> menu = tab().pauseMenu(1);
    ASSERT_TRUE(menu);
    EXPECT_TRUE(ContextMenuBuilder::findAction(menu.get(), CommandId::PauseCauseAirway)->isEnabled());
    EXPECT_FALSE(ContextMenuBuilder::findAction(menu.get(), CommandId::PauseCauseDevice)->isEnabled())
        << "the device's reading is what the pause shows already";

    chooseInPauseMenu(1, CommandId::PauseCauseAirway);
    EXPECT_EQ(view.store.at(slot).pauseCauses, (std::map<int32_t, QString>{{pause.startMs, "airway"}}));
    EXPECT_TRUE(cell(tab().pauseTable(), 1, 3).startsWith("airway (set by the reviewer) ")) << "the tab follows";

    slot = reopen();
    const CprPauseRow back = tab().report().pauses.at(1);
    EXPECT_TRUE(back.setByReviewer);
    EXPECT_EQ(back.parts, "airway (set by the reviewer) " + pause.length);
    bool hatched = false;
    for (const HandsOffCauseRow &c : tab().handsOffBar()->causes())
        hatched = hatched || (c.cause == PauseCause::Airway && c.setByReviewer);
    EXPECT_TRUE(hatched) << "the bar and its legend show the reviewer's cause";

    menu = tab().pauseMenu(1);
    EXPECT_TRUE(ContextMenuBuilder::findAction(menu.get(), CommandId::PauseCauseDevice)->isEnabled());
    chooseInPauseMenu(1, CommandId::PauseCauseDevice);
    EXPECT_TRUE(view.store.at(slot).pauseCauses.empty());
    EXPECT_EQ(tab().report().pauses.at(1).parts, pause.parts);
    reopen();
    EXPECT_EQ(tab().report().pauses.at(1).parts, pause.parts);
}

TEST_F(CprQualityTab, OnAReadOnlyCaseThePauseMenuIsGreyedAndChangesNothing)
{
    const int slot = demoArchive();
    const int32_t start = tab().report().pauses.at(0).startMs;
    ASSERT_TRUE(view.setPauseCause(slot, start, "pads"));
    view.makeReadOnly(slot);
    showCprTab(slot);

    std::unique_ptr<QMenu> menu = tab().pauseMenu(0);
    ASSERT_TRUE(menu);
    for (QAction *a : menu->actions())
        EXPECT_FALSE(a->isEnabled()) << qPrintable(a->text());
    chooseInPauseMenu(0, CommandId::PauseCauseDevice);
    chooseInPauseMenu(0, CommandId::PauseCauseBreaths);
    EXPECT_EQ(view.store.at(slot).pauseCauses, (std::map<int32_t, QString>{{start, "pads"}}));
}

TEST_F(CprQualityTab, AClickInThePauseListShowsThatMomentInTheEnlargedEcg)
{
    const int slot = demoCase();
    showCprTab(slot);
    const CprPauseRow pause = tab().report().pauses.at(2);
    const int before = treeSelections;

    click(tab().pauseTable(), 2, 1);

    EXPECT_EQ(review.m_tsPosition.GetTotalSeconds(), pause.startMs / 1000);
    EXPECT_EQ(detail->tabBar()->currentIndex(), CDetailView::EnlargedTab);
    EXPECT_FALSE(enlarged().isHidden());
    EXPECT_TRUE(tab().isHidden());
    EXPECT_GT(treeSelections, before) << "the tree selects the event at the new position";
    EXPECT_EQ(enlarged().window()->m_nCentreMs / 1000, pause.startMs / 1000);
}

TEST_F(CprQualityTab, ACaseWithoutFeedbackShowsOneSentence)
{
    const int slot = caseWithEvents({0, 20000});
    showCprTab(slot);
    ASSERT_FALSE(tab().isHidden());
    EXPECT_FALSE(tab().noFeedbackLabel()->isHidden());
    EXPECT_EQ(tab().noFeedbackLabel()->text(), texts.GetText(CprText::NoFeedback));
    EXPECT_FALSE(tab().summaryTable()->isVisibleTo(&tab()));
    EXPECT_FALSE(tab().pauseTable()->isVisibleTo(&tab()));
}

TEST_F(CprQualityTab, TheTabFollowsTheSettings)
{
    const int slot = demoCase();
    showCprTab(slot);
    const int pausesAt2s = tab().pauseTable()->rowCount();

    CprReviewSettings settings;
    settings.depthUnit = CprDepthUnit::Centimetres;
    settings.quality.pauseThresholdMs = 5000;
    detail->setCprSettings(settings);

    EXPECT_TRUE(cell(tab().summaryTable(), 4, 1).endsWith(" cm"));
    EXPECT_EQ(cell(tab().summaryTable(), 4, 2), QStringLiteral("5.08\u20136.10 cm"));
    EXPECT_LT(tab().pauseTable()->rowCount(), pausesAt2s) << "fewer gaps are pauses at 5 s";
    EXPECT_TRUE(tab().charts()->charts()[1].title.endsWith("(cm)"));
}

} // namespace
