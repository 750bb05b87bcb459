// Header bars of the General tab, and the pictures rendered without a window.
#include "EcgCaseFixture.h"
#include "ecg/CGeneralNote.h"
#include "ecg/EcgPictureRender.h"
#include "ecg/HeaderBar.h"
#include "ecg/ShownCase.h"

#include <gtest/gtest.h>

namespace {

bool hasWhitishPixel(const QImage &img, int x0, int x1)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = x0; x < x1; ++x)
            if (img.pixelColor(x, y).green() > 150)
                return true;
    return false;
}

TEST(HeaderBar, GradientRunsOverTheFullWidthWithTheCaption)
{
    const LanguagePack texts = Packs::builtInEnglish();
    for (int width : {610, 200}) {
        CGeneralNote bar(2, texts);
        bar.Resize(5, 225, width, 25);
        bar.Redraw();
        const QImage &img = bar.picture();
        ASSERT_EQ(img.size(), QSize(width, 25));
        const QColor left = img.pixelColor(0, 1);
        const QColor right = img.pixelColor(width - 1, 1);
        EXPECT_NEAR(left.red(), 10, 2);
        EXPECT_NEAR(right.red(), 128, 2);
        EXPECT_NEAR(right.green(), 10, 2);
        EXPECT_NEAR(img.pixelColor(width / 2, 1).red(), 69, 3);
        EXPECT_TRUE(hasWhitishPixel(img, 0, 60)) << width; // the caption starts at the left
    }
    EXPECT_EQ(HeaderBar::captionText(1), 126);
    EXPECT_EQ(HeaderBar::captionText(3), 128);
    EXPECT_EQ(HeaderBar::captionText(4), 0);

    CGeneralNote untitled(4, texts);
    untitled.Resize(0, 0, 300, 25);
    untitled.Redraw();
    EXPECT_FALSE(hasWhitishPixel(untitled.picture(), 0, 300));
}

TEST(EcgPictureRender, SimulatedCaseWithoutAWindow)
{
    EcgCaseFixture f;
    const int slot = f.simulatedCase(3.0, 11);
    const CaseRecord *c = f.view.store.caseAt(slot);
    const int32_t centre = (c->ecgStartMs + 30000) / 1000 * 1000;
    auto traceColumns = [](const QImage &img) {
        int columns = 0;
        for (int x = 0; x < img.width(); ++x)
            for (int y = 0; y < img.height(); ++y) {
                const QColor p = img.pixelColor(x, y);
                if (p.green() > p.red() + 40 && p.green() > p.blue() + 40 && p.green() < 160) {
                    ++columns;
                    break;
                }
            }
        return columns;
    };
    for (EcgPictureKind kind :
         {EcgPictureKind::Entire, EcgPictureKind::EightSecond, EcgPictureKind::SixSecond, EcgPictureKind::Large}) {
        const QImage img = renderEcgPicture(shownCase(f.view.store, slot), f.view.texts(), kind, centre, QSize(1200, 800));
        ASSERT_EQ(img.size(), QSize(1200, 800));
        EXPECT_GT(traceColumns(img), 800) << int(kind);
        const QImage empty = renderEcgPicture(shownCase(f.view.store, NoCaseShown), f.view.texts(), kind, centre, QSize(1200, 800));
        EXPECT_EQ(traceColumns(empty), 0) << int(kind);
    }
}

} // namespace
