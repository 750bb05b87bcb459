// The trace renderers on small buffers: which lines each column and connector gives.
#include "ecg/TraceRenderers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Lines = std::vector<QLineF>;

// Envelope with 4 columns over 8 samples (2 per column), R = 25 so one unit is one pixel
// and the grid bottom is y = 256; the shown window starts at x0 = 100.
Lines envelope(const std::vector<uint8_t> &samples, int H = 400, double p = 1.0)
{
    return envelopeLines(samples.data(), int(samples.size()), 100, p, 4, 25, H);
}

TEST(EnvelopeRenderer, ColumnsAndConnectors)
{
    const Lines lines = envelope({0, 0, 10, 20, 30, 40, 15, 5});
    const Lines expected = {
        // column 0 is blank, so column 1 has nothing to join
        {101, 246, 101, 236},
        // column 2 lies above column 1: previous max to this min
        {102, 226, 102, 216}, {101, 236, 102, 226},
        // column 3 lies below column 2: previous min to this max
        {103, 251, 103, 241}, {102, 226, 103, 241},
    };
    EXPECT_EQ(lines, expected);
}

TEST(EnvelopeRenderer, ScalesTenRowsToTheGridHeight)
{
    // R = 50: 250 units fill 10 rows of 50 pixels; the bottom is y = 506.
    const std::vector<uint8_t> samples = {125, 125, 250, 250};
    const Lines lines = envelopeLines(samples.data(), 4, 0, 1.0, 2, 50, 900);
    ASSERT_EQ(lines.size(), 3u);
    // Flat columns are a pixel high, centred on their value.
    EXPECT_EQ(lines[0], QLineF(0, 256.5, 0, 255.5));
    EXPECT_EQ(lines[1], QLineF(1, 6.5, 1, 5.5));
}

TEST(EnvelopeRenderer, EveryCoveredColumnDrawsAPixel)
{
    // Small values a coarse scale takes to 0 are still samples; 0 alone is "no ECG".
    const Lines low = envelopeLines(std::vector<uint8_t>{1, 1, 0, 0}.data(), 4, 100, 1.0, 2, 5, 400);
    ASSERT_EQ(low.size(), 1u);
    EXPECT_EQ(low[0], QLineF(100, 56.5, 100, 55.5));
    // A column that reaches past the ECG's end keeps to its covered samples.
    const Lines edge = envelope({50, 0, 60, 60, 70, 70, 80, 0});
    EXPECT_EQ(edge[0], columnLine(100, 206, 206));
    EXPECT_EQ(edge.back(), QLineF(102, 186, 103, 176));
    for (const QLineF &l : edge)
        EXPECT_LT(std::max(l.y1(), l.y2()), 207) << "a line towards the grid bottom";
}

TEST(EnvelopeRenderer, PinnedColumnsDrawNothingButStillConnect)
{
    // H = 40: a column whose min and max are both 30 or more is pinned at the top.
    const Lines lines = envelope({0, 0, 10, 20, 30, 40, 15, 5}, 40);
    const Lines expected = {
        {101, 246, 101, 236},
        {103, 251, 103, 241}, {102, 226, 103, 241},
    };
    EXPECT_EQ(lines, expected);
}

TEST(EnvelopeRenderer, MoreColumnsThanSamplesKeepsTheTraceWhole)
{
    // 8 columns over 4 samples: a column between two samples takes the one at its start
    // instead of drawing from the bottom to the top of the grid.
    const Lines lines = envelope({10, 20, 30, 40}, 400, 2.0);
    ASSERT_FALSE(lines.empty());
    for (const QLineF &l : lines) {
        EXPECT_GE(std::min(l.y1(), l.y2()), 256 - 40 - 0.5);
        EXPECT_LE(std::max(l.y1(), l.y2()), 256 - 10 + 0.5);
    }
    int columns = 0;
    for (const QLineF &l : lines)
        columns += l.x1() == l.x2() ? 1 : 0;
    EXPECT_EQ(columns, 8);
}

TEST(EnvelopeRenderer, UncoveredBufferDrawsNothing)
{
    EXPECT_TRUE(envelope(std::vector<uint8_t>(8, 0)).empty());
}

TEST(PairRenderer, ConnectsNeighbouringSamples)
{
    // 4 samples over 8 columns (cells 4, p 2): q advances half a sample per column and is
    // held at the last sample. R = 10: one unit per pixel, bottom y = 256. Nothing joins
    // the uncovered first sample; the last line ends at 108 and so covers column 107.
    const std::vector<uint8_t> samples = {0, 10, 20, 20};
    const Lines lines = pairLines(samples.data(), 4, 100, 2.0, 4, 10, 400);
    const Lines expected = {
        {102, 246, 103, 236}, {103, 246, 104, 236}, {104, 236, 105, 236},
        {105, 236, 106, 236}, {106, 236, 107, 236}, {107, 236, 108, 236},
    };
    EXPECT_EQ(lines, expected);
}

TEST(PairRenderer, SkipsUncoveredAndPinnedPairs)
{
    const std::vector<uint8_t> zeros(4, 0);
    EXPECT_TRUE(pairLines(zeros.data(), 4, 0, 2.0, 4, 10, 400).empty());
    // H = 40: both ends at 30 units or more are pinned.
    const std::vector<uint8_t> high = {30, 40, 50, 60};
    EXPECT_TRUE(pairLines(high.data(), 4, 0, 2.0, 4, 10, 40).empty());
}

TEST(EntireRenderer, ConnectsOnlyWhereColumnsDoNotOverlap)
{
    // w = 130: 1 pixel per second, 30 columns per row of 250 samples each. h = 1425 makes
    // the trace area 255 pixels high, one pixel per unit.
    const EntireGeometry g = entireGeometry(130, 1425);
    ASSERT_EQ(g.v, 1);
    ASSERT_EQ(5 * g.d, 255);
    std::vector<uint8_t> rows(37500, 0);
    auto column = [&](int row, int col, int lo, int hi) {
        for (int i = 0; i < 250; ++i)
            rows[size_t(row * 7500 + col * 250 + i)] = uint8_t(i % 2 ? hi : lo);
    };
    column(0, 0, 100, 100);
    column(0, 1, 120, 140);
    column(0, 2, 110, 130); // overlaps column 1: no connector
    column(0, 3, 50, 60);   // below column 2: previous min to this max
    column(0, 29, 60, 70);
    column(1, 0, 200, 200); // first column of row 2 connects to the last of row 1 at x = 50

    const double yb0 = g.traceBottom(0);
    const double yb1 = g.traceBottom(1);
    // A flat column is a pixel high; nothing joins a column to one without samples.
    const Lines expected = {
        {50, yb0 - 99.5, 50, yb0 - 100.5},
        {51, yb0 - 120, 51, yb0 - 140}, {50, yb0 - 100, 51, yb0 - 120},
        {52, yb0 - 110, 52, yb0 - 130},
        {53, yb0 - 50, 53, yb0 - 60}, {52, yb0 - 110, 53, yb0 - 60},
        {79, yb0 - 60, 79, yb0 - 70},
        {50, yb1 - 199.5, 50, yb1 - 200.5}, {50, yb1 - 70, 50, yb1 - 200},
    };
    EXPECT_EQ(entireLines(rows.data(), g), expected);
}

} // namespace
