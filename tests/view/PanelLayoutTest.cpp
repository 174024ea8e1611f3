#include "view/PanelLayout.h"

#include "view/ItemFilter.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

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

TEST(PanelSwitch, FilterListsFilledPerTable) {
    // The rows a table puts into 10014 and 10015: first row text, then the item data.
    using Fill = std::pair<std::string, std::vector<int>>;
    const Fill characters = {"(All Chars)", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15}};
    const std::map<int, std::vector<Fill>> expected = {
        {1, {characters, {"(All Types)", {0, 1, 2, 3, 4, 5, 6, 9, 10}}}},
        {2, {{"(All Items)", {0, 1, 2}}}},
        {7, {{"(All Skins)", {0, 1, 2, 3, 4, 6, 7}}}},
        {10, {characters}},
        {12, {characters, {"(All Types)", {0, 3, 5, 6, 10, 12, 14, 18}}}},
        {13, {{"(All Types)", {0, 1, 2, 3, 4, 5, 6}}, {"(All Volumes)", {0, 1, 2, 3, 4, 5}}}},
    };
    for (int t = 1; t <= 13; ++t) {
        std::vector<Fill> fills;
        int combo = 10014;
        for (const FilterFill& f : FilterFills(t)) {
            if (f.comboId == 0) continue;
            EXPECT_EQ(f.comboId, combo++) << t; // 10014 first, then 10015
            Fill fill = {f.firstRow, {}};
            for (const FilterRow& row : FilterRows(f.firstRow, *f.labels))
                fill.second.push_back(row.data);
            fills.push_back(fill);
        }
        EXPECT_EQ(fills, expected.count(t) ? expected.at(t) : std::vector<Fill>{}) << t;
    }
}
