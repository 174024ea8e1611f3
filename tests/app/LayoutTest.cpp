#include "ui/Layout.h"

#include <gtest/gtest.h>

namespace ledgrin {
namespace {

TEST(ScaleForDpi, At96EveryValueIsUnchanged) {
    for (int v : {0, 1, 15, 85, 600, 868, -7})
        EXPECT_EQ(v, ScaleForDpi(v, 96));
}

TEST(ScaleForDpi, At72) {
    EXPECT_EQ(651, ScaleForDpi(868, 72));
    EXPECT_EQ(450, ScaleForDpi(600, 72));
    EXPECT_EQ(11, ScaleForDpi(15, 72)); // 11.25
}

TEST(ScaleForDpi, At120) {
    EXPECT_EQ(1085, ScaleForDpi(868, 120));
    EXPECT_EQ(750, ScaleForDpi(600, 120));
    EXPECT_EQ(106, ScaleForDpi(85, 120)); // 106.25
    EXPECT_EQ(77, ScaleForDpi(62, 120));  // 77.5
}

TEST(ScaleForDpi, At125FractionsAreDropped) {
    EXPECT_EQ(1130, ScaleForDpi(868, 125)); // 1130.21
    EXPECT_EQ(781, ScaleForDpi(600, 125));  // 781.25
    EXPECT_EQ(19, ScaleForDpi(15, 125));    // 19.53
}

TEST(ScaleForDpi, At144) {
    EXPECT_EQ(1302, ScaleForDpi(868, 144));
    EXPECT_EQ(900, ScaleForDpi(600, 144));
    EXPECT_EQ(22, ScaleForDpi(15, 144)); // 22.5
    // The TypeID edit 10024: 723, 80, 85, 20.
    EXPECT_EQ(1084, ScaleForDpi(723, 144));
    EXPECT_EQ(120, ScaleForDpi(80, 144));
    EXPECT_EQ(127, ScaleForDpi(85, 144));
    EXPECT_EQ(30, ScaleForDpi(20, 144));
}

TEST(ScaleForDpi, NegativeValuesTruncateTowardZero) {
    EXPECT_EQ(-22, ScaleForDpi(-15, 144)); // -22.5
    EXPECT_EQ(-11, ScaleForDpi(-15, 72));  // -11.25
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

// The controls that follow the window, found by identifier.
const ResizeRule& RuleFor(int id) {
    for (const ResizeRule& rule : kResizeRules)
        if (rule.id == id) return rule;
    ADD_FAILURE() << "no resize rule for " << id;
    return kResizeRules[0];
}

TEST(ResizeRule, GrowingBy100At96) {
    PixelSize growth = {100, 100};
    PixelSize list = ResizedControlSize(RuleFor(10001), 96, growth, {318, 400});
    EXPECT_EQ(318, list.width);
    EXPECT_EQ(500, list.height);
    PixelSize record = ResizedControlSize(RuleFor(10018), 96, growth, {480, 501});
    EXPECT_EQ(580, record.width);
    EXPECT_EQ(601, record.height);
    PixelSize listFrame = ResizedControlSize(RuleFor(10082), 96, growth, {338, 501});
    EXPECT_EQ(338, listFrame.width);
    EXPECT_EQ(601, listFrame.height);
    PixelSize tableFrame = ResizedControlSize(RuleFor(10046), 96, growth, {828, 43});
    EXPECT_EQ(928, tableFrame.width);
    EXPECT_EQ(43, tableFrame.height);
}

TEST(ResizeRule, SizesComeFromTheBaseSoRepeatedResizingDoesNotDrift) {
    // At 125 DPI the base height 400 scales to 520 (520.83): growing and shrinking back
    // many times ends exactly where it started.
    PixelSize size = {397, 520};
    for (int step = 0; step < 50; ++step) {
        size = ResizedControlSize(RuleFor(10001), 125, {7 * step, 13 * step}, size);
        size = ResizedControlSize(RuleFor(10001), 125, {0, 0}, size);
    }
    EXPECT_EQ(397, size.width);
    EXPECT_EQ(520, size.height);
}

TEST(ResizeRule, AtOtherDpisTheBaseIsScaledFirst) {
    PixelSize record = ResizedControlSize(RuleFor(10018), 144, {10, -5}, {0, 0});
    EXPECT_EQ(730, record.width);  // 720 + 10
    EXPECT_EQ(746, record.height); // 751 + -5
}

} // namespace
} // namespace ledgrin
