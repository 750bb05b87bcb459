// The CPR quality commands of the window: File > "CPR quality settings...", the report
// menu's "CPR quality report", the incident log's CPR section, and the settings dialog.
#include "ReportFixture.h"
#include "app/CCprSettingsDlg.h"
#include "app/CMainFrame.h"
#include "app/CCprQualityTab.h"
#include "app/CDetailView.h"
#include "base/CommandIds.h"
#include "cpr/CprSettingsForm.h"
#include "cpr/CprTexts.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

class CprCommands : public ReportFixture, public ::testing::Test
{
protected:
    void TearDown() override { QSettings().remove(QStringLiteral("CPR Quality")); }

    // A case with two runs of compressions and a 12.5 s pause between them.
    int caseWithFeedback()
    {
        const int slot = addCase();
        CaseRecord &c = caseAt(slot);
        for (int k = 0; k < 10; ++k)
            c.cprFeedback.push_back({10000 + 550 * k, 55});
        for (int k = 0; k < 10; ++k)
            c.cprFeedback.push_back({27450 + 550 * k, 40});
        c.cprFeedbackCount = 20;
        view.store.at(slot).hasCprFeedback = true;
        return slot;
    }
};

TEST_F(CprCommands, AcceptedSettingsAreKeptAndAnnouncedCancelledOnesChangeNothing)
{
    int announced = 0;
    view.cprSettingsChanged = [&](const CprReviewSettings &) { ++announced; };

    view.OnCprQualitySettings(); // cancelled: no script
    EXPECT_EQ(platform.cprSettingsDialogRuns, 1);
    EXPECT_EQ(view.cprSettings, CprReviewSettings());
    EXPECT_EQ(announced, 0);

    platform.cprSettingsScript = [](CprSettingsForm &form) {
        EXPECT_EQ(form.pauseThresholdText, "2000");
        form.pauseThresholdText = "3500";
        form.setDepthUnit(CprDepthUnit::Centimetres);
        return form.accept();
    };
    view.OnCprQualitySettings();
    EXPECT_EQ(view.cprSettings.quality.pauseThresholdMs, 3500);
    EXPECT_EQ(view.cprSettings.depthUnit, CprDepthUnit::Centimetres);
    EXPECT_EQ(announced, 1);

    // The next run starts with them.
    QSettings stored;
    EXPECT_EQ(CprSettingsStore::load(stored), view.cprSettings);
    CRavelinView next(texts, platform);
    EXPECT_EQ(next.cprSettings, view.cprSettings);

    // OK without a change announces nothing.
    platform.cprSettingsScript = [](CprSettingsForm &form) { return form.accept(); };
    view.OnCprQualitySettings();
    EXPECT_EQ(announced, 1);
}

TEST_F(CprCommands, TheReportMenuPrintsTheSelectedCasesReport)
{
    const int slot = caseWithFeedback();
    platform.reportMenuChoices = {CommandId::CprQualityReport};
    platform.cprPrintScript = [](const CprQualityReport &) { return PrintOutcome::printed(); };
    view.cprSettings.depthUnit = CprDepthUnit::Centimetres;
    view.OnPrint();

    ASSERT_EQ(platform.printedCprReports.size(), 1);
    const CprQualityReport &report = platform.printedCprReports[0];
    EXPECT_EQ(report.title, "CPR quality report");
    EXPECT_EQ(report.settings.depthUnit, CprDepthUnit::Centimetres);
    EXPECT_EQ(report.result.compressionCount, 20);
    ASSERT_EQ(report.pauses.size(), 1u);
    EXPECT_EQ(report.pauses[0].length, "12.5 s");
    EXPECT_TRUE(platform.messages.isEmpty());

    ASSERT_EQ(platform.optionForms.size(), 1);
    EXPECT_EQ(platform.optionForms[0].caption, "CPR quality report");
    ASSERT_EQ(platform.optionForms[0].options.size(), 1);
    EXPECT_FALSE(platform.optionForms[0].options[0].checked);
    EXPECT_FALSE(report.caseLine.isEmpty());

    // Anonymised when ticked; a cancelled form prints nothing.
    caseAt(slot).serialNumber = QStringLiteral("SN-0042");
    for (const bool ok : {true, false}) {
        platform.reportMenuChoices = {CommandId::CprQualityReport};
        platform.optionsScript = [ok](QList<Platform::Option> &options) {
            options[0].checked = true;
            return ok;
        };
        view.OnPrint();
    }
    platform.optionsScript = nullptr;
    ASSERT_EQ(platform.printedCprReports.size(), 2);
    EXPECT_EQ(platform.printedCprReports[1].caseLine, QString());
    EXPECT_EQ(platform.printedCprReports[1].result.compressionCount, 20);
    EXPECT_TRUE(platform.messages.isEmpty());

    // A failed print says why.
    platform.reportMenuChoices = {CommandId::CprQualityReport};
    platform.cprPrintScript = [](const CprQualityReport &) { return PrintOutcome::failed("No printer is available."); };
    view.OnPrint();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages[0].text.endsWith("No printer is available."));

    // A case without feedback has no report: one sentence says so.
    view.store.at(slot).hasCprFeedback = false;
    platform.reportMenuChoices = {CommandId::CprQualityReport};
    view.OnPrint();
    EXPECT_EQ(platform.printedCprReports.size(), 3);
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(platform.messages[1].text, texts.GetText(CprText::NoFeedback));
}

TEST_F(CprCommands, TheIncidentLogCarriesTheCprSectionWithTheSettings)
{
    ScopedCacheLocation temp(dir.path());
    const int slot = caseWithFeedback();
    view.store.at(slot).pauseCauses = {{14950, QStringLiteral("transport")}}; // from the review file
    view.cprSettings.quality.pauseThresholdMs = 5000;
    view.OnIncidentLog();
    ASSERT_EQ(platform.openedFiles.size(), 1);
    QFile log(platform.openedFiles[0]);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(html.contains("Pause threshold P = 5000 ms"));
    EXPECT_TRUE(html.contains("<tr><td>Compressions</td><td>20</td><td></td><td></td></tr>"));
    EXPECT_TRUE(html.contains(
        "<tr><td>0:14</td><td>12.5 s</td><td>other</td><td>transport (set by the reviewer) 12.5 s</td></tr>"));
}

TEST_F(CprCommands, TheFrameOffersTheSettingsInTheFileMenuAndTheTabFollowsThem)
{
    CMainFrame frame(texts, platform);
    QAction *settings = frame.action(CommandId::CprQualitySettings);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->text(), "CPR quality settings...");

    CRavelinView &v = frame.view();
    const int slot = v.store.AllocateCaseSlot(QString());
    CaseRecord &c = *v.store.caseAt(slot);
    c.cprFeedback = {{1000, 50}, {1550, 50}, {2100, 50}};
    v.store.at(slot).hasCprFeedback = true;
    frame.OnSelectionChanged(slot, -1);
    frame.detailView()->tabBar()->setCurrentIndex(CDetailView::CprQualityTab);
    QTableWidget *summary = frame.detailView()->cprTab()->summaryTable();
    EXPECT_EQ(summary->item(4, 1)->text(), "2.00 in");

    platform.cprSettingsScript = [](CprSettingsForm &form) {
        form.setDepthUnit(CprDepthUnit::Centimetres);
        return form.accept();
    };
    settings->trigger();
    EXPECT_EQ(summary->item(4, 1)->text(), "5.08 cm");
}

TEST(CprSettingsDialog, TheDialogCopiesFieldsToTheFormAndStaysOpenOnAProblem)
{
    const LanguagePack texts = Packs::builtInEnglish();
    CprSettingsForm form(CprReviewSettings(), texts);
    CCprSettingsDlg dialog(form);
    EXPECT_EQ(dialog.pauseThresholdEdit()->text(), "2000");
    EXPECT_EQ(dialog.depthMaxEdit()->text(), "2.4");

    dialog.unitBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog.depthMinEdit()->text(), "5.08") << "the bounds follow the unit";

    dialog.pauseThresholdEdit()->setText("800");
    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible()) << "not closed";
    EXPECT_EQ(dialog.problemLabel()->text(), texts.GetText(CprText::BadPauseThreshold));
    EXPECT_FALSE(dialog.problemLabel()->isHidden());

    dialog.pauseThresholdEdit()->setText("1500");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(form.settings().quality.pauseThresholdMs, 1500);
    EXPECT_EQ(form.settings().depthUnit, CprDepthUnit::Centimetres);
}

} // namespace
