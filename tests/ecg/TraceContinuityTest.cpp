// Pixel probes of the trace in every ECG picture: wherever there are samples, every pixel
// column shows the trace and touches its neighbours, flat stretches (asystole, the pause
// after a shock) included.
#include "EcgCaseFixture.h"
#include "ecg/EcgGeometry.h"
#include "ecg/EcgPictureRender.h"
#include "ecg/ShownCase.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int Width = 1200;
constexpr int Height = 800;

// 300 s of ECG: a wave, asystole at the zero line from 140 to 149 s, a second of wave, a
// flat stretch above the zero line from 150 to 160 s, then the wave again.
QByteArray ecgWithFlatStretches()
{
    QByteArray samples(300 * 250, '\0');
    for (int i = 0; i < samples.size(); ++i) {
        const int t = 4 * i;
        int v = int(125 + 60 * std::sin(2 * M_PI * t / 800.0));
        if (t >= 140000 && t < 149000)
            v = 125;
        else if (t >= 150000 && t < 160000)
            v = 160;
        samples[i] = char(v);
    }
    return samples;
}

// Rows y of column x between top and bottom that have the trace's colour.
struct Ink
{
    int top = -1;
    int bottom = -1;
    bool inked() const { return top >= 0; }
};

Ink inkOf(const QImage &img, int x, int top, int bottom, QColor trace)
{
    Ink ink;
    for (int y = top; y <= bottom; ++y)
        if (img.pixelColor(x, y) == trace) {
            if (!ink.inked())
                ink.top = y;
            ink.bottom = y;
        }
    return ink;
}

// Every column from x0 to x1 (excluded) has trace pixels, and each column's pixels touch
// those of the column before it.
void expectContinuous(const QImage &img, int x0, int x1, int top, int bottom, QColor trace, const char *what)
{
    Ink previous;
    int blanks = 0;
    int breaks = 0;
    for (int x = x0; x < x1; ++x) {
        const Ink ink = inkOf(img, x, top, bottom, trace);
        if (!ink.inked()) {
            ++blanks;
            ADD_FAILURE() << what << ": no trace in column " << x;
        } else if (previous.inked() && (ink.top > previous.bottom + 1 || previous.top > ink.bottom + 1)) {
            ++breaks;
            ADD_FAILURE() << what << ": the trace breaks between columns " << x - 1 << " and " << x;
        }
        previous = ink;
        if (blanks + breaks > 5)
            return; // enough to see what is wrong
    }
}

class TraceContinuity : public ::testing::Test
{
protected:
    EcgCaseFixture f;
    int slot = f.handMadeCase(0, ecgWithFlatStretches());
};

TEST_F(TraceContinuity, EntireEcgHasATracePixelInEveryColumnOfEveryRow)
{
    const QImage img = renderEcgPicture(shownCase(f.view.store, slot), f.view.texts(), EcgPictureKind::Entire, 150000, QSize(Width, Height));
    const EntireGeometry g = entireGeometry(Width, Height);
    // Rows from 75 to 225 s: row 3 holds both flat stretches.
    for (int row = 0; row < EntireGeometry::Rows; ++row)
        expectContinuous(img, g.rowLeft(), g.rowLeft() + g.rowWidth(), g.rowTop(row), g.traceBottom(row),
                         QColor(0, 100, 0), "entire ECG");
}

TEST_F(TraceContinuity, FlatRowOfTheEntireEcgIsOneUnbrokenLine)
{
    // Nothing but asystole: every column of every row shows its pixel on the zero line.
    EcgCaseFixture flat;
    const int s = flat.flatCase(400);
    const QImage img = renderEcgPicture(shownCase(flat.view.store, s), flat.view.texts(), EcgPictureKind::Entire, 200000, QSize(Width, Height));
    const EntireGeometry g = entireGeometry(Width, Height);
    for (int row = 0; row < EntireGeometry::Rows; ++row) {
        const int zeroLine = int(g.traceBottom(row) - 125 * 5.0 * g.d / 255);
        for (int x = g.rowLeft(); x < g.rowLeft() + g.rowWidth(); ++x) {
            const Ink ink = inkOf(img, x, g.rowTop(row), g.traceBottom(row), QColor(0, 100, 0));
            ASSERT_TRUE(ink.inked()) << "row " << row << ", column " << x;
            EXPECT_LE(std::abs(ink.top - zeroLine), 1) << "row " << row << ", column " << x;
        }
    }
}

TEST_F(TraceContinuity, EnlargedViewsHaveATracePixelInEveryColumn)
{
    struct View {
        EcgPictureKind kind;
        EnlargedView view;
        QColor trace;
        int32_t centreMs; // where the window holds a flat stretch, a wave and the other one
    };
    const View views[] = {
        {EcgPictureKind::EightSecond, EnlargedView::EightSecond, QColor(0, 100, 0), 150000},
        {EcgPictureKind::SixSecond, EnlargedView::SixSecond, QColor(0, 100, 0), 150000},
        {EcgPictureKind::Large, EnlargedView::Large, QColor(0, 50, 0), 149500},
    };
    for (const View &v : views) {
        const QImage img = renderEcgPicture(shownCase(f.view.store, slot), f.view.texts(), v.kind, v.centreMs, QSize(Width, Height));
        const EnlargedGeometry g = enlargedGeometry(Width, Height, v.view, false, false);
        // The strip's window is copied to (40, 35).
        const std::string what = "enlarged view " + std::to_string(int(v.view));
        expectContinuous(img, 40, 40 + int(g.gridWidth()), 35, 35 + g.gridBottom(), v.trace, what.c_str());
    }
}

} // namespace
