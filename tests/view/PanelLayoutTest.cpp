#include "view/PanelLayout.h"

#include "view/ItemFilter.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace ledgrin;

namespace {

// Final visibility of each group of panel controls, one letter per table from Part (1) to
// Card (13): S shown, H hidden.
struct GroupRow {
    const char* shown;
    std::vector<int> ids;
};
const GroupRow kGroupRows[] = {
    {"SSSSSSSHSSSSS", {10025, 10003, 10004, 10007, 10061, 10008, 10009}}, // shop block
    {"SSSSHHHHHHHHS", {10005}},                                           // " Tradeable"
    {"SSSSSSHHSSSSS", {10006}},                                           // " Not Giftable"
    {"SSSSHSHHSSHSS", {10064, 10065}},                                    // discount price
    {"SHSHSSHSSHHHS", {10030, 10033, 10036, 10039, 10042, 10031, 10034, 10037, 10040, 10043}},
    {"SHSHHHHSSHHHH", {10032, 10035, 10038, 10041, 10044}},                      // second stat boxes
    {"HHHHSHSHHHSHH", {10056, 10058, 10057, 10059}},                             // rental prices
    {"HHHHSHHHHHHHH", {10051, 10052, 10053, 10054, 10055}},                      // bonus block
    {"HHHHHSHHHHHHH", {10062}},                                                  // " pay monthly"
    {"HHHHHHHHHHHSH", {10071, 10072}},                                           // set members
    {"HHHHHHHHHHHHS", {10074, 10075, 10076, 10077, 10078, 10079, 10080, 10081}}, // card block
};

} // namespace

TEST(PanelSwitch, EachTableShowsExactlyItsControlsHidingFirst) {
    for (int t = 1; t <= 13; ++t) {
        std::map<int, bool> expected;
        for (const GroupRow& group : kGroupRows)
            for (int id : group.ids)
                expected[id] = group.shown[t - 1] == 'S';
        std::map<int, bool> applied;
        bool showing = false;
        for (const ControlVisibility& c : PanelVisibility(t)) {
            EXPECT_TRUE(applied.emplace(c.id, c.visible).second) << t << ": " << c.id << " twice";
            // Hidden before shown, so two controls sharing a place are never visible together.
            EXPECT_FALSE(showing && !c.visible) << t << ": " << c.id << " hidden after a show";
            showing = showing || c.visible;
        }
        EXPECT_EQ(applied, expected) << "table " << t;
    }
}

TEST(PanelSwitch, FilterControlsAndStatCaptionsPerTable) {
    const std::string first = "EEDDDDEDDEDEE", second = "EDDDDDDDDDDEE", shop = "EEEEEEEDEEEEE";
    const char* const stats[5] = {"Power", "Control", "Accuracy", "Spin", "Curve"};
    for (int t = 1; t <= 13; ++t) {
        const TablePanel& p = PanelFor(t);
        EXPECT_EQ(TableHasCharFilter(t), first[t - 1] == 'E') << t;
        EXPECT_EQ(TableHasTypeFilter(t), second[t - 1] == 'E') << t;
        EXPECT_EQ(p.shopFilterEnabled, shop[t - 1] == 'E') << t;
        // "Power / Slot" and so on; ClubSet "Power / Max", Mascot and Caddie "Power", Card "Power Slot".
        const char* suffix = t == 3 ? " / Max" : t == 5 || t == 6 ? "" : t == 13 ? " Slot" : " / Slot";
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(p.statCaptions[i], std::string(stats[i]) + suffix) << t;
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
