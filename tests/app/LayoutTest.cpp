#include "view/Layout.h"

#include <gtest/gtest.h>

namespace ledgrin {
namespace {

TEST(ScaleForDpi, ValueTimesDpiOver96TruncatedTowardZero) {
    const struct {
        int value, dpi, scaled;
    } cases[] = {
        {0, 96, 0},       {868, 96, 868},   {-7, 96, -7},                    // unchanged
        {868, 72, 651},   {15, 72, 11},     {-15, 72, -11},                  // 11.25
        {868, 120, 1085}, {85, 120, 106},   {62, 120, 77},                   // 106.25, 77.5
        {868, 125, 1130}, {600, 125, 781},  {15, 125, 19},                   // 1130.21, 781.25, 19.53
        {868, 144, 1302}, {723, 144, 1084}, {15, 144, 22},  {-15, 144, -22}, // 22.5
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
}

// The window tests resize at 96 DPI; here the other DPIs, a window smaller than its base
// (minimised), and sizes that never depend on the current size where the control follows.
TEST(ResizeRule, TheBaseScaledPlusTheGrowthWhereTheControlFollows) {
    EXPECT_EQ(-708, WindowGrowth({160, 28}, 96).width);
    EXPECT_EQ(-572, WindowGrowth({160, 28}, 96).height);
    const struct {
        int rule, dpi;
        PixelSize growth, current, expected;
    } cases[] = {
        {0, 125, {7, 13}, {397, 999}, {397, 533}},     // item list: height only (520.83 + 13)
        {1, 144, {10, -5}, {0, 0}, {730, 746}},        // record frame: both (720 + 10, 751 - 5)
        {3, 144, {-708, -572}, {1242, 64}, {534, 64}}, // table frame: width only (1242 - 708)
    };
    for (const auto& c : cases) {
        PixelSize size = ResizedControlSize(kResizeRules[c.rule], c.dpi, c.growth, c.current);
        EXPECT_EQ(size.width, c.expected.width) << c.rule;
        EXPECT_EQ(size.height, c.expected.height) << c.rule;
    }
}

} // namespace
} // namespace ledgrin
