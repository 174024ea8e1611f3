#include "view/RecordDisplay.h"

#include "Fixtures.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace ledgrin;
using namespace fixtures;

// The values themselves are ReadRecordValues', tested with the records; here what the
// display adds to them.
TEST(HeadDisplay, TypeIdTextDescriptionAndLines) {
    TableStore store;
    AddDesc(store, 0x84146A07, "First line\nSecond line");
    Add(store, 2, ItemRecord(2, 1, "Undescribed"));
    // 0x84146A07: group 33 (bits 26..31), char 5 (18..25), type 20 (16..20), pos 3 (13..17), serial 7.
    Add(store, 2, ItemRecord(2, 0x84146A07, "Lucky Coin"));
    RecordDisplay d = BuildRecordDisplay(store, 2, 1);
    EXPECT_EQ(d.typeIdText, "2215930375"); // unsigned in the TypeID box
    EXPECT_EQ(d.description, "First line\r\nSecond line");
    EXPECT_EQ(BuildRecordDisplay(store, 2, 0).description, "");
    EXPECT_EQ(d.clickedLine, "Entry clicked: 1 (-2079036921, Lucky Coin)\n");
    EXPECT_EQ(d.fieldsLine, "char 5 group 33 type 20 pos 3 serial 7\n");
}

TEST(CharacterBox, PerTableCodeAndCodesWithoutLabel) {
    // {table, TypeID, HairStyle CharacterIndex at 0xA9, label}. Part: char (TypeID bits
    // 18..25) 3, 255 none, 20 past the list, 13 blank. SetItem: pos (bits 13..17) only when
    // SetGroup (bits 20..25) is 2 or 4: group 4 pos 2, group 2 pos 6, group 9 pos 2, group
    // 4 pos 31. Other tables never show one (ClubSet with char 3).
    const std::tuple<int, std::uint32_t, int, const char*> cases[] = {{1, 0x000C0000, 0, "Delphine"},
                                                                      {1, 0x03FC0000, 0, ""},
                                                                      {1, 0x00500000, 0, ""},
                                                                      {1, 0x00340000, 0, ""},
                                                                      {10, 0x30, 2, "Caspian"},
                                                                      {10, 0x30, 255, ""},
                                                                      {10, 0x30, 15, ""},
                                                                      {12, 0x00404000, 0, "Caspian"},
                                                                      {12, 0x0020C000, 0, "Gideon"},
                                                                      {12, 0x00904000, 0, ""},
                                                                      {12, 0x0043E000, 0, ""},
                                                                      {3, 0x000C0000, 0, ""}};
    for (auto [t, typeId, hair, label] : cases) {
        TableStore store;
        Add(store, t, ItemRecord(t, typeId, "Cap"));
        if (t == 10) store[t].Records[0xA9] = static_cast<std::uint8_t>(hair);
        EXPECT_EQ(BuildRecordDisplay(store, t, 0).characterText, label) << t << " " << std::hex << typeId;
    }
}

// Names are looked up in the item tables' fixed order (Ball before Card); a MemberCount
// above ten lists ten.
TEST(SetMembersDisplay, RowTextsNamesAndQuantities) {
    TableStore store;
    Add(store, 13, ItemRecord(13, 100, "Comet Card"));
    Add(store, 4, ItemRecord(4, 100, "Comet Ball"));
    Bytes set = ItemRecord(12, 0x50, "Starter Set");
    Put(set, 0xA8, 4, 11);         // MemberCount
    Put(set, 0xAC, 4, 100);        // member 0: the ball
    Put(set, 0xB0, 4, 0xFFFFFFF0); // member 1: held by no record
    Put(set, 0xD4, 2, 0);          // quantity 0 shows as 1
    Put(set, 0xD6, 2, 65535);
    Add(store, 12, set);
    RecordDisplay d = BuildRecordDisplay(store, 12, 0);
    ASSERT_TRUE(d.isSetItem);
    ASSERT_EQ(d.members.size(), 10u);
    EXPECT_EQ(d.members[0].typeIdText + d.members[0].name + "/" + d.members[0].quantityText,
              "100Comet Ball/1");
    EXPECT_EQ(d.members[1].typeIdText + d.members[1].name + "/" + d.members[1].quantityText, "-16/65535");
}
