// Import planning on the demo tables: which record a row names, and the description rules.
#include "CliTestSupport.h"

#include "cli/ImportPlan.h"

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

// Desc records: TypeID at 0, text at 4 (512 bytes), 516 in all.
class ImportPlanTest : public testing::Test {
  protected:
    TableStore store = SmallDemoTables();

    // One row, on line 2: record `index`'s TypeID and the given {column, text} cells.
    ImportPlan Plan(TableIndex t, std::size_t index,
                    const std::vector<std::pair<std::string, std::string>>& cells) const {
        InputRow row{Position::Line(2), {{"TypeID", IdOf(store, t, index), Position::Line(2)}}};
        for (const auto& [column, text] : cells)
            row.cells.push_back({column, text, Position::Line(2)});
        return PlanImport(store, t, {row});
    }
    std::size_t FirstDesc(TableIndex t, std::size_t index) const {
        for (std::size_t i = 0; i < store[kDescTable].RecordCount; ++i)
            if (Get(store, kDescTable, i, 0, 4) == Get(store, t, index, 0x04, 4)) return i;
        return kNoDescription;
    }
};

} // namespace

TEST_F(ImportPlanTest, TheIndexColumnPicksOneOfTwoRecordsSharingATypeId) {
    Put(store, kPartTable, 2, 0x04, 4, Get(store, kPartTable, 1, 0x04, 4));
    EXPECT_EQ(Plan(kPartTable, 1, {{"Price", "1"}}).problems.size(), 1u);
    const ImportPlan plan = Plan(kPartTable, 1, {{"Index", "2"}, {"Price", "4321"}});
    ASSERT_TRUE(plan.problems.empty());
    ApplyImport(store, plan);
    EXPECT_EQ(Get(store, kPartTable, 2, 0x5C, 4), 4321u);
    EXPECT_NE(Get(store, kPartTable, 1, 0x5C, 4), 4321u);
}

TEST_F(ImportPlanTest, OnlyTheFirstOfTwoDescriptionsIsRewritten) {
    // Item record 0 has a second description (the last but one): only the first is rewritten.
    const std::size_t count = store[kDescTable].RecordCount, itemFirst = FirstDesc(kItemTable, 0);
    ASSERT_EQ(Get(store, kDescTable, count - 2, 0, 4), Get(store, kItemTable, 0, 0x04, 4));
    Bytes expected = AsBytes(store[kDescTable].Records);
    PutText(expected, itemFirst * 516 + 4, "One\nTwo \xE9", 512);
    ApplyImport(store, Plan(kItemTable, 0, {{"Description", "One\r\nTwo \xE9"}}));
    EXPECT_TRUE(AsBytes(store[kDescTable].Records) == expected);
}
