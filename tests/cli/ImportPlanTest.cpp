// Import planning on the demo tables: which record a row names, and the description rules.
#include "CliTestSupport.h"

#include "tools/cli/ImportPlan.h"

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

// Desc records: TypeID at 0, text at 4 (512 bytes), 516 in all.
constexpr std::size_t kNone = kNoDescription;

class ImportPlanTest : public testing::Test {
  protected:
    TableStore store = SmallDemoTables();

    // One row, on line 2: record `index`'s TypeID and the given {column, text} cells.
    ImportPlan Plan(TableIndex t, std::size_t index,
                    const std::vector<std::pair<std::string, std::string>>& cells) const {
        InputRow row{2, {{"TypeID", IdOf(store, t, index), 2}}};
        for (const auto& [column, text] : cells)
            row.cells.push_back({column, text, 2});
        return PlanImport(store, t, {row});
    }
    void Import(const ImportPlan& plan) {
        ASSERT_TRUE(plan.errors.empty()) << plan.errors[0].line << ": " << plan.errors[0].message;
        ASSERT_EQ(ApplyImport(store, plan), ApplyResult::Applied);
    }
    std::size_t FirstDesc(TableIndex t, std::size_t index) const {
        for (std::size_t i = 0; i < store[kDescTable].RecordCount; ++i)
            if (Get(store, kDescTable, i, 0, 4) == Get(store, t, index, 0x04, 4)) return i;
        return kNone;
    }
};

} // namespace

TEST_F(ImportPlanTest, TheIndexColumnPicksOneOfTwoRecordsSharingATypeId) {
    Put(store, kPartTable, 2, 0x04, 4, Get(store, kPartTable, 1, 0x04, 4));
    EXPECT_EQ(Plan(kPartTable, 1, {{"Price", "1"}}).errors.size(), 1u);
    Import(Plan(kPartTable, 1, {{"Index", "2"}, {"Price", "4321"}}));
    EXPECT_EQ(Get(store, kPartTable, 2, 0x5C, 4), 4321u);
    EXPECT_NE(Get(store, kPartTable, 1, 0x5C, 4), 4321u);
}

TEST_F(ImportPlanTest, DescriptionsAreRewrittenOrAppendedOnlyWhenTheirTextChanges) {
    // The stored text with CR LF line ends is no change; nor is an empty text for record 2,
    // which has none.
    const std::size_t first = FirstDesc(kPartTable, 0);
    ASSERT_NE(first, kNone);
    std::string withCrLf;
    for (const std::uint8_t* c = store.Record(kDescTable, first) + 4; *c; ++c)
        withCrLf += *c == '\n' ? std::string("\r\n") : std::string(1, static_cast<char>(*c));
    ASSERT_NE(withCrLf.find('\r'), std::string::npos);
    EXPECT_TRUE(Plan(kPartTable, 0, {{"Description", withCrLf}}).rows.empty());
    ASSERT_EQ(FirstDesc(kBallTable, 2), kNone);
    EXPECT_TRUE(Plan(kBallTable, 2, {{"Description", ""}}).rows.empty());

    // Item record 0 has a second description (the last but one): only the first is rewritten.
    const std::size_t count = store[kDescTable].RecordCount, itemFirst = FirstDesc(kItemTable, 0);
    ASSERT_EQ(Get(store, kDescTable, count - 2, 0, 4), Get(store, kItemTable, 0, 0x04, 4));
    Bytes expected = store[kDescTable].Records;
    Import(Plan(kItemTable, 0, {{"Description", "One\r\nTwo \xE9"}}));
    std::fill_n(expected.begin() + itemFirst * 516 + 4, 512, 0);
    std::copy_n("One\nTwo \xE9", 9, expected.begin() + itemFirst * 516 + 4);
    EXPECT_TRUE(store[kDescTable].Records == expected);
}

TEST_F(ImportPlanTest, AFullDescTableRefusesTheImportBeforeAnythingChanges) {
    TableSlot& desc = store[kDescTable];
    desc.Records.resize(65535 * 516, 0xEE); // TypeID 0xEEEEEEEE is no demo item's
    desc.RecordCount = 65535;
    const std::string ball0 = IdOf(store, kBallTable, 0), ball2 = IdOf(store, kBallTable, 2);
    ImportPlan plan = PlanImport(store, kBallTable,
                                 {{2, {{"TypeID", ball0, 2}, {"Price", "5", 2}}},
                                  {3, {{"TypeID", ball2, 3}, {"Description", "No room.", 3}}}});
    ASSERT_EQ(plan.errors.size(), 1u);
    EXPECT_EQ(plan.errors[0].line, 3);
    EXPECT_TRUE(Contains(plan.errors[0].message, "Desc.iff is full"));
    EXPECT_TRUE(plan.rows.empty());
}
