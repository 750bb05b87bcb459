// The depth scale of the enlarged ECG's CPR panel in the reviewer's unit.
#include "ecg/CprPanel.h"

#include <gtest/gtest.h>

namespace {

using CprPanel::DepthMark;

// R = 28, o = 6: the top line at 34, the guide lines (2.0 and 2.4 in) at 166 and 192; 172
// pixels span 65 depth units of 1/25 inch.
TEST(CprPanelDepthScale, NumbersAndPlacesInEachUnit)
{
    const struct
    {
        CprDepthUnit unit;
        QChar point;
        std::vector<DepthMark> marks;
    } cases[] = {
        {CprDepthUnit::Inches, '.', {{34, "0.0"}, {166, "2.0"}, {192, "2.4"}}},
        {CprDepthUnit::Inches, ',', {{34, "0,0"}, {166, "2,0"}, {192, "2,4"}}},
        // 2 cm = 19.69 units = 52.09 px; 6.6 cm is the deepest the panel shows, so 8 cm is not.
        {CprDepthUnit::Centimetres, '.', {{34, "0"}, {86, "2"}, {138, "4"}, {190, "6"}}},
        {CprDepthUnit::Centimetres, ',', {{34, "0"}, {86, "2"}, {138, "4"}, {190, "6"}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CprPanel::depthScale(c.unit, c.point, 28, 6), c.marks)
            << "unit " << int(c.unit) << ", point " << c.point.toLatin1();

    // The inch numbers stand on the lines they name.
    const std::array<int, 3> lines = CprPanel::lineYs(28, 6);
    const std::vector<DepthMark> inches = CprPanel::depthScale(CprDepthUnit::Inches, '.', 28, 6);
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(inches[i].y, lines[i]);
}

// In centimetres the guide line of 2.0 in lies where 5.08 cm falls between the numbers 4 and
// 6, in every view's panel height: the scale and the bars measure the same depth.
TEST(CprPanelDepthScale, CentimetreNumbersAgreeWithTheInchGuideLines)
{
    for (const auto &[R, o] : {std::pair{28, 6}, std::pair{20, 6}, std::pair{40, 14}}) {
        const std::vector<DepthMark> cm = CprPanel::depthScale(CprDepthUnit::Centimetres, '.', R, o);
        ASSERT_EQ(cm.size(), 4u);
        const double at508 = cm[2].y + (cm[3].y - cm[2].y) * (5.08 - 4.0) / 2.0;
        const double at610 = cm[2].y + (cm[3].y - cm[2].y) * (6.096 - 4.0) / 2.0;
        EXPECT_NEAR(CprPanel::lineYs(R, o)[1], at508, 1.5) << "R " << R;
        EXPECT_NEAR(CprPanel::lineYs(R, o)[2], at610, 1.5) << "R " << R;
    }
}

} // namespace
