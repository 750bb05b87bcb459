// The lines the tab, the log and the printed report show of the hands-off time: the shocks
// against their limits, the causes as the bar and its legend count them, the parts of a
// pause and the pause list's menu of causes.
#include "base/CommandIds.h"
#include "base/LanguagePack.h"
#include "cpr/HandsOffRows.h"
#include "cpr/PauseCauseMenu.h"
#include "support/Packs.h"

#include <gtest/gtest.h>

namespace {

using P = PauseCause;
using S = CprTargetStatus;

HandsOffPause pause(int32_t startMs, std::vector<PausePart> parts, bool setByReviewer = false)
{
    HandsOffPause p{startMs, 0, std::move(parts), setByReviewer};
    for (const PausePart &part : p.parts)
        p.lengthMs += part.lengthMs;
    return p;
}

TEST(HandsOffRows, ShocksAreJudgedPreAndPostByTheirLimitsAndPeriByTheirSum)
{
    CprQualitySettings limits;
    limits.preShockPauseMaxMs = 10000;
    limits.postShockPauseMaxMs = 5000;
    struct Case
    {
        const char *name;
        HandsOffShock shock;
        QStringList cells;
        S pre, post, peri;
    };
    const std::vector<Case> cases = {
        {"every step, all within", {65000, 6000, 3000, 1000, 10000, 5000, 15000},
         {"1:05", "6.0 s", "3.0 s", "1.0 s", "10.0 s", "5.0 s", "15.0 s"}, S::Met, S::Met, S::Met},
        {"pre over, peri within the sum", {3723000, 6000, 3000, 2000, 11000, 3000, 14000},
         {"1:02:03", "6.0 s", "3.0 s", "2.0 s", "11.0 s", "3.0 s", "14.0 s"}, S::NotMet, S::Met, S::Met},
        {"post over and peri over the sum", {5000, {}, {}, 400, 2000, 13001, 15001},
         {"0:05", "\u2014", "\u2014", "0.4 s", "2.0 s", "13.0 s", "15.0 s"}, S::Met, S::NotMet, S::NotMet},
        {"no pause holds it", {7000, {}, {}, {}, {}, {}, {}},
         {"0:07", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014"}, S::None, S::None, S::None},
    };
    for (const Case &c : cases) {
        HandsOffResult r;
        r.shocks = {c.shock};
        const std::vector<HandsOffShockRow> rows = HandsOffRows::shockRows(r, limits);
        ASSERT_EQ(rows.size(), 1u) << c.name;
        EXPECT_EQ(rows[0].cells(), c.cells) << c.name;
        EXPECT_EQ(rows[0].preShock, c.pre) << c.name;
        EXPECT_EQ(rows[0].postShock, c.post) << c.name;
        EXPECT_EQ(rows[0].periShock, c.peri) << c.name;
    }
    EXPECT_EQ(HandsOffRows::targetRow(limits, "Target").cells(),
              QStringList({"Target", "", "", "", "\u2264 10 s", "\u2264 5 s", "\u2264 15 s"}));
    EXPECT_TRUE(HandsOffRows::shockRows(HandsOffResult(), limits).empty());
    EXPECT_EQ(HandsOffRows::shockHeaders(Packs::builtInEnglish()),
              QStringList({"Shock", "Analysis", "Charge", "To shock", "Pre-shock pause", "Post-shock pause",
                           "Peri-shock pause"}));
}

TEST(HandsOffRows, CausesKeepTheReviewersTimeApartAndLeaveOutWhatTookNone)
{
    const LanguagePack texts = Packs::builtInEnglish();
    HandsOffResult r;
    r.pauses = {
        pause(1000, {{P::UntilAnalysis, 1000, 2000}, {P::Analysis, 3000, 6000}, {P::Charge, 9000, 0},
                     {P::AfterShock, 9000, 2000}}),
        pause(30000, {{P::Breaths, 30000, 5000}}, true),
        pause(50000, {{P::Breaths, 50000, 5000}}),
    };
    r.totalMs = 20000;
    const std::vector<HandsOffCauseRow> rows = HandsOffRows::causeRows(r, texts);
    struct Expected
    {
        P cause;
        bool reviewer;
        int64_t ms;
        const char *name;
        const char *amount;
    };
    const std::vector<Expected> expected = {
        {P::UntilAnalysis, false, 2000, "until analysis", "2.0 s \u00b7 10.0 %"},
        {P::Analysis, false, 6000, "analysis", "6.0 s \u00b7 30.0 %"},
        {P::AfterShock, false, 2000, "after shock", "2.0 s \u00b7 10.0 %"},
        {P::Breaths, false, 5000, "breaths", "5.0 s \u00b7 25.0 %"},
        {P::Breaths, true, 5000, "breaths (set by the reviewer)", "5.0 s \u00b7 25.0 %"},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].cause, expected[i].cause) << i;
        EXPECT_EQ(rows[i].setByReviewer, expected[i].reviewer) << i;
        EXPECT_EQ(rows[i].ms, expected[i].ms) << i;
        EXPECT_EQ(rows[i].name, expected[i].name) << i;
        EXPECT_EQ(rows[i].amount, expected[i].amount) << i;
    }

    EXPECT_EQ(HandsOffRows::partsText(r.pauses[0], texts),
              QStringLiteral("until analysis 2.0 s \u00b7 analysis 6.0 s \u00b7 after shock 2.0 s"))
        << "an empty part is not listed";
    EXPECT_EQ(HandsOffRows::partsText(r.pauses[1], texts), QStringLiteral("breaths (set by the reviewer) 5.0 s"));
    EXPECT_TRUE(HandsOffRows::causeRows(HandsOffResult(), texts).empty());
}

TEST(HandsOffRows, BeforeCprTimesCountFromPowerOnAndShowADashForWhatDidNotHappen)
{
    BeforeCpr before;
    before.firstPadsOnMs = 12400;
    before.firstCompressionMs = 75000;
    const std::vector<HandsOffTimeRow> rows = HandsOffRows::beforeCprRows(before, Packs::builtInEnglish());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].label, "First pads on");
    EXPECT_EQ(rows[0].time, "0:12");
    EXPECT_EQ(rows[1].time, QStringLiteral("\u2014"));
    EXPECT_EQ(rows[2].time, QStringLiteral("\u2014"));
    EXPECT_EQ(rows[3].label, "First compression");
    EXPECT_EQ(rows[3].time, "1:15");
}

TEST(PauseCauseMenu, OffersTheReviewersCausesByTheirReviewFileNames)
{
    LanguagePack texts = Packs::builtInEnglish();
    texts.setLanguage(2);
    const QList<MenuEntry> entries = PauseCauseMenu::entries(texts);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].kind, MenuEntry::Kind::Submenu);
    EXPECT_EQ(entries[0].text, "Imposta la causa");
    EXPECT_EQ(entries[1].text, "Usa la lettura del dispositivo");
    EXPECT_EQ(PauseCauseMenu::causeOf(entries[1].commandId), QString());

    QStringList words, names;
    for (const MenuEntry &e : entries[0].entries) {
        words << e.text;
        names << PauseCauseMenu::causeOf(e.commandId).value_or("?");
    }
    EXPECT_EQ(words, QStringList({"ventilazioni", "elettrodi", "controllo del ritmo", "vie aeree", "trasporto",
                                  "altro"}));
    EXPECT_EQ(names, QStringList({"breaths", "pads", "rhythm-check", "airway", "transport", "other"}));
    EXPECT_FALSE(PauseCauseMenu::causeOf(CommandId::GoToTime).has_value());
}

} // namespace
