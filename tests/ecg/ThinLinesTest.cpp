// One-pixel lines written straight into the picture leave exactly the pixels the painter
// leaves for them: single lines of every slope with fractional ends, and the Entire ECG's
// whole trace for simulated rescues at several picture sizes.
#include "EcgCaseFixture.h"
#include "ecg/EcgGeometry.h"
#include "ecg/EcgStyle.h"
#include "ecg/ThinLines.h"
#include "ecg/TraceRenderers.h"

#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

#include "PatternedPicture.h"

namespace {

void paintLines(QImage &picture, const QPen &pen, const std::vector<QLineF> &lines)
{
    QPainter painter(&picture);
    EcgStyle::prepare(painter);
    painter.setPen(pen);
    painter.drawLines(lines.data(), int(lines.size()));
}

// The painter's lines, and the writer's with the painter drawing what it leaves; returns
// how many it left.
size_t expectSamePixels(QSize size, const QPen &pen, const std::vector<QLineF> &lines, const std::string &what)
{
    QImage expected = patternedPicture(size);
    QImage actual = expected;
    paintLines(expected, pen, lines);
    const std::vector<QLineF> rest = drawThinLines(actual.bits(), actual.bytesPerLine(), actual.size(),
                                                   pen.color().rgb(), lines.data(), int(lines.size()));
    paintLines(actual, pen, rest);
    EXPECT_EQ(actual.size(), expected.size());
    int differing = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y) && differing++ == 0)
                first = QPoint(x, y);
    EXPECT_EQ(differing, 0) << what << ": first at " << first.x() << "," << first.y();
    return rest.size();
}

std::vector<QPoint> paintedPixels(const QLineF &line, QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    paintLines(picture, EcgStyle::entireTracePen(), {line});
    std::vector<QPoint> pixels;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (picture.pixel(x, y) != qRgb(255, 255, 255))
                pixels.emplace_back(x, y);
    return pixels;
}

std::vector<QPoint> sorted(std::vector<QPoint> pixels)
{
    std::sort(pixels.begin(), pixels.end(),
              [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
    return pixels;
}

TEST(ThinLines, PixelsOfEachLineAreThePaintersOwn)
{
    const QSize size(40, 40);
    std::vector<QLineF> lines = {
        {10, 5, 10, 25},          // upright, whole-pixel ends
        {10, 25.5, 10, 5.5},      // upright upwards, half-pixel ends
        {10, 7.49, 10, 6.51},     // shorter than a pixel across a row's middle
        {10, 7.4, 10, 7.45},      // shorter than a pixel within a row
        {10.99, 3.2, 10.99, 9.7}, // fractional column
        {9, 20.25, 10, 3.75},     // the trace's connector: one column, steep
        {9, 20.25, 10, 19.8},     // one column, flat
        {9, 20, 10, 21},          // one column, diagonal
        {9, 20.5, 10, 20.5},      // one column, level
        {3.3, 4.7, 30.1, 17.9},   // flat, long
        {30.1, 17.9, 3.3, 4.7},   // the same, backwards
        {5.5, 30.5, 12.5, 2.5},   // steep, leaning right upwards
        {12, 12, 12.01, 12},      // shorter than 1/64 pixel
        {12.5, 12.49, 12.5, 12.49}, // points
        {3.49, 30.5, 3.49, 30.5},
    };
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(1, 38.99);
    for (int i = 0; i < 3000; ++i) {
        const double x = coordinate(random), y = coordinate(random);
        if (i % 2) // a connector as the trace makes them, ends on a 1/64-pixel grid and off it
            lines.emplace_back(std::min(std::floor(x), 37.0), y, std::min(std::floor(x), 37.0) + 1, coordinate(random));
        else
            lines.emplace_back(x, y, coordinate(random), coordinate(random));
    }
    for (const QLineF &line : lines) {
        const std::vector<QPoint> written = thinLinePixels(line, size);
        EXPECT_EQ(sorted(written), paintedPixels(line, size))
            << line.x1() << "," << line.y1() << " " << line.x2() << "," << line.y2();
    }
    // Drawn in one call, a line that turns back against the one before it grows by half a
    // pixel at its start: a zigzag of steep, flat and level lines.
    std::vector<QLineF> zigzag;
    QPointF at(100, 100);
    std::uniform_real_distribution<double> step(-9, 9);
    for (int i = 0; i < 600; ++i) {
        const QPointF next(std::clamp(at.x() + step(random) / (i % 3 ? 1 : 8), 1.0, 198.9),
                           std::clamp(at.y() + step(random) / (i % 4 ? 1 : 8), 1.0, 198.9));
        zigzag.emplace_back(at, next);
        if (i % 7 == 0)
            zigzag.emplace_back(next, next); // a point, as where a row's trace joins the row before
        at = i % 5 ? next : QPointF(std::floor(next.x()), next.y()); // sometimes a gap, as between columns
    }
    expectSamePixels(QSize(200, 200), EcgStyle::entireTracePen(), zigzag, "zigzag");
    // Lines reaching past the picture, or to within a pixel of its edge (the pixel a line
    // may gain), are left to the painter.
    EXPECT_TRUE(thinLinePixels(QLineF(10, 10, 10, 39.5), size).empty());
    EXPECT_TRUE(thinLinePixels(QLineF(10, 10, 10, 40), size).empty());
    expectSamePixels(size, EcgStyle::entireTracePen(),
                     {{10, 10, 10, 10}, {10, 10, 10, 40}, {-3, 2, 5, 8}, {1, 2, 30, 9}}, "lines past the edge");
}

TEST(ThinLines, PensItWrites)
{
    EXPECT_TRUE(writesThinLines(EcgStyle::entireTracePen()));
    EXPECT_TRUE(writesThinLines(ecgPen(QColor(1, 2, 3), 0)));
    EXPECT_FALSE(writesThinLines(ecgPen(QColor(1, 2, 3), 1.5)));
    EXPECT_FALSE(writesThinLines(ecgPen(QColor(1, 2, 3, 200), 1)));
    EXPECT_FALSE(writesThinLines(ecgPen(QColor(1, 2, 3), 1, Qt::SquareCap)));
    EXPECT_FALSE(writesThinLines(ecgPen(QColor(1, 2, 3), 1, Qt::FlatCap, Qt::DashLine)));
}

// Rows as the Entire ECG takes them from a case's samples, starting at sample first (before
// the case's start: places the ECG does not cover).
std::vector<uint8_t> rowsFrom(const QByteArray &samples, int first)
{
    std::vector<uint8_t> rows(size_t(EntireGeometry::Rows) * EntireGeometry::SamplesPerRow, 0);
    for (size_t i = 0; i < rows.size(); ++i) {
        const qsizetype at = first + qsizetype(i);
        if (at >= 0 && at < samples.size())
            rows[i] = uint8_t(samples[at]);
    }
    return rows;
}

TEST(ThinLines, EntireTraceOfSimulatedRescues)
{
    struct Rescue
    {
        double minutes;
        uint32_t seed;
        DeviceFiles::Model model;
    };
    const Rescue rescues[] = {{4, 3, DeviceFiles::Model::Q26}, {5, 11, DeviceFiles::Model::Q21}};
    const QSize sizes[] = {{1920, 1080}, {1600, 900}, {1001, 603}, {777, 451}, {2561, 1439}};
    for (const Rescue &r : rescues) {
        EcgCaseFixture f;
        const int slot = f.simulatedCase(r.minutes, r.seed, r.model);
        const QByteArray &samples = f.view.store.caseAt(slot)->ecgSamples;
        ASSERT_GT(samples.size(), 37500);
        // From the start, the last minutes (running out of samples), across the case's start.
        for (const int first : {0, int(samples.size()) - 30000, -11111}) {
            const std::vector<uint8_t> rows = rowsFrom(samples, first);
            for (const QSize size : sizes) {
                const std::vector<QLineF> lines = entireLines(rows.data(), entireGeometry(size.width(), size.height()));
                ASSERT_FALSE(lines.empty());
                const std::string what = "seed " + std::to_string(r.seed) + " from " + std::to_string(first) + " at "
                    + std::to_string(size.width()) + "x" + std::to_string(size.height());
                // All of it written: a line left to the painter would take the whole trace with it.
                EXPECT_EQ(expectSamePixels(size, EcgStyle::entireTracePen(), lines, what), 0u) << what;
            }
        }
    }
}

} // namespace
