// What the measures read of a decoded case: its compressions, and the shocks and analyses
// found among its events by the codes they were decoded from, whatever their texts say.
#include "case/CaseViewFixture.h"
#include "cpr/CprQualityInput.h"

#include <gtest/gtest.h>

namespace {

class CprInput : public ::testing::Test, public CaseViewFixture
{
};

TEST_F(CprInput, ShocksAndAnalysesAreFoundByTheCodesTheyCameFrom)
{
    DeviceFiles::TrendBlock first;
    first.events[0] = {6, 10000};
    first.events[1] = {7, 18000};
    first.events[2] = {8, 19000};
    first.events[3] = {9, 25000};
    first.shockMs = 27000;
    first.energyTenthsJ = 1500;
    DeviceFiles::TrendBlock second;
    second.events[0] = {31, 90000};
    second.events[1] = {27, 97000};
    second.events[2] = {12, 101000};
    second.shockMs = 100000;
    second.energyTenthsJ = 2000;
    DeviceFiles::DeviceFolder folder = emptyFolder();
    folder.trend = {first, second};
    const int slot = decodeCase(folder);
    CaseRecord &c = *view.store.caseAt(slot);
    // Texts alone decide nothing: an annotation worded like a shock is no shock.
    view.store.AddEvent(slot, 50000, QStringLiteral("A: Prompt : Shock delivered."), QString());
    c.cprFeedback = {{103000, 55}, {102400, 50}};

    const CprQualityInput input = cprQualityInput(c);

    EXPECT_EQ(input.shocksMs, (std::vector<int32_t>{27520, 100520})) << "the delivery, 520 ms after the button";
    EXPECT_EQ(input.analysesMs, (std::vector<int32_t>{10000, 90000}));
    ASSERT_EQ(input.compressions.size(), 2u);
    EXPECT_EQ(input.compressions[0].timeMs, 103000) << "as recorded; the measures order them";
    EXPECT_EQ(input.compressions[1].depth, 50);
}

} // namespace
