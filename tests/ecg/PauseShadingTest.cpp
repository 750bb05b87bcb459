// Where the pauses' parts are shaded by cause and what the pointer over one says.
#include "ecg/CEntired.h"
#include "ecg/EcgStyle.h"
#include "ecg/PauseShading.h"
#include "support/Packs.h"

#include "EcgCaseFixture.h"

#include <gtest/gtest.h>

namespace {

using P = PauseCause;

// A pause from 5000 to 9000 ms split at an analysis (its until-analysis part empty), and a
// pause the reviewer read as airway crossing from row 1 into row 2 at 30 s.
HandsOffResult twoPauses()
{
    HandsOffResult r;
    r.pauses.push_back({5000, 4000, {{P::UntilAnalysis, 5000, 0}, {P::Analysis, 5000, 500}, {P::Charge, 5500, 3500}}, false});
    r.pauses.push_back({29000, 2000, {{P::Airway, 29000, 2000}}, true});
    return r;
}

TEST(PauseShading, EntireStretchesArePlacedToThePixelAndCutAtRowEnds)
{
    const EntireGeometry g = entireGeometry(1920, 1080); // v = 60 pixels a second
    const std::array<int32_t, 5> starts{0, 30000, 60000, 90000, 120000};
    const std::array<int32_t, 5> ends{30000, 60000, 90000, 120000, 150000};
    const std::vector<PausePartShade> shades = entirePauseShades(twoPauses(), starts, ends, g);

    ASSERT_EQ(shades.size(), 4u) << "the empty part is left out";
    const double top0 = g.rowTop(0), top1 = g.rowTop(1), h = 5 * g.d;
    EXPECT_EQ(shades[0], (PausePartShade{QRectF(350, top0, 30, h), P::Analysis, false, 500}));
    EXPECT_EQ(shades[1], (PausePartShade{QRectF(380, top0, 210, h), P::Charge, false, 3500}));
    EXPECT_EQ(shades[2], (PausePartShade{QRectF(1790, top0, 60, h), P::Airway, true, 2000}));
    EXPECT_EQ(shades[3], (PausePartShade{QRectF(50, top1, 60, h), P::Airway, true, 2000}));

    // The pointer: inside a part, on the pixel two parts share (the later is drawn over
    // it), and beside the rows.
    const auto causeAt = [&](double x, double y) {
        const PausePartShade *s = pauseShadeAt(shades, QPointF(x, y));
        return s ? std::optional<P>(s->cause) : std::nullopt;
    };
    EXPECT_EQ(causeAt(360.5, top0 + 10), P::Analysis);
    EXPECT_EQ(causeAt(380.5, top0 + 10), P::Charge);
    EXPECT_EQ(causeAt(80.5, top1 + 1), P::Airway);
    EXPECT_EQ(causeAt(600.5, top0 + 10), std::nullopt);
    EXPECT_EQ(causeAt(360.5, top0 + h + 1), std::nullopt);
}

TEST(PauseShading, EnlargedStretchesCoverTheWindowOnly)
{
    const EnlargedGeometry g = enlargedGeometry(1920, 1080, EnlargedView::EightSecond, true, false);
    const std::vector<PausePartShade> shades = enlargedPauseShades(twoPauses(), 6000, 14000, g);
    ASSERT_EQ(shades.size(), 1u) << "only the charge reaches into the window";
    EXPECT_EQ(shades[0].cause, P::Charge);
    EXPECT_EQ(shades[0].rect.left(), g.X);
    EXPECT_EQ(shades[0].rect.width(), int(3000.0 * g.p / g.scale.cellMs));
}

TEST(PauseShading, TipNamesTheCauseAndLengthInTheLanguage)
{
    LanguagePack texts = Packs::builtInEnglish();
    const PausePartShade analysis{QRectF(), P::Analysis, false, 7200};
    const PausePartShade airway{QRectF(), P::Airway, true, 12000};
    EXPECT_EQ(pauseShadeTip(analysis, texts), "analysis 7.2 s");
    EXPECT_EQ(pauseShadeTip(airway, texts), "airway (set by the reviewer) 12.0 s");
    texts.setLanguage(2);
    EXPECT_EQ(pauseShadeTip(analysis, texts), "analisi 7,2 s");
}

// A flat case whose compressions every 500 ms from 10 to 40 s stop from 20 to 25 s, shown
// with row 2 from 15 to 45 s (30 pixels a second): the pause lies at x 200..350 of row 2.
TEST(PauseShading, EntireWindowShadesThePausesOfTheThresholdAndTheReviewersCauses)
{
    EcgCaseFixture f;
    const int slot = f.flatCase(200);
    CaseRecord *c = f.view.store.caseAt(slot);
    for (int32_t t = 10000; t <= 40000; t += 500)
        if (t <= 20000 || t >= 25000)
            c->cprFeedback.push_back({t, 50});
    c->cprFeedbackCount = int32_t(c->cprFeedback.size());
    f.view.store.at(slot).hasCprFeedback = true;
    CEntired window(f.view, f.review);
    window.Resize(0, 0, 1000, 600);
    window.UpdateLayout();
    window.SetPosition(CTimeSpan(60));
    window.m_nCase = slot;
    window.FillRows(slot);
    const EntireGeometry g = window.drawingGeometry();
    const QPoint inPause(275, g.rowTop(1) + g.d / 2);
    const QPoint inRun(485, g.rowTop(1) + g.d / 2);

    window.Redraw();
    EXPECT_EQ(window.picture().pixelColor(inPause), pauseShadeOnBackground(P::Other, false));
    EXPECT_EQ(window.picture().pixelColor(inRun), EcgStyle::background());
    EXPECT_EQ(window.toolTipAt(inPause), "other 5.0 s");
    EXPECT_EQ(window.toolTipAt(inRun), "");

    // The reviewer's cause shows at the next drawing run, hatched.
    f.view.store.at(slot).pauseCauses[20000] = QStringLiteral("airway");
    window.Redraw();
    EXPECT_EQ(window.toolTipAt(inPause), "airway (set by the reviewer) 5.0 s");
    int airway = 0;
    for (int x = 200; x < 350; ++x)
        airway += window.picture().pixelColor(x, inPause.y()) == pauseShadeOnBackground(P::Airway, true);
    EXPECT_GT(airway, 75) << "filled, with the hatch's lines crossing";

    // A longer threshold makes no pause of the gap; "Show CPR Periods" off hides them all.
    window.m_nPauseThresholdMs = 6000;
    window.Redraw();
    EXPECT_EQ(window.picture().pixelColor(inPause), EcgStyle::background());
    window.m_nPauseThresholdMs = 2000;
    window.m_cpr.Show();
    window.Redraw();
    EXPECT_EQ(window.picture().pixelColor(inPause), EcgStyle::background());
}

} // namespace
