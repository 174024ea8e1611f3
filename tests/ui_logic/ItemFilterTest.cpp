#include "ui/ItemFilter.h"

#include "Fixtures.h"
#include "ui/Labels.h"

#include <gtest/gtest.h>

using namespace ledgrin;
using namespace fixtures;

namespace {

// Table indexes written out, independent of the code's names.
constexpr int kPart = 1, kItem = 2, kClubSet = 3, kSkin = 7, kHairStyle = 10, kSetItem = 12, kCard = 13;

FilterState Chars(int value) {
    FilterState s;
    s.charFilter = value;
    return s;
}

FilterState Types(int value) {
    FilterState s;
    s.typeFilter = value;
    return s;
}

FilterState Search(const std::string& text) {
    FilterState s;
    s.search = text;
    return s;
}

bool Passes(int t, const Bytes& record, const FilterState& state) {
    return RecordPasses(t, record.data(), state);
}

std::vector<std::uint32_t> Rows(std::initializer_list<std::uint32_t> list) {
    return list;
}

} // namespace

TEST(FilterValues, ComboItemDataMinusOneScaledPerTable) {
    // Item kinds are 128 apart in char, Skin kinds 16 apart; the others use the position.
    EXPECT_EQ(CharFilterValue(kItem, 1), 0);    // "Active"
    EXPECT_EQ(CharFilterValue(kItem, 2), 128);  // "Passive"
    EXPECT_EQ(CharFilterValue(kItem, 0), -128); // "(All Items)": off
    EXPECT_EQ(CharFilterValue(kSkin, 7), 96);   // "Title", position 6
    EXPECT_EQ(CharFilterValue(kSkin, 0), -16);  // "(All Skins)": off
    EXPECT_EQ(CharFilterValue(kPart, 16), 15);  // a character
    EXPECT_EQ(CharFilterValue(kHairStyle, 3), 2);
    EXPECT_EQ(CharFilterValue(kSetItem, 1), 0);
    EXPECT_EQ(CharFilterValue(kCard, 6), 5);
    EXPECT_EQ(TypeFilterValue(kPart, 9), 8);      // "Selfdesign"
    EXPECT_EQ(TypeFilterValue(kSetItem, 18), 17); // "Card Holic"
    EXPECT_EQ(TypeFilterValue(kCard, 5), 4);      // "Volume 4"
}

TEST(FilterValues, NoSelectionAndTablesWithoutFilterAreOff) {
    EXPECT_LT(CharFilterValue(kPart, -1), 0); // combo without a selected row
    EXPECT_LT(TypeFilterValue(kCard, -1), 0);
    EXPECT_LT(CharFilterValue(kItem, -1), 0);
    for (int t : {3, 4, 5, 6, 8, 9, 11}) {
        EXPECT_EQ(CharFilterValue(t, 5), -1) << t;
        EXPECT_EQ(TypeFilterValue(t, 5), -1) << t;
        EXPECT_FALSE(TableHasCharFilter(t)) << t;
        EXPECT_FALSE(TableHasTypeFilter(t)) << t;
    }
    for (int t : {kItem, kSkin, kHairStyle}) {
        EXPECT_TRUE(TableHasCharFilter(t)) << t;
        EXPECT_EQ(TypeFilterValue(t, 3), -1) << t;
    }
}

TEST(ItemKindFilter, PassiveIsExactlyChar128AndChar129MatchesNeither) {
    Bytes active = ItemRecord(kItem, 0x00000011, "Tee Kit");     // char 0
    Bytes passive = ItemRecord(kItem, 0x02000012, "Lucky Coin"); // bit 25: char 128
    Bytes odd = ItemRecord(kItem, 0x02040013, "Odd Coin");       // bits 25 and 18: char 129
    FilterState activeRow = Chars(CharFilterValue(kItem, 1));
    FilterState passiveRow = Chars(CharFilterValue(kItem, 2));
    EXPECT_TRUE(Passes(kItem, active, activeRow));
    EXPECT_FALSE(Passes(kItem, passive, activeRow));
    EXPECT_FALSE(Passes(kItem, active, passiveRow));
    EXPECT_TRUE(Passes(kItem, passive, passiveRow));
    EXPECT_FALSE(Passes(kItem, odd, activeRow));
    EXPECT_FALSE(Passes(kItem, odd, passiveRow));
    EXPECT_TRUE(Passes(kItem, odd, Chars(CharFilterValue(kItem, 0))));
}

TEST(SkinKindFilter, KindsAreSixteenApartInChar) {
    Bytes cutIn = ItemRecord(kSkin, 80u << 18 | 1, "Sunset CutIn"); // char 80: kind 5
    Bytes stray = ItemRecord(kSkin, 81u << 18 | 2, "Stray Skin");   // char 81: no kind
    FilterState cutInRow = Chars(CharFilterValue(kSkin, 6));        // data 6 = position 5
    EXPECT_TRUE(Passes(kSkin, cutIn, cutInRow));
    EXPECT_FALSE(Passes(kSkin, stray, cutInRow));
    EXPECT_FALSE(Passes(kSkin, cutIn, Chars(CharFilterValue(kSkin, 5))));
}

TEST(SetItemFilters, CharacterFromPosAndTypeFromSetGroup) {
    // pos 3 (bits 13..17) and SetGroup 4 (bits 20..25); the second set has SetGroup 9.
    Bytes partSet = ItemRecord(kSetItem, (4u << 20) | (3u << 13) | 1, "Part Set");
    Bytes clubSet = ItemRecord(kSetItem, (9u << 20) | (3u << 13) | 2, "Club Set");
    EXPECT_TRUE(Passes(kSetItem, partSet, Chars(3)));
    EXPECT_TRUE(Passes(kSetItem, clubSet, Chars(3))); // the char filter applies to every group
    EXPECT_FALSE(Passes(kSetItem, partSet, Chars(2)));
    EXPECT_TRUE(Passes(kSetItem, partSet, Types(TypeFilterValue(kSetItem, 5)))); // "Part"
    EXPECT_FALSE(Passes(kSetItem, clubSet, Types(TypeFilterValue(kSetItem, 5))));
    EXPECT_TRUE(Passes(kSetItem, clubSet, Types(TypeFilterValue(kSetItem, 10)))); // "Clubset"
}

TEST(CardFilters, KindFromTypeIdAndVolumeFromRecord) {
    Bytes card = ItemRecord(kCard, (2u << 22) | 5, "Gust Card"); // CardKind 2
    Put16(card, 0x15A, 3);                                       // Volume 3
    EXPECT_TRUE(Passes(kCard, card, Chars(2)));
    EXPECT_FALSE(Passes(kCard, card, Chars(3)));
    EXPECT_TRUE(Passes(kCard, card, Types(3)));
    EXPECT_FALSE(Passes(kCard, card, Types(0)));
}

TEST(PartFilters, CharacterAndSlot) {
    Bytes part = ItemRecord(kPart, (3u << 18) | 7, "Linen Cap"); // char 3
    Put32(part, 0xD0, 2);                                        // PartSlot 2 "Hair/Hat"
    EXPECT_TRUE(Passes(kPart, part, Chars(3)));
    EXPECT_FALSE(Passes(kPart, part, Chars(4)));
    EXPECT_TRUE(Passes(kPart, part, Types(2)));
    EXPECT_FALSE(Passes(kPart, part, Types(3)));
}

TEST(PartFilters, SlotSevenIsListedOnlyUnderAllTypes) {
    Bytes part = ItemRecord(kPart, 9, "Blank Slot Part");
    Put32(part, 0xD0, 7); // position 7 of the slot labels is blank
    for (const FilterRow& row : FilterRows("(All Types)", kPartSlotLabels)) {
        bool listed = Passes(kPart, part, Types(TypeFilterValue(kPart, row.data)));
        EXPECT_EQ(listed, row.data == 0) << row.text;
    }
}

TEST(HairStyleFilter, CharacterIndexByte) {
    Bytes hair = ItemRecord(kHairStyle, 0x44, "Wavy Crop");
    Put8(hair, 0xA9, 2);
    EXPECT_TRUE(Passes(kHairStyle, hair, Chars(CharFilterValue(kHairStyle, 3))));
    EXPECT_FALSE(Passes(kHairStyle, hair, Chars(CharFilterValue(kHairStyle, 2))));
}

TEST(RecordFilter, DisabledRecordIsNeverListed) {
    Bytes part = ItemRecord(kPart, 0, "Hidden Cap");
    Put32(part, 0x00, 0);
    Put8(part, 0x68, 0x20);
    EXPECT_FALSE(Passes(kPart, part, FilterState{}));
    EXPECT_FALSE(Passes(kPart, part, Chars(0)));
    Put32(part, 0x00, 0x01000000); // any non-zero word counts as enabled
    EXPECT_TRUE(Passes(kPart, part, FilterState{}));
}

TEST(RecordFilter, ShopActiveKeepsAvailableOrDisplayOnly) {
    FilterState shop;
    shop.shopOnly = true;
    Bytes r = ItemRecord(kClubSet, 1, "Granite Driver");
    const std::pair<int, bool> cases[] = {
        {0x80, true}, {0x20, true}, {0xA0, true}, {0x40, false}, {0x1F, false}};
    for (auto [flags, listed] : cases) {
        Put8(r, 0x68, flags);
        EXPECT_EQ(Passes(kClubSet, r, shop), listed) << flags;
        EXPECT_TRUE(Passes(kClubSet, r, FilterState{})) << flags;
    }
}

TEST(RecordFilter, FilterOfATableWithoutItIsIgnored) {
    Bytes r = ItemRecord(kClubSet, 0x00FC0000, "Granite Driver");
    EXPECT_TRUE(Passes(kClubSet, r, Chars(7)));
    EXPECT_TRUE(Passes(kClubSet, r, Types(7)));
}

TEST(SearchText, FoldsOnlyAToZ) {
    EXPECT_EQ(FindTextNoCase("Club", "club"), 0u);
    EXPECT_EQ(FindTextNoCase("Iron CLUB", "club"), 5u);
    EXPECT_EQ(FindTextNoCase("Iron CLUB", "CLub"), 5u);
    EXPECT_FALSE(FindTextNoCase("\xC9t\xE9", "\xE9t\xE9")); // É and é differ
    EXPECT_EQ(FindTextNoCase("Caf\xE9", "\xE9"), 3u);       // bytes from 0x80 as they are
    EXPECT_FALSE(FindTextNoCase("@home", "`home"));         // 0x40 and 0x60 are no letters
    EXPECT_FALSE(FindTextNoCase("[box]", "{box}"));
    EXPECT_FALSE(FindTextNoCase("\xC1", "\xE1")); // not folded as Latin-1
}

TEST(SearchText, PositionsAndBounds) {
    EXPECT_EQ(FindTextNoCase("Breeze Polo", ""), 0u);
    EXPECT_EQ(FindTextNoCase("", ""), 0u);
    EXPECT_FALSE(FindTextNoCase("", "a"));
    EXPECT_EQ(FindTextNoCase("Breeze Polo", "polo"), 7u);
    EXPECT_FALSE(FindTextNoCase("Polo", "Polos"));
    EXPECT_EQ(FindTextNoCase("aab", "ab"), 1u);
    EXPECT_FALSE(FindTextNoCase(std::string_view("Po\0lo", 5), "lo")); // the text ends at its NUL
}

TEST(SearchText, OnlyTheFirst38CharactersAreUsed) {
    std::string name(38, 'q');
    Bytes r = ItemRecord(kPart, 1, name);
    EXPECT_TRUE(Passes(kPart, r, Search(name + "zz"))); // typed 40, used 38
    EXPECT_FALSE(Passes(kPart, r, Search(std::string(37, 'q') + "z")));
    EXPECT_EQ(FilterLine(Search(name + "zz")), "Filter: \"" + name + "\" - Char: -1 - Type: -1\n");
}

TEST(SearchText, NameWithoutNulIsBoundedBy40Bytes) {
    Bytes r = ItemRecord(kPart, 1, "");
    for (std::size_t i = 0; i < 40; ++i)
        Put8(r, 0x08 + i, 'A');
    Put8(r, 0x30, 'B'); // the Level byte right behind the name
    EXPECT_TRUE(Passes(kPart, r, Search(std::string(40, 'a').substr(0, 38))));
    EXPECT_FALSE(Passes(kPart, r, Search("ab")));
}

TEST(FilterLineText, FormatsSearchAndValues) {
    FilterState s = Search("club");
    s.charFilter = -128;
    s.typeFilter = 4;
    EXPECT_EQ(FilterLine(s), "Filter: \"club\" - Char: -128 - Type: 4\n");
    EXPECT_EQ(FilterLine(Search("100%s")), "Filter: \"100%s\" - Char: -1 - Type: -1\n");
}

TEST(TypeIdColumn, ShowsTheSignedValue) {
    EXPECT_EQ(TypeIdText(0xFFFFFFFFu), "-1");
    EXPECT_EQ(TypeIdText(0x80000000u), "-2147483648");
    EXPECT_EQ(TypeIdText(0x7FFFFFFFu), "2147483647");
    EXPECT_EQ(TypeIdText(0), "0");
}

class ListOrder : public ::testing::Test {
  protected:
    void SetUp() override {
        // Record index: TypeID, name.
        Add(store, kPart, ItemRecord(kPart, 0xFFFFFFFFu, "mallet")); // 0: largest TypeID, shows -1
        Add(store, kPart, ItemRecord(kPart, 5, "_Spare"));           // 1: '_' sorts before letters
        Add(store, kPart, ItemRecord(kPart, 0x80000000u, "Birdie")); // 2
        Add(store, kPart,
            ItemRecord(kPart, 1,
                       "\xE9"
                       "clair"));                         // 3: 0xE9 sorts after 'z'
        Add(store, kPart, ItemRecord(kPart, 7, "ZEBRA")); // 4
    }
    int Compare(std::uint32_t a, std::uint32_t b, int column, std::uint32_t bits) {
        return CompareListRows(store, kPart, a, b, column, bits);
    }
    std::vector<std::uint32_t> Sorted(int column, std::uint32_t bits) {
        std::vector<std::uint32_t> rows = {0, 1, 2, 3, 4};
        SortRows(rows, store, kPart, column, bits);
        return rows;
    }
    TableStore store;
};

TEST_F(ListOrder, TypeIdColumnIsDescendingAndUnsigned) {
    EXPECT_EQ(Compare(3, 0, 0, 0), 1);  // first smaller: +1
    EXPECT_EQ(Compare(0, 3, 0, 0), -1); // 0xFFFFFFFF is the largest, not -1
    EXPECT_EQ(Compare(2, 2, 0, 0), 0);
    EXPECT_EQ(Compare(3, 0, 0, 1), -1); // bit 0 reverses column 0
    EXPECT_EQ(Compare(3, 0, 0, 2), 1);  // bit 1 does not
    EXPECT_EQ(Sorted(0, 0), Rows({0, 2, 4, 1, 3}));
    EXPECT_EQ(Sorted(0, 1), Rows({3, 1, 4, 2, 0}));
}

TEST_F(ListOrder, NameColumnFoldsOnlyAToZAndComparesUnsigned) {
    EXPECT_LT(Compare(1, 2, 1, 0), 0); // "_Spare" before "Birdie"
    EXPECT_GT(Compare(3, 4, 1, 0), 0); // "\xE9clair" after "ZEBRA"
    EXPECT_LT(Compare(2, 0, 1, 0), 0); // "Birdie" before "mallet"
    EXPECT_GT(Compare(2, 0, 1, 2), 0); // bit 1 reverses
    EXPECT_LT(Compare(2, 0, 1, 1), 0); // bit 0 does not
    EXPECT_EQ(Sorted(1, 0), Rows({1, 2, 0, 4, 3}));
    EXPECT_EQ(Sorted(1, 2), Rows({3, 4, 0, 2, 1}));
    // A click on the member list's third column sorts the item list by name with bit 2.
    EXPECT_EQ(Sorted(2, 4), Rows({3, 4, 0, 2, 1}));
}

TEST_F(ListOrder, ColumnClicksAsTheUserSeesThem) {
    std::uint32_t bits = 0; // a fresh list: A to Z
    bits ^= 1u;             // first click on "TypeID": ascending
    EXPECT_EQ(Sorted(0, bits), Rows({3, 1, 4, 2, 0}));
    bits ^= 2u; // first click on "Name": Z to A
    EXPECT_EQ(Sorted(1, bits), Rows({3, 4, 0, 2, 1}));
    bits ^= 1u; // "TypeID" again: descending
    EXPECT_EQ(Sorted(0, bits), Rows({0, 2, 4, 1, 3}));
}

TEST(ListRowsRefill, EqualNamesKeepIndexOrderAndOnlyPassingRowsAppear) {
    TableStore store;
    Add(store, kItem, ItemRecord(kItem, 1, "Tee"));
    Add(store, kItem, ItemRecord(kItem, 2, "tee"));
    Bytes off = ItemRecord(kItem, 3, "Ace");
    Put32(off, 0x00, 0);
    Add(store, kItem, off);
    Add(store, kItem, ItemRecord(kItem, 4, "Ball Bag"));
    Add(store, kItem, ItemRecord(kItem, 5, "TEE"));
    testing::internal::CaptureStdout();
    ListRowsResult result = ListRows(store, kItem, Search("e"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Filter: \"e\" - Char: -1 - Type: -1\n");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.rows, Rows({0, 1, 4})); // "Ball Bag" has no e; "Ace" is disabled
    EXPECT_EQ(FilterRecords(store, kItem, FilterState{}), Rows({0, 1, 3, 4}));
}

TEST(ListRowsRefill, EmptyTableStillPrintsTheLine) {
    TableStore store;
    testing::internal::CaptureStdout();
    ListRowsResult result = ListRows(store, kSkin, Chars(CharFilterValue(kSkin, 0)));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Filter: \"\" - Char: -16 - Type: -1\n");
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.rows.empty());
}
