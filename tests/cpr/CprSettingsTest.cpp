// The decisions of the CPR quality settings dialog and the settings kept between runs.
#include "cpr/CprSettingsForm.h"
#include "cpr/CprTexts.h"
#include "support/Packs.h"
#include "support/TempDir.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

class CprSettings : public ::testing::Test
{
protected:
    LanguagePack texts = Packs::builtInEnglish();
};

TEST_F(CprSettings, TheFormShowsTheSettingsAndAcceptsThemUnchanged)
{
    CprReviewSettings current;
    current.quality.pauseThresholdMs = 3000;
    current.quality.ccfTarget = 0.6;
    current.depthUnit = CprDepthUnit::Centimetres;
    CprSettingsForm form(current, texts);
    EXPECT_EQ(form.pauseThresholdText, "3000");
    EXPECT_EQ(form.ccfPercentText, "60");
    EXPECT_EQ(form.rateMinText, "100");
    EXPECT_EQ(form.rateMaxText, "120");
    EXPECT_EQ(form.depthMinText, "5.08");
    EXPECT_EQ(form.depthMaxText, "6.10");
    EXPECT_EQ(form.preShockText, "10");
    ASSERT_TRUE(form.accept());
    EXPECT_EQ(form.settings(), current) << "the depth shown in cm keeps its exact inches";
}

TEST_F(CprSettings, EachFieldIsCheckedAndNamedWhenWrong)
{
    struct Case {
        const char *what;
        std::function<void(CprSettingsForm &)> edit;
        int problem; // 0: accepted
    };
    const std::vector<Case> cases = {
        {"threshold at its lowest", [](auto &f) { f.pauseThresholdText = "1000"; }, 0},
        {"threshold at its highest", [](auto &f) { f.pauseThresholdText = "5000"; }, 0},
        {"threshold too short", [](auto &f) { f.pauseThresholdText = "999"; }, CprText::BadPauseThreshold},
        {"threshold too long", [](auto &f) { f.pauseThresholdText = "5001"; }, CprText::BadPauseThreshold},
        {"threshold not a number", [](auto &f) { f.pauseThresholdText = "2 s"; }, CprText::BadPauseThreshold},
        {"CCF with a comma", [](auto &f) { f.ccfPercentText = "75,5"; }, 0},
        {"CCF above 100", [](auto &f) { f.ccfPercentText = "101"; }, CprText::BadCcfTarget},
        {"rate band reversed", [](auto &f) { f.rateMinText = "121"; }, CprText::BadRateTarget},
        {"rate of zero", [](auto &f) { f.rateMinText = "0"; }, CprText::BadRateTarget},
        {"depth band reversed", [](auto &f) { f.depthMinText = "2.5"; }, CprText::BadDepthTarget},
        {"depth of zero", [](auto &f) { f.depthMinText = "0"; }, CprText::BadDepthTarget},
        {"depth empty", [](auto &f) { f.depthMaxText = ""; }, CprText::BadDepthTarget},
        {"shock limit of no time", [](auto &f) { f.preShockText = "0"; }, CprText::BadShockPause},
        {"shock limit beyond a minute", [](auto &f) { f.postShockText = "61"; }, CprText::BadShockPause},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CprSettingsForm form(CprReviewSettings(), texts);
        c.edit(form);
        EXPECT_EQ(form.accept(), c.problem == 0);
        EXPECT_EQ(form.problem(), c.problem);
        if (c.problem != 0) {
            EXPECT_FALSE(texts.GetText(c.problem).isEmpty());
        }
    }
}

TEST_F(CprSettings, AcceptedValuesBecomeTheSettings)
{
    CprSettingsForm form(CprReviewSettings(), texts);
    form.pauseThresholdText = "2500";
    form.ccfPercentText = "85";
    form.rateMinText = "105";
    form.rateMaxText = "115";
    form.depthMinText = "1.9";
    form.preShockText = "5";
    form.postShockText = "7";
    ASSERT_TRUE(form.accept());
    const CprQualitySettings &q = form.settings().quality;
    EXPECT_EQ(q.pauseThresholdMs, 2500);
    EXPECT_DOUBLE_EQ(q.ccfTarget, 0.85);
    EXPECT_EQ(q.rateMinPerMin, 105);
    EXPECT_EQ(q.rateMaxPerMin, 115);
    EXPECT_DOUBLE_EQ(q.depthMinIn, 1.9);
    EXPECT_DOUBLE_EQ(q.depthMaxIn, 2.4);
    EXPECT_EQ(q.preShockPauseMaxMs, 5000);
    EXPECT_EQ(q.postShockPauseMaxMs, 7000);
}

TEST_F(CprSettings, SwitchingTheUnitConvertsTheDepthBoundsShown)
{
    CprSettingsForm form(CprReviewSettings(), texts);
    form.depthMaxText = "2.5"; // edited, then shown in cm
    form.setDepthUnit(CprDepthUnit::Centimetres);
    EXPECT_EQ(form.depthMinText, "5.08");
    EXPECT_EQ(form.depthMaxText, "6.35");
    form.depthMinText = "5";
    ASSERT_TRUE(form.accept());
    EXPECT_EQ(form.settings().depthUnit, CprDepthUnit::Centimetres);
    EXPECT_NEAR(form.settings().quality.depthMinIn, 5 / 2.54, 1e-12);
    EXPECT_DOUBLE_EQ(form.settings().quality.depthMaxIn, 2.5);

    form.setDepthUnit(CprDepthUnit::Inches);
    EXPECT_EQ(form.depthMinText, "2.0");
    form.restoreDefaults();
    EXPECT_EQ(form.depthMaxText, "2.4");
    EXPECT_EQ(form.depthUnit(), CprDepthUnit::Inches) << "the defaults keep the unit shown";
}

TEST_F(CprSettings, TheUpperDepthLimitTypedInCentimetresIsAccepted)
{
    CprSettingsForm form(CprReviewSettings(), texts);
    form.setDepthUnit(CprDepthUnit::Centimetres);
    form.depthMaxText = "25.4";
    ASSERT_TRUE(form.accept()) << "25.4 cm is the 10 in allowed";
    EXPECT_DOUBLE_EQ(form.settings().quality.depthMaxIn, 10.0);
    EXPECT_TRUE(cprSettingsValid(form.settings().quality));
}

TEST_F(CprSettings, StoredSettingsComeBackAndBadOnesReadAsTheDefaults)
{
    TempDir dir;
    const QString file = dir.file(QStringLiteral("settings.ini"));
    CprReviewSettings chosen;
    chosen.quality.pauseThresholdMs = 4000;
    chosen.quality.depthMaxIn = 2.6;
    chosen.quality.postShockPauseMaxMs = 20000;
    chosen.depthUnit = CprDepthUnit::Centimetres;
    {
        QSettings s(file, QSettings::IniFormat);
        EXPECT_EQ(CprSettingsStore::load(s), CprReviewSettings()) << "nothing stored yet";
        CprSettingsStore::save(s, chosen);
    }
    {
        QSettings s(file, QSettings::IniFormat);
        EXPECT_EQ(CprSettingsStore::load(s), chosen);
        s.setValue(QStringLiteral("CPR Quality/PauseThresholdMs"), 9000);
    }
    QSettings s(file, QSettings::IniFormat);
    EXPECT_EQ(CprSettingsStore::load(s), CprReviewSettings()) << "a value out of range discards the whole set";
}

} // namespace
