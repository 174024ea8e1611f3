#include "view/PanelLayout.h"

#include <gtest/gtest.h>

#include <map>

using namespace ledgrin;

namespace {

// Controls that share a place on the panel: never visible together.
const std::pair<int, int> kSharedPlaces[] = {
    {10031, 10072}, // first Power box / member list
    {10051, 10074}, // Crell label / Cardpack label
    {10065, 10058}, // discount price / 7-day price
    {10059, 10062}, // 30-day price / " pay monthly"
};

} // namespace

// The table panels themselves are checked in the real window; here, the order in which a
// switch applies them.
TEST(PanelSwitch, HidesComeFirstAndSharedPlacesAreNeverBothShown) {
    for (int t = 1; t <= 13; ++t) {
        std::map<int, bool> applied;
        bool showing = false;
        for (const ControlVisibility& c : PanelVisibility(t)) {
            EXPECT_TRUE(applied.emplace(c.id, c.visible).second) << t << ": " << c.id << " twice";
            EXPECT_FALSE(showing && !c.visible) << t << ": " << c.id << " hidden after a show";
            showing = showing || c.visible;
        }
        for (auto [a, b] : kSharedPlaces)
            EXPECT_FALSE(applied.at(a) && applied.at(b)) << t << ": " << a << " and " << b;
    }
}
