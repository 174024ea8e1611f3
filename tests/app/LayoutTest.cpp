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

TEST(WindowSize, BaseAndGrowth) {
    EXPECT_EQ(1302, BaseWindowSize(144).width);
    EXPECT_EQ(900, BaseWindowSize(144).height);
    PixelSize growth = WindowGrowth({968, 700}, 96);
    EXPECT_EQ(100, growth.width);
    EXPECT_EQ(100, growth.height);
    growth = WindowGrowth({160, 28}, 96); // a minimised window is smaller than the base
    EXPECT_EQ(-708, growth.width);
    EXPECT_EQ(-572, growth.height);
}

// The control that follows the window, found by identifier.
const ResizeRule& RuleFor(int id) {
    for (const ResizeRule& rule : kResizeRules)
        if (rule.id == id) return rule;
    ADD_FAILURE() << "no resize rule for " << id;
    return kResizeRules[0];
}

TEST(ResizeRule, TheBaseScaledPlusTheGrowthWhereTheControlFollows) {
    const struct {
        int id, dpi;
        PixelSize growth, current, expected;
    } cases[] = {
        {10001, 96, {100, 100}, {318, 400}, {318, 500}}, // item list: height only
        {10018, 96, {100, 100}, {480, 501}, {580, 601}}, // record frame: both
        {10082, 96, {100, 100}, {338, 501}, {338, 601}}, // list frame: height only
        {10046, 96, {100, 100}, {828, 43}, {928, 43}},   // table frame: width only
        {10018, 144, {10, -5}, {0, 0}, {730, 746}},      // 720 + 10, 751 - 5
    };
    for (const auto& c : cases) {
        PixelSize size = ResizedControlSize(RuleFor(c.id), c.dpi, c.growth, c.current);
        EXPECT_EQ(size.width, c.expected.width) << c.id;
        EXPECT_EQ(size.height, c.expected.height) << c.id;
    }
}

TEST(ResizeRule, SizesComeFromTheBaseSoRepeatedResizingDoesNotDrift) {
    // At 125 DPI the base height 400 scales to 520 (520.83).
    PixelSize size = {397, 520};
    for (int step = 0; step < 50; ++step) {
        size = ResizedControlSize(RuleFor(10001), 125, {7 * step, 13 * step}, size);
        size = ResizedControlSize(RuleFor(10001), 125, {0, 0}, size);
    }
    EXPECT_EQ(397, size.width);
    EXPECT_EQ(520, size.height);
}

} // namespace
} // namespace ledgrin
