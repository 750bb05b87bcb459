// The window sample rule: which stored samples land where in a window buffer.
#include "ecg/EcgSampleWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// n samples 1, 2, 3, ... n.
QByteArray counting(int n)
{
    QByteArray out;
    for (int i = 1; i <= n; ++i)
        out.append(char(i));
    return out;
}

std::vector<int> window(const QByteArray &ecg, int32_t s, int32_t e, int32_t lo, int count)
{
    std::vector<uint8_t> out(size_t(count), 0xEE);
    fillSampleWindow(ecg, s, e, lo, out.data(), count);
    return std::vector<int>(out.begin(), out.end());
}

struct RuleCase
{
    const char *what;
    int samples;
    int32_t s;
    int32_t e;
    int32_t lo;
    std::vector<int> expected;
};

TEST(SampleWindow, TheRuleCaseByCase)
{
    const RuleCase cases[] = {
        {"starts inside, ends after", 20, 100, 180, 80, {0, 0, 0, 0, 0, 1, 2, 3, 4, 5}},
        {"starts and ends inside", 5, 100, 120, 92, {0, 0, 1, 2, 3, 4, 5, 0, 0, 0}},
        {"began before, ends at the window end", 20, 0, 80, 40, {11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
        {"began before, ends inside", 15, 0, 60, 40, {11, 12, 13, 14, 15, 0, 0, 0, 0, 0}},
        {"covers the whole window", 40, 0, 160, 40, {11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
        {"ends where the window starts", 10, 0, 40, 40, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"ends before the window", 10, 0, 40, 44, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"starts where the window ends", 10, 120, 160, 80, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"start between two window samples", 20, 102, 182, 80, {0, 0, 0, 0, 0, 1, 2, 3, 4, 5}},
        {"end beyond the stored bytes", 3, 0, 400, 0, {1, 2, 3, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const RuleCase &c : cases)
        EXPECT_EQ(window(counting(c.samples), c.s, c.e, c.lo, 10), c.expected) << c.what;
}

TEST(SampleWindow, OneSecondBeforeTheStartGives250Zeros)
{
    const QByteArray ecg(1000, char(125));
    std::vector<uint8_t> out(500, 0xEE);
    fillSampleWindow(ecg, 3000, 3000 + 4000, 2000, out.data(), 500);
    for (int i = 0; i < 250; ++i)
        ASSERT_EQ(out[size_t(i)], 0) << i;
    for (int i = 250; i < 500; ++i)
        ASSERT_EQ(out[size_t(i)], 125) << i;
}

TEST(SampleWindow, NoCaseGivesZeros)
{
    std::vector<uint8_t> out(8, 0xEE);
    fillSampleWindow(nullptr, 0, out.data(), 8);
    EXPECT_EQ(out, std::vector<uint8_t>(8, 0));
}

} // namespace
