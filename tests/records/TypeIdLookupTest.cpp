#include "archive/TypeIdLookup.h"
#include "tests/records/RecordBytes.h"

#include <string>

namespace ledgrin {
namespace {

// Appends a record with Enabled at 0, TypeID at 4 and a NUL-padded name at 8 to table t.
void AddItem(TableStore& store, TableIndex t, std::uint32_t typeId, const char* name,
             std::uint32_t enabled = 1) {
    test::Bytes rec = test::Pattern(RecordSize(t));
    test::Put(rec, 0, 4, enabled);
    test::Put(rec, 4, 4, typeId);
    test::PutText(rec, 8, name, 40);
    store[t].Records.insert(store[t].Records.end(), rec.begin(), rec.end());
    ++store[t].RecordCount;
}

std::string Found(const TableStore& store, std::uint32_t typeId) {
    const auto name = FindNameByTypeID(store, typeId);
    return name ? std::string(*name) : "(none)";
}

TEST(FindNameByTypeID, SearchesTheItemTablesInTheirFixedOrder) {
    const TableIndex order[] = {kPartTable,      kItemTable,       kClubSetTable, kBallTable, kCharacterTable,
                                kCardTable,      kMascotTable,     kCaddieTable,  kSkinTable, kAuxPartTable,
                                kHairStyleTable, kCaddieItemTable, kSetItemTable};
    TableStore store;
    for (TableIndex t : order) {
        AddItem(store, t, 1, "other");
        AddItem(store, t, 77, EntryName(t));
    }
    // Empty the tables one by one from the front: each time the next table in order answers.
    for (TableIndex t : order) {
        EXPECT_EQ(Found(store, 77), EntryName(t));
        store[t] = TableSlot{};
    }
    EXPECT_EQ(Found(store, 77), "(none)");
}

TEST(FindNameByTypeID, TakesTheFirstMatchWhateverItsEnabledWordOrNoneWhenAbsent) {
    TableStore store;
    EXPECT_EQ(Found(store, 0), "(none)");
    AddItem(store, kCardTable, 500, "Card name");
    AddItem(store, kPartTable, 500, "Part name");
    AddItem(store, kHairStyleTable, 2, "Braid");
    AddItem(store, kBallTable, 9, "Hidden ball", 0);
    AddItem(store, kBallTable, 9, "Second ball");
    AddItem(store, kSkinTable, 3, "");
    std::fill(store[kSkinTable].Records.begin() + 8, store[kSkinTable].Records.begin() + 48, 'n'); // no NUL
    store[kDescTable].Records = test::Bytes(516, 0); // a Desc record with TypeID 0 is no item
    store[kDescTable].RecordCount = 1;
    EXPECT_EQ(Found(store, 500), "Part name");
    EXPECT_EQ(Found(store, 2), "Braid");
    EXPECT_EQ(Found(store, 9), "Hidden ball");
    EXPECT_EQ(Found(store, 3), std::string(40, 'n'));
    EXPECT_EQ(Found(store, 0), "(none)");
    EXPECT_EQ(Found(store, 4), "(none)");
    store[kPartTable].RecordCount = 40000; // a count above the buffer reads only what is there
    EXPECT_EQ(Found(store, 500), "Part name");
    EXPECT_EQ(Found(store, 4), "(none)");
}

} // namespace
} // namespace ledgrin
