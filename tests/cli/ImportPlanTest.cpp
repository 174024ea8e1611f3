// Import planning on the demo tables: what a changed row writes, and the description rules.
#include "CliTestSupport.h"

#include "tools/cli/ImportPlan.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

// Head offsets, written out: TypeID 0x04, Name 0x08 (40 bytes), Level 0x30, Price 0x5C,
// ShopFlags 0x68. Desc records: TypeID at 0, text at 4 (512 bytes), 516 in all.
constexpr std::size_t kTypeId = 0x04, kName = 0x08, kLevel = 0x30, kPrice = 0x5C, kShopFlags = 0x68;

class ImportPlanTest : public testing::Test {
  protected:
    TableStore store = DemoStore();

    ImportPlan Plan(TableIndex t, const std::vector<InputRow>& rows) const {
        return PlanImport(store, t, rows);
    }
    // Plans and applies rows that must be accepted.
    void Import(TableIndex t, const std::vector<InputRow>& rows) {
        ImportPlan plan = Plan(t, rows);
        ASSERT_TRUE(plan.errors.empty()) << plan.errors[0].line << ": " << plan.errors[0].message;
        ASSERT_EQ(ApplyImport(store, plan), ApplyResult::Applied);
    }
    std::size_t FirstDesc(std::uint32_t typeId) const {
        for (std::size_t i = 0; i < store[kDescTable].RecordCount; ++i)
            if (Get(store, kDescTable, i, 0, 4) == typeId) return i;
        return static_cast<std::size_t>(-1);
    }
    std::string DescText(std::size_t i) const {
        const char* text = reinterpret_cast<const char*>(store.Record(kDescTable, i) + 4);
        return std::string(text, std::find(text, text + 512, '\0'));
    }
};

} // namespace

TEST_F(ImportPlanTest, EditableHeadValuesArriveAsWritten) {
    // Level 0x85: rank 5 as a maximum. ShopFlags: Points, Tradeable, Not Giftable, Display
    // only, keeping bits 2 to 4 as stored. Mascot BonusRates (0x10C): Crell 120, Exp 0 (100%).
    const std::uint32_t shop =
        0x01 | 0x02 | 0x40 | 0x80 | (Get(store, kMascotTable, 2, kShopFlags, 1) & 0x1C);
    Import(kMascotTable, {Row(2, {{"TypeID", IdOf(store, kMascotTable, 2)},
                                  {"Level", "133"},
                                  {"ShopFlags", std::to_string(shop)},
                                  {"BonusRates", "120"},
                                  {"Name", "Caf\xE9 Owl"}})});
    EXPECT_EQ(Get(store, kMascotTable, 2, kLevel, 1), 0x85u);
    EXPECT_EQ(Get(store, kMascotTable, 2, kShopFlags, 1), shop);
    EXPECT_EQ(Get(store, kMascotTable, 2, 0x10C, 4), 120u);
    const std::uint8_t* name = store.Record(kMascotTable, 2) + kName;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(name)), "Caf\xE9 Owl");
    EXPECT_EQ(std::count(name + 9, name + 40, 0), 31);
}

TEST_F(ImportPlanTest, TheIndexColumnPicksOneOfTwoRecordsSharingATypeId) {
    Put(store, kPartTable, 2, kTypeId, 4, Get(store, kPartTable, 1, kTypeId, 4));
    const std::string id = IdOf(store, kPartTable, 1);
    EXPECT_EQ(Plan(kPartTable, {Row(2, {{"TypeID", id}, {"Price", "1"}})}).errors.size(), 1u);
    Import(kPartTable, {Row(2, {{"TypeID", id}, {"Index", "2"}, {"Price", "4321"}})});
    EXPECT_EQ(Get(store, kPartTable, 2, kPrice, 4), 4321u);
    EXPECT_NE(Get(store, kPartTable, 1, kPrice, 4), 4321u);
}

// --- descriptions are rewritten or appended only when their text changes -------------------

TEST_F(ImportPlanTest, AChangedDescriptionRewritesTheFirstOfItsRecords) {
    const std::uint32_t id = Get(store, kItemTable, 0, kTypeId, 4);
    const std::size_t first = FirstDesc(id), count = store[kDescTable].RecordCount;
    ASSERT_NE(first, static_cast<std::size_t>(-1));
    ASSERT_EQ(Get(store, kDescTable, count - 2, 0, 4), id); // the demo's second description
    const Bytes second(store.Record(kDescTable, count - 2), store.Record(kDescTable, count - 1));

    Import(kItemTable,
           {Row(2, {{"TypeID", IdOf(store, kItemTable, 0)}, {"Description", "One\r\nTwo \xE9"}})});
    EXPECT_EQ(DescText(first), "One\nTwo \xE9");
    const std::uint8_t* record = store.Record(kDescTable, first);
    EXPECT_EQ(std::count(record + 4 + 9, record + 516, 0), 516 - 4 - 9);
    EXPECT_EQ(store[kDescTable].RecordCount, count);
    EXPECT_EQ(Bytes(store.Record(kDescTable, count - 2), store.Record(kDescTable, count - 1)), second);
}

TEST_F(ImportPlanTest, TheStoredTextWithCarriageReturnsAndAnEmptyNewTextAreNoChange) {
    const std::size_t first = FirstDesc(Get(store, kPartTable, 0, kTypeId, 4));
    ASSERT_NE(first, static_cast<std::size_t>(-1));
    std::string withCrLf;
    for (char c : DescText(first))
        withCrLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(
        Plan(kPartTable, {Row(2, {{"TypeID", IdOf(store, kPartTable, 0)}, {"Description", withCrLf}})})
            .rows.empty());
    // Record 2 of each demo table has no description: an empty one is not appended.
    ASSERT_EQ(FirstDesc(Get(store, kBallTable, 2, kTypeId, 4)), static_cast<std::size_t>(-1));
    EXPECT_TRUE(Plan(kBallTable, {Row(2, {{"TypeID", IdOf(store, kBallTable, 2)}, {"Description", ""}})})
                    .rows.empty());
}

TEST_F(ImportPlanTest, AFullDescTableRefusesTheImportBeforeAnythingChanges) {
    TableSlot& desc = store[kDescTable];
    desc.Records.resize(65535 * 516, 0xEE); // TypeID 0xEEEEEEEE is no demo item's
    desc.RecordCount = 65535;
    ImportPlan plan =
        Plan(kBallTable, {Row(2, {{"TypeID", IdOf(store, kBallTable, 0)}, {"Price", "5"}}),
                          Row(3, {{"TypeID", IdOf(store, kBallTable, 2)}, {"Description", "No room."}})});
    ASSERT_EQ(plan.errors.size(), 1u);
    EXPECT_EQ(plan.errors[0].line, 3);
    EXPECT_NE(plan.errors[0].message.find("Desc.iff is full"), std::string::npos);
    EXPECT_TRUE(plan.rows.empty());
}
