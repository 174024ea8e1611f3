// Import planning on the demo tables: what a row may change, what it must not, and that
// every rejected file leaves the tables as they were.
#include "CliTestSupport.h"

#include "tools/cli/ImportPlan.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

// Head offsets, written out: TypeID 0x04, Name 0x08 (40 bytes), Level 0x30, Price 0x5C,
// ShopFlags 0x68. Record sizes: Part 544, Mascot 284, CaddieItem 260.
constexpr std::size_t kTypeId = 0x04, kName = 0x08, kLevel = 0x30, kPrice = 0x5C, kShopFlags = 0x68;

class ImportPlanTest : public testing::Test {
  protected:
    TableStore store = DemoStore();

    std::string IdOf(TableIndex t, std::size_t index) const {
        return std::to_string(Get(store, t, index, kTypeId, 4));
    }
    ImportPlan Plan(TableIndex t, const std::vector<InputRow>& rows) const {
        return PlanImport(store, t, rows);
    }
    // Plans and applies rows that must be accepted.
    void Import(TableIndex t, const std::vector<InputRow>& rows) {
        ImportPlan plan = Plan(t, rows);
        ASSERT_TRUE(plan.errors.empty()) << plan.errors[0].line << ": " << plan.errors[0].message;
        ASSERT_EQ(ApplyImport(store, plan), ApplyResult::Applied);
    }
    // Index of the first Desc record for typeId, scanning TypeIDs at offset 0 of 516-byte records.
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

struct Rejected {
    TableIndex table;
    std::vector<std::pair<std::string, std::string>> cells; // TypeID of record 3 is added first
    const char* message;                                    // a part of the one error expected
};

} // namespace

// --- an unchanged export imports as no change at all ------------------------------------

TEST_F(ImportPlanTest, UnchangedRowsChangeNoByteEvenWhereTheUpdateWouldNormalise) {
    // Values an Update would rewrite: bonus bytes from 1 to 100 and a set byte 1 (Mascot
    // BonusRates at 0x10C), a PriceCopy (0xF8) that disagrees with Price, a MonthlyPrice
    // (Caddie 0xA8) that is not the price, a StatCopy byte (Character 0x15C) that is not
    // Power's low byte, and a byte behind the NUL of a name. Part record 5's name has no NUL.
    Put(store, kMascotTable, 0, 0x10C, 4, 0x00320705);
    Put(store, kMascotTable, 0, 0xF8, 2, Get(store, kMascotTable, 0, kPrice, 4) + 1);
    Put(store, kCaddieTable, 0, 0xA8, 4, Get(store, kCaddieTable, 0, kPrice, 4) + 7);
    Put(store, kCharacterTable, 0, 0x15C, 1, Get(store, kCharacterTable, 0, 0x148, 2) + 1);
    Put(store, kItemTable, 1, kName + 39, 1, 0x5A);
    for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t) {
        for (bool json : {false, true}) {
            ImportPlan plan = Plan(t, ExportedRows(store, t, json));
            EXPECT_TRUE(plan.errors.empty()) << EntryName(t) << ": " << plan.errors[0].message;
            EXPECT_TRUE(plan.rows.empty()) << EntryName(t) << (json ? " json" : " csv");
        }
    }
}

// --- a changed value changes exactly its bytes --------------------------------------------

TEST_F(ImportPlanTest, OneChangedPriceChangesThePriceAndItsCopyOnly) {
    // PriceCopy lies at 0xF8 in Mascot and CaddieItem records; Part has none.
    const struct {
        TableIndex table;
        std::size_t size;
        bool hasCopy;
    } tables[] = {{kPartTable, 544, false}, {kMascotTable, 284, true}, {kCaddieItemTable, 260, true}};
    Put(store, kMascotTable, 3, 0x10C, 4, 0x00780000); // bonus bytes the Update keeps as they are
    for (const auto& t : tables) {
        if (t.hasCopy) Put(store, t.table, 3, 0xF8, 2, Get(store, t.table, 3, kPrice, 4) & 0xFFFF);
        std::vector<InputRow> rows = ExportedRows(store, t.table, false);
        for (InputCell& cell : rows[3].cells)
            if (cell.column == "Price") cell.text = "70000";
        const Bytes before = store[t.table].Records;
        const Bytes descBefore = store[kDescTable].Records;
        Import(t.table, rows);

        std::vector<std::size_t> expected;
        for (std::size_t o = 0; o < 4; ++o)
            if (((70000u >> (8 * o)) & 0xFF) != before[3 * t.size + kPrice + o])
                expected.push_back(3 * t.size + kPrice + o);
        for (std::size_t o = 0; t.hasCopy && o < 2; ++o)
            if (((4464u >> (8 * o)) & 0xFF) != before[3 * t.size + 0xF8 + o])
                expected.push_back(3 * t.size + 0xF8 + o);
        EXPECT_EQ(DifferingOffsets(before, store[t.table].Records), expected) << EntryName(t.table);
        EXPECT_EQ(Get(store, t.table, 3, kPrice, 4), 70000u);
        if (t.hasCopy) {
            EXPECT_EQ(Get(store, t.table, 3, 0xF8, 2), 4464u); // 70000 modulo 65536
        }
        EXPECT_EQ(store[kDescTable].Records, descBefore);
    }
}

TEST_F(ImportPlanTest, EditableHeadValuesArriveAsWritten) {
    // Level 0x85: rank 5 as a maximum. ShopFlags: Points, Tradeable, Not Giftable, Display
    // only, keeping bits 2 to 4 as stored. Mascot BonusRates: Crell 120, Exp 0 (100%).
    const std::uint32_t shop =
        0x01 | 0x02 | 0x40 | 0x80 | (Get(store, kMascotTable, 2, kShopFlags, 1) & 0x1C);
    Import(kMascotTable, {Row(2, {{"TypeID", IdOf(kMascotTable, 2)},
                                  {"Level", "133"},
                                  {"ShopFlags", std::to_string(shop)},
                                  {"BonusRates", "120"},
                                  {"Name", "Caf\xE9 Owl"}})});
    EXPECT_EQ(Get(store, kMascotTable, 2, kLevel, 1), 0x85u);
    EXPECT_EQ(Get(store, kMascotTable, 2, kShopFlags, 1), shop);
    EXPECT_EQ(Get(store, kMascotTable, 2, 0x10C, 4), 120u);
    const std::uint8_t* name = store.Record(kMascotTable, 2) + kName;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(name)), "Caf\xE9 Owl");
    for (std::size_t i = 9; i < 40; ++i)
        EXPECT_EQ(name[i], 0) << "name byte " << i;
}

TEST_F(ImportPlanTest, DerivedFieldsFollowTheirRules) {
    // Character: Power u16 at 0x148, StatCopy bytes from 0x15C. Power 258 stores StatCopy 2.
    Import(kCharacterTable, {Row(2, {{"TypeID", IdOf(kCharacterTable, 1)}, {"Power", "258"}})});
    EXPECT_EQ(Get(store, kCharacterTable, 1, 0x148, 2), 258u);
    EXPECT_EQ(Get(store, kCharacterTable, 1, 0x15C, 1), 2u);

    // Caddie MonthlyPrice at 0xA8: 0 turns monthly payment off; the price turns it on.
    Import(kCaddieTable,
           {Row(2, {{"TypeID", IdOf(kCaddieTable, 0)}, {"Price", "900"}, {"MonthlyPrice", "900"}})});
    EXPECT_EQ(Get(store, kCaddieTable, 0, 0xA8, 4), 900u);
    Import(kCaddieTable, {Row(2, {{"TypeID", IdOf(kCaddieTable, 0)}, {"MonthlyPrice", "0"}})});
    EXPECT_EQ(Get(store, kCaddieTable, 0, 0xA8, 4), 0u);

    // A derived value that disagrees with its rule is refused.
    ImportPlan plan = Plan(
        kMascotTable, {Row(4, {{"TypeID", IdOf(kMascotTable, 1)}, {"Price", "500"}, {"PriceCopy", "7"}})});
    ASSERT_EQ(plan.errors.size(), 1u);
    EXPECT_EQ(plan.errors[0].line, 4);
    EXPECT_NE(plan.errors[0].message.find("PriceCopy cannot become 7"), std::string::npos);
}

TEST_F(ImportPlanTest, AChangedRowIsWrittenByTheUpdateRulesAsAWhole) {
    // Bonus bytes of 5 and 50 mean "100%" to the Update, which stores them as 0 once the
    // record is written for another change; the plan lists that change too.
    Put(store, kMascotTable, 4, 0x10C, 4, 0x00320005);
    ImportPlan plan = Plan(kMascotTable, {Row(2, {{"TypeID", IdOf(kMascotTable, 4)}, {"Power", "9"}})});
    ASSERT_TRUE(plan.errors.empty());
    ASSERT_EQ(plan.rows.size(), 1u);
    const std::vector<std::string>& changes = plan.rows[0].changes;
    EXPECT_NE(std::find(changes.begin(), changes.end(), "BonusRates: 3276805 -> 0"), changes.end());
}

// --- every problem is reported with its line, and nothing changes ---------------------------

TEST_F(ImportPlanTest, InvalidRowsAreRejectedWithTheirLine) {
    Put(store, kCardTable, 3, 0x158, 2, 0); // EffectTime 0: it cannot be set through the Update
    const Rejected cases[] = {
        {kPartTable, {{"Price", "12a"}}, "not an unsigned number"},
        {kPartTable, {{"Price", "4294967296"}}, "does not fit its 32-bit field"},
        {kPartTable, {{"Power", "65536"}}, "does not fit its 16-bit field"},
        {kMascotTable, {{"Power", "256"}}, "does not fit its 8-bit field"},
        {kPartTable, {{"Enabled", "0"}}, "Enabled is read-only"},
        {kCardTable, {{"Volume", "4"}}, "Volume is read-only"},
        {kSetItemTable, {{"MemberCount", "10"}}, "MemberCount is read-only"},
        {kPartTable,
         {{"ShopFlags", std::to_string(Get(store, kPartTable, 3, kShopFlags, 1) ^ 0x04)}},
         "bits 2 to 4"},
        {kCardTable, {{"EffectTime", "30"}}, "EffectTime cannot become 30"},
        {kPartTable, {{"Level", "17"}}, "rank index from 0 to 16"},
        {kPartTable, {{"Name", std::string(40, 'N')}}, "40 bytes do not fit"},
        {kPartTable, {{"Description", std::string(513, 'd')}}, "513 bytes do not fit"},
        {kPartTable, {{"Prices", "1"}}, "unknown column \"Prices\""},
        {kPartTable, {{"CharacterLabel", "Nobody"}}, "CharacterLabel is read-only"},
    };
    for (const Rejected& c : cases) {
        InputRow row = Row(7, c.cells);
        row.cells.insert(row.cells.begin(), {"TypeID", IdOf(c.table, 3), 7});
        ImportPlan plan = Plan(c.table, {Row(2, {{"TypeID", IdOf(c.table, 0)}, {"Price", "1"}}), row});
        ASSERT_EQ(plan.errors.size(), 1u) << c.message;
        EXPECT_EQ(plan.errors[0].line, 7) << c.message;
        EXPECT_NE(plan.errors[0].message.find(c.message), std::string::npos) << plan.errors[0].message;
        EXPECT_TRUE(plan.rows.empty()) << c.message; // the valid row on line 2 is dropped too
    }
}

TEST_F(ImportPlanTest, TypeIdsMustNameExactlyOneRecord) {
    ImportPlan unknown = Plan(kPartTable, {Row(2, {{"TypeID", "4294967295"}, {"Price", "1"}})});
    ASSERT_EQ(unknown.errors.size(), 1u);
    EXPECT_NE(unknown.errors[0].message.find("held by no record"), std::string::npos);

    ImportPlan twice = Plan(kPartTable, {Row(2, {{"TypeID", IdOf(kPartTable, 1)}, {"Price", "1"}}),
                                         Row(5, {{"TypeID", IdOf(kPartTable, 1)}, {"Price", "2"}})});
    ASSERT_EQ(twice.errors.size(), 1u);
    EXPECT_EQ(twice.errors[0].line, 5);
    EXPECT_NE(twice.errors[0].message.find("first on line 2"), std::string::npos);

    ImportPlan noTypeId = Plan(kPartTable, {Row(3, {{"Price", "1"}})});
    ASSERT_EQ(noTypeId.errors.size(), 1u);
    EXPECT_EQ(noTypeId.errors[0].line, 3);

    // Records 1 and 2 sharing a TypeID: the Index column picks one.
    Put(store, kPartTable, 2, kTypeId, 4, Get(store, kPartTable, 1, kTypeId, 4));
    EXPECT_EQ(Plan(kPartTable, {Row(2, {{"TypeID", IdOf(kPartTable, 1)}, {"Price", "1"}})}).errors.size(),
              1u);
    Import(kPartTable, {Row(2, {{"TypeID", IdOf(kPartTable, 1)}, {"Index", "2"}, {"Price", "4321"}})});
    EXPECT_EQ(Get(store, kPartTable, 2, kPrice, 4), 4321u);
    EXPECT_NE(Get(store, kPartTable, 1, kPrice, 4), 4321u);
}

// --- descriptions are rewritten or appended only when their text changes -------------------

TEST_F(ImportPlanTest, AChangedDescriptionRewritesTheFirstOfItsRecords) {
    const std::uint32_t id = Get(store, kItemTable, 0, kTypeId, 4);
    const std::size_t first = FirstDesc(id);
    ASSERT_NE(first, static_cast<std::size_t>(-1));
    const std::size_t count = store[kDescTable].RecordCount;
    const Bytes last = Bytes(store.Record(kDescTable, count - 2), store.Record(kDescTable, count - 1));
    ASSERT_EQ(Get(store, kDescTable, count - 2, 0, 4), id); // the demo's second description

    Import(kItemTable, {Row(2, {{"TypeID", IdOf(kItemTable, 0)}, {"Description", "One\r\nTwo \xE9"}})});
    EXPECT_EQ(DescText(first), "One\nTwo \xE9");
    for (std::size_t i = 4 + 9; i < 516; ++i)
        ASSERT_EQ(store.Record(kDescTable, first)[i], 0) << i;
    EXPECT_EQ(store[kDescTable].RecordCount, count);
    EXPECT_EQ(Bytes(store.Record(kDescTable, count - 2), store.Record(kDescTable, count - 1)), last);
}

TEST_F(ImportPlanTest, AnItemWithoutDescriptionGetsOneAppendedOnlyForText) {
    // Record 2 of each demo table has no description.
    const std::uint32_t id = Get(store, kBallTable, 2, kTypeId, 4);
    ASSERT_EQ(FirstDesc(id), static_cast<std::size_t>(-1));
    const std::size_t count = store[kDescTable].RecordCount;
    EXPECT_TRUE(
        Plan(kBallTable, {Row(2, {{"TypeID", IdOf(kBallTable, 2)}, {"Description", ""}})}).rows.empty());

    Import(kBallTable, {Row(2, {{"TypeID", IdOf(kBallTable, 2)}, {"Description", "Dimpled."}})});
    ASSERT_EQ(store[kDescTable].RecordCount, count + 1);
    EXPECT_EQ(store[kDescTable].Records.size(), (count + 1) * 516);
    EXPECT_EQ(Get(store, kDescTable, count, 0, 4), id);
    EXPECT_EQ(DescText(count), "Dimpled.");
}

TEST_F(ImportPlanTest, TheSameTextWithCarriageReturnsIsNoChange) {
    const std::size_t first = FirstDesc(Get(store, kPartTable, 0, kTypeId, 4));
    ASSERT_NE(first, static_cast<std::size_t>(-1));
    std::string withCrLf;
    for (char c : DescText(first))
        withCrLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(Plan(kPartTable, {Row(2, {{"TypeID", IdOf(kPartTable, 0)}, {"Description", withCrLf}})})
                    .rows.empty());
}

TEST_F(ImportPlanTest, AFullDescTableRefusesTheImportBeforeAnythingChanges) {
    TableSlot& desc = store[kDescTable];
    desc.Records.resize(65535 * 516, 0xEE); // TypeID 0xEEEEEEEE is no demo item's
    desc.RecordCount = 65535;
    ImportPlan plan =
        Plan(kBallTable, {Row(2, {{"TypeID", IdOf(kBallTable, 0)}, {"Price", "5"}}),
                          Row(3, {{"TypeID", IdOf(kBallTable, 2)}, {"Description", "No room."}})});
    ASSERT_EQ(plan.errors.size(), 1u);
    EXPECT_EQ(plan.errors[0].line, 3);
    EXPECT_NE(plan.errors[0].message.find("Desc.iff is full"), std::string::npos);
    EXPECT_TRUE(plan.rows.empty());
}
