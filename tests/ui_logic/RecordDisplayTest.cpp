#include "ui/RecordDisplay.h"

#include "Fixtures.h"
#include "ui/Labels.h"

#include <gtest/gtest.h>

using namespace ledgrin;
using namespace fixtures;

namespace {

std::vector<std::uint32_t> Five(const std::uint32_t (&v)[5]) {
    return std::vector<std::uint32_t>(v, v + 5);
}

using V = std::vector<std::uint32_t>;

std::string CharacterLabel(std::uint32_t code) {
    return kCharacterNames.At(code);
}

// Shows record 0 of table t holding `record`.
RecordDisplay Show(int t, const Bytes& record) {
    TableStore store;
    Add(store, t, record);
    return BuildRecordDisplay(store, t, 0);
}

} // namespace

TEST(HeadDisplay, PricesFlagsLevelAndTexts) {
    Bytes r = ItemRecord(2, 0x84146A07, "Lucky Coin");
    Put32(r, 0x5C, 123456); // Price
    Put32(r, 0x60, 99);     // DiscountPrice
    Put8(r, 0x68, 0xA3);    // Points, Tradeable, Avail. in Shop and Display only
    Put8(r, 0x69, 0x02);    // Hot
    Put8(r, 0x30, 0x85);    // rank 5, a maximum
    RecordDisplay d = Show(2, r);
    ASSERT_TRUE(d.valid);
    EXPECT_EQ(d.values.name, "Lucky Coin");
    EXPECT_EQ(d.values.price, 123456u);
    EXPECT_EQ(d.values.discountPrice, 99u);
    EXPECT_EQ(d.values.currencyRow, 1);
    EXPECT_TRUE(d.values.tradeable && d.values.availInShop && d.values.displayOnly);
    EXPECT_FALSE(d.values.notGiftable);
    EXPECT_TRUE(d.values.isHot);
    EXPECT_FALSE(d.values.isNew);
    EXPECT_EQ(d.values.levelRow, 5);
    EXPECT_TRUE(d.values.maximum);
    EXPECT_EQ(d.typeIdText, "2215930375"); // unsigned in the TypeID box
    EXPECT_EQ(d.characterText, "");        // an Item has no character
    EXPECT_EQ(Five(d.values.stats), V(5, 0));
    EXPECT_EQ(Five(d.values.seconds), V(5, 0));
    EXPECT_FALSE(d.isCard || d.isSetItem);
}

TEST(HeadDisplay, RankWithoutARowSelectsNone) {
    Bytes r = ItemRecord(4, 1, "Comet Ball");
    Put8(r, 0x30, 0x11); // rank 17: the list has 17 rows, 0 to 16
    RecordDisplay d = Show(4, r);
    EXPECT_EQ(d.values.levelRow, -1);
    EXPECT_FALSE(d.values.maximum);
}

TEST(DiagnosticLines, ClickedAndTypeIdFields) {
    TableStore store;
    Add(store, 2, ItemRecord(2, 1, "First"));
    // 0x84146A07: group 33 (bits 26..31), char 5, type 20, pos 3, serial 7.
    Add(store, 2, ItemRecord(2, 0x84146A07, "Lucky Coin"));
    RecordDisplay d = BuildRecordDisplay(store, 2, 1);
    EXPECT_EQ(d.clickedLine, "Entry clicked: 1 (-2079036921, Lucky Coin)\n");
    EXPECT_EQ(d.fieldsLine, "char 5 group 33 type 20 pos 3 serial 7\n");
}

TEST(DiagnosticLines, NameWithoutNulStopsAt40Bytes) {
    Bytes r = ItemRecord(2, 7, std::string(40, 'N'));
    Put8(r, 0x30, 'X'); // the byte behind the name must not show
    RecordDisplay d = Show(2, r);
    EXPECT_EQ(d.values.name, std::string(40, 'N'));
    EXPECT_EQ(d.clickedLine, "Entry clicked: 0 (7, " + std::string(40, 'N') + ")\n");
}

TEST(StatDisplay, GroupsPerTable) {
    struct Case {
        int table;
        std::size_t first, second; // offsets; 0: no such group
        int width1, width2;
    };
    // Part u16/u16, ClubSet u16/u16, Mascot u8, Caddie u16, AuxPart u8/u8,
    // Character u16/u8, Card slot values u16.
    const Case cases[] = {{1, 0x1CC, 0x1D6, 2, 2}, {3, 0xB8, 0xC2, 2, 2}, {5, 0x102, 0, 1, 0},
                          {6, 0xD4, 0, 2, 0},      {8, 0xB2, 0xB7, 1, 1}, {9, 0x148, 0x152, 2, 1},
                          {13, 0xD2, 0, 2, 0}};
    for (const Case& c : cases) {
        Bytes r = ItemRecord(c.table, 0x10, "Stat Item");
        V first, second;
        for (int i = 0; i < 5; ++i) {
            std::uint32_t a = 201 + i, b = 11 + i;
            if (c.width1 == 2)
                Put16(r, c.first + 2 * i, a + 1000);
            else
                Put8(r, c.first + i, a);
            first.push_back(c.width1 == 2 ? a + 1000 : a);
            if (c.width2 == 2)
                Put16(r, c.second + 2 * i, b + 2000);
            else if (c.width2 == 1)
                Put8(r, c.second + i, b);
            second.push_back(c.width2 == 2 ? b + 2000 : (c.width2 == 1 ? b : 0));
        }
        RecordDisplay d = Show(c.table, r);
        EXPECT_EQ(Five(d.values.stats), first) << c.table;
        EXPECT_EQ(Five(d.values.seconds), second) << c.table;
    }
    for (int t : {2, 4, 7, 10, 11, 12}) { // no stats: zeros, whatever the bytes hold
        RecordDisplay d = Show(t, ItemRecord(t, 0x10, "Plain"));
        EXPECT_EQ(Five(d.values.stats), V(5, 0)) << t;
        EXPECT_EQ(Five(d.values.seconds), V(5, 0)) << t;
    }
}

TEST(TableDisplay, MascotBonusRentalAndExtraItem) {
    Bytes r = ItemRecord(5, 0x20, "Puffin");
    Put16(r, 0xFA, 700);         // Price7Days
    Put16(r, 0xFE, 2500);        // Price30Days
    Put32(r, 0x10C, 110u << 16); // CrellBonus 0 (shown as 100), ExpBonus 110
    Put32(r, 0x110, 0x00000007); // MascotFlags: extra item and two unnamed bits
    RecordDisplay d = Show(5, r);
    EXPECT_EQ(d.values.price7Days, 700u);
    EXPECT_EQ(d.values.price30Days, 2500u);
    EXPECT_EQ(d.values.crellPercent, 100u);
    EXPECT_EQ(d.values.expPercent, 110u);
    EXPECT_TRUE(d.values.extraItem);
}

TEST(TableDisplay, CaddieMonthlySkinAndCaddieItemRental) {
    Bytes caddie = ItemRecord(6, 0x21, "Nora");
    Put32(caddie, 0xA8, 500);
    EXPECT_TRUE(Show(6, caddie).values.payMonthly);
    Put32(caddie, 0xA8, 0);
    EXPECT_FALSE(Show(6, caddie).values.payMonthly);

    Bytes skin = ItemRecord(7, 0x22, "Dune Frame");
    Put16(skin, 0xD4, 40);
    Put16(skin, 0xD8, 90);
    RecordDisplay s = Show(7, skin);
    EXPECT_EQ(s.values.price7Days, 40u);
    EXPECT_EQ(s.values.price30Days, 90u);

    Bytes tool = ItemRecord(11, 0x23, "Rake");
    Put16(tool, 0xFA, 41);
    Put16(tool, 0xFE, 91);
    RecordDisplay c = Show(11, tool);
    EXPECT_EQ(c.values.price7Days, 41u);
    EXPECT_EQ(c.values.price30Days, 91u);
}

TEST(CharacterBox, PerTableCodeAndCodesWithoutLabel) {
    EXPECT_EQ(Show(1, ItemRecord(1, 3u << 18, "Cap")).characterText, CharacterLabel(3));
    EXPECT_EQ(Show(1, ItemRecord(1, 255u << 18, "Cap")).characterText, "");
    EXPECT_EQ(Show(1, ItemRecord(1, 20u << 18, "Cap")).characterText, ""); // code 20: no label
    EXPECT_EQ(Show(1, ItemRecord(1, 13u << 18, "Cap")).characterText, ""); // 13 is blank

    Bytes hair = ItemRecord(10, 0x30, "Wavy Crop");
    Put8(hair, 0xA9, 2);
    EXPECT_EQ(Show(10, hair).characterText, CharacterLabel(2));
    Put8(hair, 0xA9, 255);
    EXPECT_EQ(Show(10, hair).characterText, "");
    Put8(hair, 0xA9, 15);
    EXPECT_EQ(Show(10, hair).characterText, "");

    // SetItem: pos (bits 13..17) only for SetGroup (bits 20..25) 2 and 4.
    EXPECT_EQ(Show(12, ItemRecord(12, (4u << 20) | (2u << 13), "Set")).characterText, CharacterLabel(2));
    EXPECT_EQ(Show(12, ItemRecord(12, (2u << 20) | (6u << 13), "Set")).characterText, CharacterLabel(6));
    EXPECT_EQ(Show(12, ItemRecord(12, (9u << 20) | (2u << 13), "Set")).characterText, "");
    EXPECT_EQ(Show(12, ItemRecord(12, (4u << 20) | (31u << 13), "Set")).characterText, "");
    // Other tables never show one, whatever the TypeID's char holds.
    EXPECT_EQ(Show(3, ItemRecord(3, 3u << 18, "Club")).characterText, "");
}

TEST(CardDisplay, CardpackPositionAndEffects) {
    Bytes card = ItemRecord(13, 0x40, "Gust Card");
    Put16(card, 0xDE, 5);      // EffectValue
    Put16(card, 0x158, 0);     // EffectTime
    Put16(card, 0x15A, 3);     // Volume 3
    Put32(card, 0x15C, 70001); // Position
    RecordDisplay d = Show(13, card);
    EXPECT_TRUE(d.isCard);
    EXPECT_EQ(d.cardpackText, "Volume 3");
    EXPECT_EQ(d.position, 70001u);
    EXPECT_EQ(d.values.effectValue, 5u);
    EXPECT_TRUE(d.showEffectValue);
    EXPECT_FALSE(d.showEffectTime);

    Put16(card, 0xDE, 0);
    Put16(card, 0x158, 30);
    Put16(card, 0x15A, 7); // no label above 4
    d = Show(13, card);
    EXPECT_FALSE(d.showEffectValue);
    EXPECT_TRUE(d.showEffectTime);
    EXPECT_EQ(d.values.effectTime, 30u);
    EXPECT_EQ(d.cardpackText, "");
    Put16(card, 0x15A, 0);
    EXPECT_EQ(Show(13, card).cardpackText, "Packs");
}

TEST(SetMembersDisplay, RowsNamesAndQuantities) {
    TableStore store;
    Add(store, 4, ItemRecord(4, 100, "Comet Ball"));
    Bytes set = ItemRecord(12, 0x50, "Starter Set");
    Put32(set, 0xA8, 2);   // MemberCount
    Put32(set, 0xAC, 100); // member 0: the ball
    Put32(set, 0xB0, 200); // member 1: held by no record
    Put32(set, 0xB4, 100); // member 2: beyond the count, not shown
    Put16(set, 0xD4, 0);   // quantity 0 shows as 1
    Put16(set, 0xD6, 3);
    Add(store, 12, set);
    RecordDisplay d = BuildRecordDisplay(store, 12, 0);
    ASSERT_TRUE(d.isSetItem);
    ASSERT_EQ(d.members.size(), 2u);
    EXPECT_EQ(d.members[0].typeIdText, "100");
    EXPECT_EQ(d.members[0].name, "Comet Ball");
    EXPECT_EQ(d.members[0].quantityText, "1");
    EXPECT_EQ(d.members[1].typeIdText, "200");
    EXPECT_EQ(d.members[1].name, "");
    EXPECT_EQ(d.members[1].quantityText, "3");
}

TEST(SetMembersDisplay, CountAboveTenShowsTenAndNegativeTypeIds) {
    Bytes set = ItemRecord(12, 0x51, "Big Set");
    Put32(set, 0xA8, 0xFFFFFFFF);
    for (int i = 0; i < 10; ++i) {
        Put32(set, 0xAC + 4 * i, 0xFFFFFFF0u + i);
        Put16(set, 0xD4 + 2 * i, 65535);
    }
    RecordDisplay d = Show(12, set);
    ASSERT_EQ(d.members.size(), 10u);
    EXPECT_EQ(d.members[0].typeIdText, "-16");
    EXPECT_EQ(d.members[9].typeIdText, "-7");
    EXPECT_EQ(d.members[9].quantityText, "65535");
    Put32(set, 0xA8, 0);
    EXPECT_TRUE(Show(12, set).members.empty());
}

TEST(DescriptionDisplay, LineFeedsBecomeCrLfAndFirstMatchWins) {
    TableStore store;
    AddDesc(store, 0x99, "not this one");
    AddDesc(store, 0x60, "First line\nSecond line");
    AddDesc(store, 0x60, "the duplicate");
    Add(store, 2, ItemRecord(2, 0x60, "Described"));
    Add(store, 2, ItemRecord(2, 0x61, "Undescribed"));
    EXPECT_EQ(BuildRecordDisplay(store, 2, 0).description, "First line\r\nSecond line");
    EXPECT_EQ(BuildRecordDisplay(store, 2, 1).description, "");
}

TEST(DescriptionDisplay, FullFieldWithoutNulIsBoundedBy512Bytes) {
    TableStore store;
    AddDesc(store, 0x60, std::string(512, 'd'));
    AddDesc(store, 0x64646464, "dddd"); // the next record: a read past the field would run on here
    Add(store, 2, ItemRecord(2, 0x60, "Long"));
    EXPECT_EQ(BuildRecordDisplay(store, 2, 0).description, std::string(512, 'd'));
}

TEST(DisplayBounds, NoRecordNoDisplay) {
    TableStore store;
    EXPECT_FALSE(BuildRecordDisplay(store, 1, 0).valid); // empty table
    Add(store, 1, ItemRecord(1, 1, "Cap"));
    EXPECT_TRUE(BuildRecordDisplay(store, 1, 0).valid);
    EXPECT_FALSE(BuildRecordDisplay(store, 1, 1).valid);
    EXPECT_FALSE(BuildRecordDisplay(store, 0, 0).valid); // Desc is no item table
    EXPECT_FALSE(BuildRecordDisplay(store, 14, 0).valid);
    EXPECT_FALSE(BuildRecordDisplay(store, -1, 0).valid);
}
