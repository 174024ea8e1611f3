#include "ui/PanelLayout.h"

#include "ui/ItemFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace ledgrin;

namespace {

// Final visibility per group, one character per table from Part (1) to Card (13).
const std::map<PanelGroup, std::string> kShown = {
    {PanelGroup::ShopBlock, "SSSSSSSHSSSSS"},    {PanelGroup::Tradeable, "SSSSHHHHHHHHS"},
    {PanelGroup::NotGiftable, "SSSSSSHHSSSSS"},  {PanelGroup::DiscountPrice, "SSSSHSHHSSHSS"},
    {PanelGroup::FirstStats, "SHSHSSHSSHHHS"},   {PanelGroup::SecondStats, "SHSHHHHSSHHHH"},
    {PanelGroup::RentalPrices, "HHHHSHSHHHSHH"}, {PanelGroup::BonusBlock, "HHHHSHHHHHHHH"},
    {PanelGroup::Monthly, "HHHHHSHHHHHHH"},      {PanelGroup::SetMembers, "HHHHHHHHHHHSH"},
    {PanelGroup::CardBlock, "HHHHHHHHHHHHS"},
};

struct Rect {
    int x, y, w, h;
};

// The 96-DPI rectangles of every control the table switch shows or hides.
const std::map<int, Rect> kRects = {
    {10025, {368, 140, 80, 16}},  {10003, {368, 155, 100, 20}}, {10004, {478, 155, 100, 16}},
    {10007, {368, 113, 100, 16}}, {10061, {478, 113, 100, 16}}, {10008, {628, 158, 70, 16}},
    {10009, {723, 158, 70, 16}},  {10005, {628, 113, 70, 16}},  {10006, {723, 113, 90, 16}},
    {10064, {368, 180, 80, 16}},  {10065, {368, 195, 100, 20}}, {10030, {368, 270, 80, 16}},
    {10033, {459, 270, 80, 16}},  {10036, {550, 270, 80, 16}},  {10039, {641, 270, 80, 16}},
    {10042, {732, 270, 80, 16}},  {10031, {368, 285, 35, 20}},  {10034, {459, 285, 35, 20}},
    {10037, {550, 285, 35, 20}},  {10040, {641, 285, 35, 20}},  {10043, {732, 285, 35, 20}},
    {10032, {408, 285, 35, 20}},  {10035, {499, 285, 35, 20}},  {10038, {590, 285, 35, 20}},
    {10041, {681, 285, 35, 20}},  {10044, {772, 285, 35, 20}},  {10056, {368, 180, 80, 16}},
    {10058, {368, 195, 100, 20}}, {10057, {478, 180, 80, 16}},  {10059, {478, 195, 100, 20}},
    {10051, {368, 315, 80, 16}},  {10052, {368, 330, 75, 20}},  {10053, {459, 315, 80, 16}},
    {10054, {459, 330, 75, 20}},  {10055, {732, 333, 70, 16}},  {10062, {478, 198, 200, 16}},
    {10071, {368, 270, 150, 16}}, {10072, {368, 285, 438, 95}}, {10074, {368, 315, 80, 16}},
    {10075, {368, 330, 75, 20}},  {10076, {459, 315, 80, 16}},  {10077, {459, 330, 75, 20}},
    {10078, {641, 315, 80, 16}},  {10079, {641, 330, 75, 20}},  {10080, {732, 315, 80, 16}},
    {10081, {732, 330, 75, 20}},
};

// Rectangles that cover each other by at least 2 pixels both ways. A caption reaches one
// pixel into the box below it by design (16 high, the box 15 lower); that is no clash.
bool Overlap(const Rect& a, const Rect& b) {
    int w = std::min(a.x + a.w, b.x + b.w) - std::max(a.x, b.x);
    int h = std::min(a.y + a.h, b.y + b.h) - std::max(a.y, b.y);
    return w >= 2 && h >= 2;
}

bool GroupsOverlap(PanelGroup ga, PanelGroup gb) {
    for (int a : GroupControls(ga))
        for (int b : GroupControls(gb))
            if (Overlap(kRects.at(a), kRects.at(b))) return true;
    return false;
}

const PanelGroup kAllGroups[] = {
    PanelGroup::ShopBlock,  PanelGroup::Tradeable,   PanelGroup::NotGiftable,  PanelGroup::DiscountPrice,
    PanelGroup::FirstStats, PanelGroup::SecondStats, PanelGroup::RentalPrices, PanelGroup::BonusBlock,
    PanelGroup::Monthly,    PanelGroup::SetMembers,  PanelGroup::CardBlock,
};

std::vector<int> Ids(PanelGroup g) {
    IdList list = GroupControls(g);
    return std::vector<int>(list.begin(), list.end());
}

std::vector<std::string> Captions(int t) {
    const TablePanel& p = PanelFor(t);
    return std::vector<std::string>(p.statCaptions, p.statCaptions + 5);
}

} // namespace

TEST(PanelGroups, EachTableShowsExactlyItsGroups) {
    for (int t = 1; t <= 13; ++t)
        for (const auto& [group, row] : kShown)
            EXPECT_EQ(PanelFor(t).Shows(group), row[t - 1] == 'S')
                << "table " << t << " group " << static_cast<int>(group);
}

TEST(PanelGroups, GroupsSharingAPlaceAreNeverVisibleTogether) {
    // The places known to be shared do overlap by the rectangles, so the check below bites.
    EXPECT_TRUE(GroupsOverlap(PanelGroup::FirstStats, PanelGroup::SetMembers));
    EXPECT_TRUE(GroupsOverlap(PanelGroup::BonusBlock, PanelGroup::CardBlock));
    EXPECT_TRUE(GroupsOverlap(PanelGroup::DiscountPrice, PanelGroup::RentalPrices));
    EXPECT_TRUE(GroupsOverlap(PanelGroup::RentalPrices, PanelGroup::Monthly));
    for (int t = 1; t <= 13; ++t)
        for (PanelGroup ga : kAllGroups)
            for (PanelGroup gb : kAllGroups)
                if (ga != gb && PanelFor(t).Shows(ga) && PanelFor(t).Shows(gb)) {
                    EXPECT_FALSE(GroupsOverlap(ga, gb))
                        << "table " << t << ": groups " << static_cast<int>(ga) << " and "
                        << static_cast<int>(gb);
                }
}

TEST(PanelGroups, EveryPanelControlIsInOneGroupAndTheFixedOnesInNone) {
    std::multiset<int> ids;
    for (PanelGroup g : kAllGroups)
        for (int id : GroupControls(g))
            ids.insert(id);
    EXPECT_EQ(ids.size(), kRects.size());
    for (const auto& [id, rect] : kRects)
        EXPECT_EQ(ids.count(id), 1u) << id;
    // Name, character, TypeID, level, description, Update, list, search: never touched.
    for (int id : {10019, 10020, 10021, 10022, 10023, 10024, 10026, 10027, 10028, 10029, 10045, 10002, 10011,
                   10001, 10012, 10013, 10014, 10015, 10016})
        EXPECT_EQ(ids.count(id), 0u) << id;
    EXPECT_EQ(Ids(PanelGroup::ShopBlock),
              (std::vector<int>{10025, 10003, 10004, 10007, 10061, 10008, 10009}));
    EXPECT_EQ(Ids(PanelGroup::SecondStats), (std::vector<int>{10032, 10035, 10038, 10041, 10044}));
}

TEST(PanelSwitch, HidesComeBeforeShowsAndEndInTheTableState) {
    for (int t = 1; t <= 13; ++t) {
        auto list = PanelVisibility(t);
        std::set<int> seen;
        bool showing = false;
        for (const ControlVisibility& c : list) {
            EXPECT_TRUE(seen.insert(c.id).second) << t << ": " << c.id << " twice";
            if (c.visible) showing = true;
            EXPECT_FALSE(showing && !c.visible) << t << ": " << c.id << " hidden after a show";
            bool expected = false;
            for (PanelGroup g : kAllGroups)
                for (int id : GroupControls(g))
                    if (id == c.id) expected = kShown.at(g)[t - 1] == 'S';
            EXPECT_EQ(c.visible, expected) << t << ": " << c.id;
        }
        EXPECT_EQ(seen.size(), kRects.size());
    }
}

TEST(PanelSwitch, AuxPartHidesTheShopAndShowsBothStatRows) {
    const TablePanel& aux = PanelFor(8);
    EXPECT_FALSE(aux.Shows(PanelGroup::ShopBlock));
    EXPECT_FALSE(aux.Shows(PanelGroup::Tradeable));
    EXPECT_FALSE(aux.Shows(PanelGroup::NotGiftable));
    EXPECT_FALSE(aux.Shows(PanelGroup::DiscountPrice));
    EXPECT_FALSE(aux.shopFilterEnabled);
    EXPECT_TRUE(aux.Shows(PanelGroup::FirstStats) && aux.Shows(PanelGroup::SecondStats));
}

TEST(PanelSwitch, FilterControlsEnabledPerTable) {
    const std::string first = "EEDDDDEDDEDEE", second = "EDDDDDDDDDDEE", shop = "EEEEEEEDEEEEE";
    for (int t = 1; t <= 13; ++t) {
        const TablePanel& p = PanelFor(t);
        EXPECT_EQ(p.charFilterEnabled, first[t - 1] == 'E') << t;
        EXPECT_EQ(p.typeFilterEnabled, second[t - 1] == 'E') << t;
        EXPECT_EQ(p.shopFilterEnabled, shop[t - 1] == 'E') << t;
        // An enabled combo box is exactly one whose value the list filter uses.
        EXPECT_EQ(p.charFilterEnabled, TableHasCharFilter(t)) << t;
        EXPECT_EQ(p.typeFilterEnabled, TableHasTypeFilter(t)) << t;
    }
}

TEST(PanelSwitch, StatCaptionsPerTable) {
    using V = std::vector<std::string>;
    const V slot = {"Power / Slot", "Control / Slot", "Accuracy / Slot", "Spin / Slot", "Curve / Slot"};
    EXPECT_EQ(Captions(3),
              (V{"Power / Max", "Control / Max", "Accuracy / Max", "Spin / Max", "Curve / Max"}));
    EXPECT_EQ(Captions(5), (V{"Power", "Control", "Accuracy", "Spin", "Curve"}));
    EXPECT_EQ(Captions(6), Captions(5));
    EXPECT_EQ(Captions(13), (V{"Power Slot", "Control Slot", "Accuracy Slot", "Spin Slot", "Curve Slot"}));
    for (int t : {1, 2, 4, 7, 8, 9, 10, 11, 12})
        EXPECT_EQ(Captions(t), slot) << t;
}

TEST(PanelSwitch, FilterListsFilledPerTable) {
    struct Fill {
        int combo;
        std::string firstRow;
        std::vector<int> data;
    };
    auto fills = [](int t) {
        std::vector<Fill> out;
        for (const FilterFill& f : PanelFor(t).fills) {
            if (f.comboId == 0) continue;
            Fill fill{f.comboId, f.firstRow, {}};
            for (const FilterRow& row : FilterRows(f.firstRow, *f.labels))
                fill.data.push_back(row.data);
            out.push_back(fill);
        }
        return out;
    };
    const std::vector<int> characters = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15};
    auto part = fills(1);
    ASSERT_EQ(part.size(), 2u);
    EXPECT_EQ(part[0].combo, 10014);
    EXPECT_EQ(part[0].firstRow, "(All Chars)");
    EXPECT_EQ(part[0].data, characters);
    EXPECT_EQ(part[1].combo, 10015);
    EXPECT_EQ(part[1].firstRow, "(All Types)");
    EXPECT_EQ(part[1].data, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 9, 10}));
    auto item = fills(2);
    ASSERT_EQ(item.size(), 1u);
    EXPECT_EQ(item[0].firstRow, "(All Items)");
    EXPECT_EQ(item[0].data, (std::vector<int>{0, 1, 2}));
    auto skin = fills(7);
    ASSERT_EQ(skin.size(), 1u);
    EXPECT_EQ(skin[0].firstRow, "(All Skins)");
    EXPECT_EQ(skin[0].data, (std::vector<int>{0, 1, 2, 3, 4, 6, 7}));
    auto hair = fills(10);
    ASSERT_EQ(hair.size(), 1u);
    EXPECT_EQ(hair[0].data, characters);
    auto set = fills(12);
    ASSERT_EQ(set.size(), 2u);
    EXPECT_EQ(set[1].combo, 10015);
    EXPECT_EQ(set[1].data, (std::vector<int>{0, 3, 5, 6, 10, 12, 14, 18}));
    auto card = fills(13);
    ASSERT_EQ(card.size(), 2u);
    EXPECT_EQ(card[0].firstRow, "(All Types)");
    EXPECT_EQ(card[0].data, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(card[1].firstRow, "(All Volumes)");
    EXPECT_EQ(card[1].data, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    for (int t : {3, 4, 5, 6, 8, 9, 11})
        EXPECT_TRUE(fills(t).empty()) << t;
}
