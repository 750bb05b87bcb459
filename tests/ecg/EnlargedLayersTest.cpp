// The enlarged picture keeps the grid layers of its last runs and copies a kept one instead
// of drawing the grid again: whatever was drawn before, a run gives the picture that a
// run into fresh buffers gives.
#include "EcgCaseFixture.h"
#include "ecg/EcgSampleWindow.h"
#include "ecg/EnlargedPicture.h"

#include <gtest/gtest.h>

namespace {

class EnlargedLayers : public ::testing::Test, public EcgCaseFixture
{
protected:
    int slot = simulatedCase(6, 3);
    std::vector<uint8_t> samples;

    EnlargedScene scene(EnlargedView kind, int32_t centreMs)
    {
        EnlargedScene s;
        s.shown = shownCase(view.store, slot);
        s.view = kind;
        s.centreMs = centreMs;
        const EnlargedViewScale scale = enlargedScale(kind);
        samples.assign(size_t(scale.sampleCount), 0);
        fillSampleWindow(s.shown.record, centreMs - scale.halfMs, samples.data(), scale.sampleCount);
        s.samples = samples.data();
        s.gridText = QStringLiteral("25 mm/s");
        s.title = QStringLiteral("ECG");
        return s;
    }

    static QImage fresh(const EnlargedScene &s, QSize size)
    {
        EnlargedBuffers buffers;
        buffers.resize(size.width(), size.height());
        drawEnlargedPicture(buffers, s);
        return buffers.picture;
    }
};

TEST_F(EnlargedLayers, KeptLayersGiveThePictureOfFreshBuffers)
{
    const QSize size(900, 560);
    EnlargedBuffers kept;
    kept.resize(size.width(), size.height());
    // Just before the first CPR period, so that its shading comes in.
    int32_t start = -1;
    view.store.caseAt(slot)->cprPeriods.forEachUsed([&](int, const CprPeriod &p) {
        if (start < 0)
            start = p.startMs - 1000;
    });
    ASSERT_GT(start, 0) << "the simulated rescue has CPR";
    int runs = 0;
    const auto check = [&](const EnlargedScene &s, const char *what) {
        drawEnlargedPicture(kept, s);
        ++runs;
        EXPECT_EQ(kept.picture, fresh(s, size)) << what << " at " << s.centreMs << " ms, view " << int(s.view);
        EXPECT_LE(kept.layers.size(), EnlargedBuffers::MaxLayers);
    };

    // Playback through CPR and events: the grid moves through its cell positions, shading
    // begins and ends; a step back meets a kept layer again.
    for (EnlargedView v : {EnlargedView::EightSecond, EnlargedView::Large, EnlargedView::SixSecond}) {
        for (int step = 0; step < 12; ++step)
            check(scene(v, start + 200 * step), "playback");
        check(scene(v, start), "back to the first step");
    }
    // What the reviewer changes: the shading switched off, a segment marked, the CPR panel
    // folded, the playing centre line, no case.
    EnlargedScene s = scene(EnlargedView::EightSecond, start);
    s.showCprPeriods = false;
    check(s, "CPR periods hidden");
    view.store.AddSegment(slot, start - 2000, start + 1000);
    check(scene(EnlargedView::EightSecond, start), "a segment");
    s = scene(EnlargedView::EightSecond, start);
    s.cprPanelCollapsed = true;
    check(s, "panel folded");
    s.playing = true;
    check(s, "playing");
    s.shown = ShownCase();
    check(s, "no case");

    // A new size drops every layer.
    kept.resize(700, 500);
    EXPECT_TRUE(kept.layers.empty());
    EXPECT_GT(runs, 40);
}

} // namespace
