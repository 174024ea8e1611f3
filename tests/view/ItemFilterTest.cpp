#include "view/ItemFilter.h"
#include "records/NameSearch.h"

#include "Fixtures.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace ledgrin;
using namespace fixtures;

namespace {

// Table indexes written out, independent of the code's names.
constexpr int kPart = 1, kItem = 2, kClubSet = 3, kSkin = 7, kHairStyle = 10, kSetItem = 12, kCard = 13;

FilterState State(int charFilter, int typeFilter, bool shopOnly = false, const std::string& search = "") {
    FilterState s;
    s.charFilter = charFilter;
    s.typeFilter = typeFilter;
    s.shopOnly = shopOnly;
    s.search = search;
    return s;
}

using Rows = std::vector<std::uint32_t>;

} // namespace

TEST(RecordFilter, EachTableComparesItsFilterValuesWithItsOwnRecordValues) {
    // A record (table, TypeID, a further field at offset with width and value; width 0
    // none) and the filter rows it meets: {item data of the rows chosen in 10014 and 10015
    // (0 the first row, -1 none chosen), " Shop active", listed}. A filter value is the
    // item data - 1, times 128 for Item and 16 for Skin.
    struct Case {
        int t;
        std::uint32_t typeId;
        int off, width;
        std::uint32_t value;
        std::vector<std::tuple<long, long, bool, bool>> rows;
    };
    const std::uint32_t set = (4u << 20) | (3u << 13) | 1; // SetGroup 4 (bits 20..25), pos 3 (13..17)
    const Case cases[] = {
        {kItem, 0x00000011, 0, 0, 0, {{1, 4, false, true}}},                         // char 0: "Active"
        {kItem, 0x02000012, 0, 0, 0, {{2, -1, false, true}, {1, -1, false, false}}}, // 128: "Passive"
        {kItem, 0x02040013, 0, 0, 0, {{1, -1, false, false}, {2, -1, false, false}, {0, -1, false, true}}},
        {kSkin, 80u << 18, 0, 0, 0, {{6, -1, false, true}, {5, -1, false, false}}}, // kind 5
        {kSkin, 81u << 18, 0, 0, 0, {{6, -1, false, false}}},                       // no kind
        {kPart, 3u << 18, 0xD0, 4, 2, {{4, 3, false, true}, {5, 0, false, false}, {0, 4, false, false}}},
        {kPart, 3u << 18, 0xD0, 4, 2, {{-1, -1, false, true}}},
        {kHairStyle, 0x44, 0xA9, 1, 2, {{3, -1, false, true}, {2, -1, false, false}}}, // CharacterIndex
        {kSetItem, set, 0, 0, 0, {{4, 5, false, true}, {3, 0, false, false}, {0, 10, false, false}}},
        {kCard, 2u << 22, 0x15A, 2, 3, {{3, 4, false, true}, {4, 0, false, false}, {0, 1, false, false}}},
        {kClubSet, 0x00FC0000, 0, 0, 0, {{8, 8, false, true}}}, // no filters: rows ignored
        {kPart, 1, 0x00, 4, 0, {{0, 0, false, false}}},         // Enabled 0: never listed
        {kPart, 1, 0x00, 4, 0x01000000, {{0, 0, false, true}}},
        {kClubSet, 1, 0x68, 1, 0x80, {{0, 0, true, true}}}, // ShopFlags bit 7 " Display only"
        {kClubSet, 1, 0x68, 1, 0x20, {{0, 0, true, true}}}, // bit 5 " Avail. in Shop"
        {kClubSet, 1, 0x68, 1, 0x5F, {{0, 0, true, false}}}};
    for (const Case& c : cases) {
        Bytes r = ItemRecord(c.t, c.typeId, "Linen Cap");
        if (c.width) Put(r, c.off, c.width, c.value);
        for (auto [charRow, typeRow, shop, listed] : c.rows) {
            FilterState state = State(CharFilterValue(c.t, charRow), TypeFilterValue(c.t, typeRow), shop);
            EXPECT_EQ(RecordPasses(c.t, r.data(), state), listed)
                << "table " << c.t << " TypeID " << std::hex << c.typeId << std::dec << " rows " << charRow
                << " " << typeRow;
        }
    }
}

TEST(RecordFilter, SearchUsesTheFirst38CharactersAndTheNameStopsAt40Bytes) {
    const std::string name(38, 'q');
    Bytes r = ItemRecord(kPart, 1, name);
    EXPECT_TRUE(RecordPasses(kPart, r.data(), State(-1, -1, false, name + "zz"))); // typed 40, used 38
    EXPECT_FALSE(RecordPasses(kPart, r.data(), State(-1, -1, false, std::string(37, 'q') + "z")));

    PutText(r, 0x08, std::string(40, 'A'), 40); // no NUL
    Put(r, 0x30, 1, 'B');                       // the Level byte right behind the name
    EXPECT_TRUE(RecordPasses(kPart, r.data(), State(-1, -1, false, std::string(38, 'a'))));
    EXPECT_FALSE(RecordPasses(kPart, r.data(), State(-1, -1, false, "ab")));
}

TEST(SearchText, FoldsOnlyAToZAndStopsAtTheNul) {
    // Bytes from 0x80 are compared as they are (no Latin-1 folding); '@' and '`', '[' and
    // '{' differ by 0x20 but are no letters.
    const std::optional<std::size_t> none;
    const std::tuple<std::string, const char*, std::optional<std::size_t>> cases[] = {
        {"Club", "club", 0},      {"Iron CLUB", "CLub", 5}, {"\xC9t\xE9", "\xE9t\xE9", none},
        {"\xC1", "\xE1", none},   {"Caf\xE9", "\xE9", 3},   {"@home", "`home", none},
        {"[box]", "{box}", none}, {"Breeze Polo", "", 0},   {"", "", 0},
        {"", "a", none},          {"Polo", "Polos", none},  {"aab", "ab", 1}};
    for (auto [text, pattern, at] : cases)
        EXPECT_EQ(FindTextNoCase(text, pattern), at) << text << " / " << pattern;
    EXPECT_EQ(FindTextNoCase(std::string_view("Po\0lo", 5), "lo"), none); // the text ends at its NUL
}

class ListOrder : public ::testing::Test {
  protected:
    void SetUp() override {
        Add(store, kPart, ItemRecord(kPart, 0xFFFFFFFFu, "mallet")); // 0: the largest TypeID
        Add(store, kPart, ItemRecord(kPart, 5, "_Spare"));           // 1: '_' sorts before letters
        Add(store, kPart, ItemRecord(kPart, 0x80000000u, "Birdie")); // 2
        Add(store, kPart, ItemRecord(kPart, 1, "\xE9quipe"));        // 3: 0xE9 sorts after 'z'
        Add(store, kPart, ItemRecord(kPart, 7, "ZEBRA"));            // 4
    }
    Rows Sorted(int column, std::uint32_t bits) {
        Rows rows = {0, 1, 2, 3, 4};
        SortRows(rows, store, kPart, column, bits);
        return rows;
    }
    TableStore store;
};

TEST_F(ListOrder, TypeIdDescendsUnsignedNamesAscendAndBitCReversesColumnC) {
    EXPECT_EQ(CompareListRows(store, kPart, 3, 0, 0, 0), 1); // first TypeID smaller: +1
    EXPECT_EQ(CompareListRows(store, kPart, 3, 0, 0, 1), -1);
    EXPECT_EQ(CompareListRows(store, kPart, 2, 2, 0, 0), 0);
    // Column clicks as the user sees them, then bits of other columns.
    EXPECT_EQ(Sorted(0, 1), Rows({3, 1, 4, 2, 0})); // first click on "TypeID": ascending
    EXPECT_EQ(Sorted(1, 3), Rows({3, 4, 0, 2, 1})); // then "Name": Z to A
    EXPECT_EQ(Sorted(0, 2), Rows({0, 2, 4, 1, 3})); // "TypeID" again: 0xFFFFFFFF first; bit 1 leaves column 0
    EXPECT_EQ(Sorted(1, 1), Rows({1, 2, 0, 4, 3})); // bit 0 leaves column 1
    EXPECT_EQ(Sorted(2, 4), Rows({3, 4, 0, 2, 1})); // the member list's "Qty": by name, bit 2
}
