#include "archive/TypeIdLookup.h"
#include "archive/TypeIdFields.h"
#include "tests/records/RecordBytes.h"

#include <string>

namespace ledgrin {
namespace {

// Appends a record with TypeID at 4 and a NUL-padded name at 8 to table t.
void AddItem(TableStore& store, TableIndex t, std::uint32_t typeId, const char* name,
             std::uint32_t enabled = 1) {
    test::Bytes rec = test::Pattern(RecordSize(t));
    test::Put(rec, 0, 4, enabled);
    test::Put(rec, 4, 4, typeId);
    test::PutText(rec, 8, name, 40);
    TableSlot& slot = store[t];
    slot.Records.insert(slot.Records.end(), rec.begin(), rec.end());
    ++slot.RecordCount;
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

TEST(FindNameByTypeID, PartComesBeforeCard) {
    TableStore store;
    AddItem(store, kCardTable, 500, "Card name");
    AddItem(store, kPartTable, 500, "Part name");
    EXPECT_EQ(Found(store, 500), "Part name");
}

TEST(FindNameByTypeID, FindsATypeIDHeldOnlyByAHairStyle) {
    TableStore store;
    AddItem(store, kPartTable, 1, "Part");
    AddItem(store, kHairStyleTable, 2, "Braid");
    EXPECT_EQ(Found(store, 2), "Braid");
}

TEST(FindNameByTypeID, TakesTheFirstRecordWithinATableAndIgnoresEnabled) {
    TableStore store;
    AddItem(store, kBallTable, 9, "Hidden ball", 0);
    AddItem(store, kBallTable, 9, "Second ball");
    EXPECT_EQ(Found(store, 9), "Hidden ball");
}

TEST(FindNameByTypeID, FindsNoNameForAnAbsentTypeIDOrInTheDescTable) {
    TableStore store;
    EXPECT_EQ(Found(store, 0), "(none)");
    AddItem(store, kPartTable, 1, "Part");
    test::Bytes desc = test::Pattern(516);
    test::Put(desc, 0, 4, 0);
    store[kDescTable].Records = desc;
    store[kDescTable].RecordCount = 1;
    EXPECT_EQ(Found(store, 0), "(none)");
    EXPECT_EQ(Found(store, 2), "(none)");
}

TEST(FindNameByTypeID, ANameWithoutNulIsBoundedTo40Bytes) {
    TableStore store;
    AddItem(store, kSkinTable, 3, "");
    for (std::size_t i = 8; i < 48; ++i)
        store[kSkinTable].Records[i] = 'n';
    const auto name = FindNameByTypeID(store, 3);
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, std::string(40, 'n'));
}

TEST(FindNameByTypeID, ACountAboveTheBufferReadsOnlyWhatIsThere) {
    TableStore store;
    AddItem(store, kPartTable, 1, "Only");
    store[kPartTable].RecordCount = 40000;
    EXPECT_EQ(Found(store, 1), "Only");
    EXPECT_EQ(Found(store, 2), "(none)");
}

TEST(TypeIdFields, DecodeEachFieldByMaskAndShift) {
    // bits 18..25 all set: char 255, SetGroup 63, CardKind 15; type sees bits 18..20 only.
    const TypeIdFields a = DecodeTypeId(0x03FC0000u);
    EXPECT_EQ(a.chr, 255u);
    EXPECT_EQ(a.setGroup, 63u);
    EXPECT_EQ(a.cardKind, 15u);
    EXPECT_EQ(a.type, 28u);
    EXPECT_EQ(a.pos, 0u);
    EXPECT_EQ(a.group, 0u);

    // group 33 (bit 31 set), SetGroup 4 with pos 2, serial 0x7F; bits 8..12 are not decoded.
    const std::uint32_t id = (33u << 26) | (4u << 20) | (2u << 13) | 0x1F00u | 0x7Fu;
    const TypeIdFields b = DecodeTypeId(id);
    EXPECT_EQ(b.group, 33u);
    EXPECT_EQ(b.setGroup, 4u);
    EXPECT_EQ(b.pos, 2u);
    EXPECT_EQ(b.serial, 0x7Fu);
    EXPECT_EQ(b.chr, 16u);
    EXPECT_EQ(b.cardKind, 1u);
    EXPECT_EQ(b.type, 0u);
    EXPECT_LT(static_cast<std::int32_t>(id), 0);
}

} // namespace
} // namespace ledgrin
