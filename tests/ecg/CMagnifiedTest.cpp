// The enlarged-ECG window driven as its host drives it: views, menus, segments, the CPR
// panel and a few pixels of its picture.
#include "EcgCaseFixture.h"
#include "base/CommandIds.h"
#include "base/ContextMenuBuilder.h"
#include "ecg/CMagnified.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using namespace CommandId;

class EnlargedWindow : public ::testing::Test
{
protected:
    EcgCaseFixture f;
    int slot = f.flatCase(60);
    CMagnified window{f.view, f.review};
    int menus = 0;
    QList<int> offered;         // commands of the last menu shown
    QList<int> enabled;         // the enabled ones among them
    QList<int> checked;
    int answer = 0;

    void SetUp() override
    {
        window.menuExec = [this](QMenu &menu, const QPoint &) {
            ++menus;
            offered.clear();
            enabled.clear();
            checked.clear();
            collect(menu);
            return answer;
        };
        resize(1000, 600);
        show(13);
    }

    void collect(const QMenu &menu)
    {
        for (QAction *a : menu.actions()) {
            if (a->menu()) {
                collect(*a->menu());
                continue;
            }
            const int id = ContextMenuBuilder::commandOf(a);
            if (id == 0)
                continue;
            offered << id;
            if (a->isEnabled())
                enabled << id;
            if (a->isChecked())
                checked << id;
        }
    }

    void resize(int w, int h)
    {
        window.Resize(0, 0, w, h);
        window.UpdateLayout();
    }

    // What the detail view does to show the case at a position.
    void show(int seconds)
    {
        window.SetPosition(CTimeSpan(seconds));
        window.m_nCase = slot;
        window.FillBuffers(slot);
        window.Redraw();
    }

    void rightClick(int x, int command = 0)
    {
        answer = command;
        window.OnRightButtonUp({x, 100}, {x, 100});
    }

    QColor pixel(int x, int y) const { return window.picture().pixelColor(x, y); }
    static bool isCprYellow(QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() < 200; }
};

TEST_F(EnlargedWindow, ViewsAndTheirCheckMarks)
{
    EXPECT_EQ(window.viewInForce(), EnlargedView::EightSecond);
    window.OnOptionsButton({});
    EXPECT_EQ(offered, (QList<int>{DisplaySixSecondView, DisplayLargeView, DisplayEventText}));
    EXPECT_EQ(checked, QList<int>{DisplayEventText});

    answer = DisplaySixSecondView;
    window.OnOptionsButton({});
    EXPECT_EQ(window.viewInForce(), EnlargedView::SixSecond);
    answer = 0;
    window.OnOptionsButton({});
    EXPECT_EQ(checked, (QList<int>{DisplaySixSecondView, DisplayEventText}));

    // With the large view on, the 6-second item only picks the view that comes back.
    window.OnCommand(DisplayLargeView);
    EXPECT_EQ(window.viewInForce(), EnlargedView::Large);
    window.OnCommand(DisplaySixSecondView);
    EXPECT_EQ(window.viewInForce(), EnlargedView::Large);
    window.OnCommand(DisplayLargeView);
    EXPECT_EQ(window.viewInForce(), EnlargedView::EightSecond);

    window.OnCommand(DisplayEventText);
    EXPECT_FALSE(window.m_bShowEventText);
}

TEST_F(EnlargedWindow, OptionsMenuWaitsWhileAudioPlays)
{
    window.hostPlaying = [] { return true; };
    window.OnOptionsButton({});
    EXPECT_EQ(menus, 0);
}

TEST_F(EnlargedWindow, PositionAndBuffers)
{
    int scrolled = -1;
    window.onScrollPosition = [&](int s) { scrolled = s; };
    window.SetPosition(CTimeSpan(59));
    EXPECT_EQ(window.m_nCentreMs, 59000);
    EXPECT_EQ(scrolled, 59);
    window.FillBuffers(slot);
    // The case ends at 60 s: the 8-second window 55..63 s holds 5 s of samples.
    const uint8_t *eight = window.samples(EnlargedView::EightSecond);
    EXPECT_EQ(eight[1249], 125);
    EXPECT_EQ(eight[1250], 0);
    EXPECT_EQ(window.samples(EnlargedView::SixSecond)[999], 125);
    EXPECT_EQ(window.samples(EnlargedView::SixSecond)[1000], 0);
    EXPECT_EQ(window.samples(EnlargedView::Large)[499], 125);

    f.review.m_nSelCase = NoCaseShown;
    window.SetPosition(CTimeSpan(3));
    EXPECT_EQ(window.m_nCentreMs, 59000);
}

TEST_F(EnlargedWindow, RightClickTimeInTheLargeView)
{
    window.OnCommand(DisplayLargeView); // X = 930
    rightClick(505);
    EXPECT_EQ(window.m_nMouseMs, 13000);
    rightClick(40);
    EXPECT_EQ(window.m_nMouseMs, 12000);
    EXPECT_EQ(menus, 2);

    rightClick(39); // outside the hit rectangle: nothing at all
    EXPECT_EQ(window.m_nMouseMs, 12000);
    EXPECT_EQ(menus, 2);
}

TEST_F(EnlargedWindow, NoMenuBeforeTheCaseStartOrWithoutACase)
{
    show(0);
    rightClick(100); // 8-second view: about -3.5 s
    EXPECT_LT(window.m_nMouseMs, 0);
    show(13);
    window.m_nCase = NoCaseShown;
    rightClick(505);
    EXPECT_EQ(window.m_nMouseMs, 13000);
    EXPECT_EQ(menus, 0);
}

TEST_F(EnlargedWindow, SegmentItemsOfTheLargeView)
{
    window.OnCommand(DisplayLargeView);
    f.view.store.AddSegment(slot, 12900, 13100);
    const QList<int> segmentItems = {SelectSegment, DeselectSegment, DeselectAllSegment, PrintAllSegment};
    auto offeredOf = [&](const QList<int> &ids) {
        QList<int> out;
        for (int id : ids)
            if (offered.contains(id))
                out << id;
        return out;
    };

    rightClick(505); // over the segment
    EXPECT_EQ(offeredOf(segmentItems), (QList<int>{DeselectSegment, DeselectAllSegment, PrintAllSegment}));
    rightClick(100); // elsewhere, though the case has segments
    EXPECT_EQ(offeredOf(segmentItems), QList<int>{SelectSegment});
    EXPECT_FALSE(enabled.contains(ExportEntireEcg)) << "no host to export with";
    EXPECT_TRUE(enabled.contains(CopySegment));
    EXPECT_TRUE(offered.contains(ExportEntireEcg));

    window.OnCommand(DisplayLargeView); // 8-second view
    rightClick(100);
    EXPECT_EQ(offeredOf(segmentItems), (QList<int>{SelectSegment, DeselectAllSegment, PrintAllSegment}));
    f.view.store.caseAt(slot)->segments.clear();
    rightClick(100);
    EXPECT_EQ(offeredOf(segmentItems), QList<int>{SelectSegment});
}

TEST_F(EnlargedWindow, ExportGoesToTheHostAndCopyPutsTheStripOnTheClipboard)
{
    QList<int> exported;
    window.onExportEcg = [&](int s) { exported << s; };
    rightClick(505, ExportEntireEcg);
    EXPECT_TRUE(enabled.contains(ExportEntireEcg));
    EXPECT_EQ(exported, QList<int>{slot});

    QGuiApplication::clipboard()->clear();
    rightClick(505, CopySegment);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), window.picture().size());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), window.picture().convertToFormat(QImage::Format_RGB32));

    f.view.store.caseAt(slot)->ecgSamples.clear();
    rightClick(505);
    EXPECT_FALSE(enabled.contains(ExportEntireEcg)) << "a case without ECG has nothing to export";
}

TEST_F(EnlargedWindow, SelectAndDeselectSegments)
{
    rightClick(505, SelectSegment); // 8-second window 9..17 s
    const SegmentTable &segments = f.view.store.caseAt(slot)->segments;
    ASSERT_EQ(segments.usedCount(), 1);
    EXPECT_EQ(segments[0].startMs, 9000);
    EXPECT_EQ(segments[0].endMs, 17000);

    window.OnCommand(DisplayLargeView);
    rightClick(505, DeselectSegment);
    EXPECT_EQ(segments.usedCount(), 0);

    rightClick(505, SelectSegment); // large window 12..14 s
    window.OnCommand(DisplayLargeView);
    show(16);
    rightClick(505, SelectSegment); // 8-second window 12..20 s takes the large one in
    ASSERT_EQ(segments.usedCount(), 1);
    EXPECT_EQ(segments[0].startMs, 12000);
    EXPECT_EQ(segments[0].endMs, 20000);

    rightClick(505, DeselectAllSegment);
    EXPECT_EQ(segments.usedCount(), 0);
}

TEST_F(EnlargedWindow, AnnotationAndPrintGoToTheHost)
{
    std::pair<int, int32_t> annotation{-1, -1};
    int printKind = 0;
    window.onAddAnnotation = [&](int s, int32_t t) { annotation = {s, t}; };
    window.onPrintSegments = [&](int kind) { printKind = kind; };
    rightClick(505, EnlargedAddAnnotation);
    EXPECT_EQ(annotation, std::make_pair(slot, int32_t(13000)));
    f.view.store.AddSegment(slot, 1000, 2000);
    rightClick(505, PrintAllSegment);
    EXPECT_EQ(printKind, 10);
}

TEST_F(EnlargedWindow, CprMarkingUsesTheViewsProvisionalLength)
{
    rightClick(505, EnlargedCprStart);
    EXPECT_EQ(f.view.store.caseAt(slot)->cprPeriods[0].endMs, 13200);
    window.OnCommand(DisplayLargeView);
    rightClick(800, 0);
    EXPECT_TRUE(enabled.contains(EnlargedCprEnd));
    EXPECT_FALSE(enabled.contains(EnlargedCprStart));
    rightClick(800, EnlargedCprEnd); // about 13.6 s
    EXPECT_EQ(f.view.store.caseAt(slot)->cprPeriods[0].endMs, 14000);
    window.m_cpr = CprPeriodMarking();
    rightClick(505, EnlargedCprDelete);
    EXPECT_EQ(f.view.store.caseAt(slot)->cprPeriods.usedCount(), 0);
    rightClick(505, EnlargedCprStart);
    EXPECT_EQ(f.view.store.caseAt(slot)->cprPeriods[0].endMs, 13040);
}

TEST_F(EnlargedWindow, ShadedBandOfTheSixSecondView)
{
    resize(700, 600); // X = 630, p = 21
    window.OnCommand(DisplaySixSecondView);
    f.view.store.AddCprPeriod(slot, 11250, 14790, false); // window 10..16 s
    window.Redraw();
    // Shaded from the cell at 1.2 s (picture x = 40 + 126) to the one at 4.6 s (40 + 483).
    EXPECT_TRUE(isCprYellow(pixel(170, 50)));
    EXPECT_TRUE(isCprYellow(pixel(520, 50)));
    EXPECT_FALSE(isCprYellow(pixel(163, 50)));
    EXPECT_FALSE(isCprYellow(pixel(526, 50)));
}

TEST_F(EnlargedWindow, ShortPeriodShadedOnlyInTheEightSecondView)
{
    f.view.store.AddCprPeriod(slot, 12900, 13100, false);
    window.Redraw();
    EXPECT_TRUE(isCprYellow(pixel(497, 50)));
    window.OnCommand(DisplaySixSecondView);
    EXPECT_FALSE(isCprYellow(pixel(480, 50)));
    window.OnCommand(DisplayLargeView);
    EXPECT_FALSE(isCprYellow(pixel(460, 50)));
}

TEST_F(EnlargedWindow, CentreLineTurnsRedWhilePlayingInsideTheAudio)
{
    // w = 1000: the centre line is 3 pixels wide at picture x = 40 + 465.
    auto centre = [&] { return pixel(504, 50); };
    const QColor normal = centre();
    EXPECT_EQ(normal, QColor(133, 133, 212));

    f.view.store.at(slot).hasAudio = true;
    f.view.store.at(slot).audioStartMs = 5000;
    f.view.store.at(slot).audioDurationSec = 10;
    window.m_bPlaying = true;
    window.Redraw();
    EXPECT_EQ(centre(), QColor(255, 0, 0));

    show(16); // past the end of the audio at 15 s
    EXPECT_EQ(centre(), normal);
    show(15);
    EXPECT_EQ(centre(), QColor(255, 0, 0));
    window.m_bPlaying = false;
    window.Redraw();
    EXPECT_EQ(centre(), normal);
}

TEST_F(EnlargedWindow, CprPanelAndItsFoldButtons)
{
    // Without CPR feedback: no panel, no buttons, the grid uses the full height.
    EXPECT_TRUE(window.optionsButton()->isVisibleTo(&window));
    EXPECT_FALSE(window.foldButton()->isVisibleTo(&window));
    EXPECT_FALSE(window.unfoldButton()->isVisibleTo(&window));
    EXPECT_EQ(window.drawingGeometry().E, 600);

    f.view.store.at(slot).hasCprFeedback = true;
    CaseRecord *c = f.view.store.caseAt(slot);
    c->cprFeedback = {{12000, 50}, {12500, 60}};
    c->cprFeedbackCount = 2;
    window.Redraw();
    EXPECT_EQ(window.drawingGeometry().E, 400);
    EXPECT_TRUE(window.foldButton()->isVisibleTo(&window));
    EXPECT_EQ(window.foldButton()->pos(), QPoint(70, 410));
    EXPECT_FALSE(window.unfoldButton()->isVisibleTo(&window));
    // A bar of depth 50 hangs from the panel's top line (R = 28: y = 400 + 34) down to the
    // first guide line, 50 * (200 - R) / 65 pixels.
    const int barX = 40 + int((12000 - 9000) / 200.0 * 23.25) + 5;
    EXPECT_NE(pixel(barX, 400 + 40), QColor(Qt::white));
    EXPECT_NE(pixel(barX, 400 + 34 + 126), QColor(Qt::white));
    EXPECT_EQ(pixel(barX, 400 + 34 + 135), QColor(Qt::white));

    window.foldButton()->click();
    EXPECT_TRUE(window.m_bCprPanelCollapsed);
    EXPECT_EQ(window.drawingGeometry().E, 570);
    EXPECT_TRUE(window.unfoldButton()->isVisibleTo(&window));
    EXPECT_EQ(window.unfoldButton()->pos(), QPoint(70, 577));
    EXPECT_FALSE(window.foldButton()->isVisibleTo(&window));
    window.unfoldButton()->click();
    EXPECT_FALSE(window.m_bCprPanelCollapsed);
}

// The depth scale follows the reviewer's unit: in centimetres a "2" stands 52 pixels below
// the top line, where the inch scale has no number.
TEST_F(EnlargedWindow, TheDepthScaleFollowsTheUnit)
{
    f.view.store.at(slot).hasCprFeedback = true;
    CaseRecord *c = f.view.store.caseAt(slot);
    c->cprFeedback = {{12000, 50}};
    c->cprFeedbackCount = 1;
    const auto inked = [this](int top) {
        int n = 0;
        for (int y = top; y < top + 20; ++y)
            for (int x = 15; x < 35; ++x)
                n += pixel(x, y) != QColor(Qt::white);
        return n;
    };
    const int twoCm = 400 + 86 - 16; // the label's box over the panel's 2 cm
    window.Redraw();
    EXPECT_EQ(inked(twoCm), 0);
    window.m_depthUnit = CprDepthUnit::Centimetres;
    window.Redraw();
    EXPECT_GT(inked(twoCm), 0) << "the panel's frame is drawn again for the other unit";
    window.m_depthUnit = CprDepthUnit::Inches;
    window.Redraw();
    EXPECT_EQ(inked(twoCm), 0);
}

TEST_F(EnlargedWindow, NoSelectionKeepsTheOldPicture)
{
    const QImage before = window.picture().copy();
    f.review.m_nSelCase = -1;
    window.SetCentreTime(30000);
    f.view.store.AddCprPeriod(slot, 10000, 20000, false);
    window.Redraw();
    EXPECT_EQ(window.picture(), before);
}

TEST_F(EnlargedWindow, NoCaseShownDrawsGridAndCentreLineOnly)
{
    f.view.store.AddCprPeriod(slot, 10000, 20000, false);
    window.m_nCase = NoCaseShown;
    window.Redraw();
    EXPECT_EQ(pixel(300, 50), QColor(Qt::white));
    EXPECT_NE(pixel(505, 50), QColor(Qt::white));
}

} // namespace
