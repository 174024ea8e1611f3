// The TypeID indexes: every record of a TypeID in index order, records appended later,
// and records of two stores paired k-th with k-th.
#include "CliTestSupport.h"

#include "cli/RecordIndex.h"
#include "records/DescRecord.h"

#include <cstring>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

std::vector<std::size_t> List(RecordList records) {
    return {records.begin(), records.end()};
}

void SetTypeId(TableStore& store, std::size_t index, std::uint32_t typeId) {
    Put(store, kPartTable, index, 0x04, 4, typeId);
}

} // namespace

TEST(TypeIdIndex, FindsEveryRecordOfATypeIdInIndexOrderAndRecordsAddedLater) {
    TableStore store = SmallDemoTables();
    ASSERT_GE(store[kPartTable].RecordCount, 6u);
    const std::uint32_t shared = Get(store, kPartTable, 0, 0x04, 4), one = Get(store, kPartTable, 1, 0x04, 4);
    SetTypeId(store, 5, shared);
    SetTypeId(store, 2, shared);
    SetTypeId(store, 3, 0); // the lowest and the highest TypeID are keys like any other
    SetTypeId(store, 4, 0xFFFFFFFFu);
    TypeIdIndex index(store, kPartTable);
    EXPECT_EQ(List(index.Find(shared)), (std::vector<std::size_t>{0, 2, 5}));
    EXPECT_EQ(List(index.Find(one)), (std::vector<std::size_t>{1}));
    EXPECT_EQ(List(index.Find(0)), (std::vector<std::size_t>{3}));
    EXPECT_EQ(List(index.Find(0xFFFFFFFFu)), (std::vector<std::size_t>{4}));
    EXPECT_TRUE(index.Find(12345).empty());

    // Enough new TypeIDs to outgrow the table the index started with.
    const std::size_t count = store[kPartTable].RecordCount;
    for (std::uint32_t k = 0; k < 5000; ++k)
        index.Add(0x40000000u + k * 0x10000u, count + k);
    index.Add(shared, 90000);
    EXPECT_EQ(List(index.Find(shared)), (std::vector<std::size_t>{0, 2, 5, 90000}));
    EXPECT_EQ(List(index.Find(one)), (std::vector<std::size_t>{1}));
    for (std::uint32_t k = 0; k < 5000; ++k)
        ASSERT_EQ(List(index.Find(0x40000000u + k * 0x10000u)), (std::vector<std::size_t>{count + k})) << k;
    std::size_t listed = 0;
    for (const auto& [typeId, records] : index.All())
        listed += records.size();
    EXPECT_EQ(listed, count + 5001);
}

TEST(PairByTypeId, PairsTheKthRecordOfATypeIdWithTheKthInTheOtherStore) {
    TableStore a = SmallDemoTables();
    ASSERT_GE(a[kPartTable].RecordCount, 6u);
    const std::uint32_t shared = Get(a, kPartTable, 0, 0x04, 4);
    SetTypeId(a, 3, shared);
    // In the same order: each record with its own index.
    RecordPairs same = PairByTypeId(a, a, kPartTable);
    for (std::size_t i = 0; i < same.partner.size(); ++i)
        EXPECT_EQ(same.partner[i], i);
    EXPECT_TRUE(same.onlyB.empty());

    // b: records 0 and 1 swapped, record 3 (the second of `shared`) moved to 5, and record 4
    // under a TypeID a does not have.
    TableStore b = a;
    const std::size_t size = RecordSize(kPartTable);
    const auto copy = [&](std::size_t to, std::size_t from) {
        std::memcpy(b.Record(kPartTable, to), a.Record(kPartTable, from), size);
    };
    copy(0, 1);
    copy(1, 0);
    copy(5, 3);
    copy(3, 5);
    SetTypeId(b, 4, 0x7FFFFFF0u);
    const RecordPairs pairs = PairByTypeId(a, b, kPartTable);
    std::vector<std::size_t> expected(a[kPartTable].RecordCount);
    for (std::size_t i = 0; i < expected.size(); ++i)
        expected[i] = i;
    expected[0] = 1, expected[1] = 0, expected[3] = 5, expected[5] = 3, expected[4] = RecordPairs::kUnpaired;
    EXPECT_EQ(pairs.partner, expected);
    EXPECT_EQ(pairs.onlyB, (std::vector<std::size_t>{4}));
}

TEST(DescIndex, FindsTheFirstDescriptionOfATypeIdAndKeepsItWhenAnotherIsAdded) {
    TableStore store = SmallDemoTables();
    const std::size_t count = store[kDescTable].RecordCount;
    ASSERT_GE(count, 3u);
    const std::uint32_t id = Get(store, kDescTable, 0, 0, 4);
    test::Put(store[kDescTable].Records, 2 * 516, 4, id); // record 2: a second description of it
    DescIndex index(store);
    EXPECT_EQ(index.Find(id), 0u);
    const std::string text = reinterpret_cast<const char*>(store.Record(kDescTable, 0) + 4); // to its NUL
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(index.TextOf(id), text);
    index.Add(id, 70000);
    index.Add(0x7FFFFFF0u, 70001);
    EXPECT_EQ(index.Find(id), 0u);
    EXPECT_EQ(index.Find(0x7FFFFFF0u), 70001u);
    EXPECT_EQ(index.Find(0x7FFFFFF1u), kNoDescription);
    EXPECT_EQ(index.TextOf(0x7FFFFFF1u), "");
}
