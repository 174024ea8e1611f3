#include "ui/RecordEdit.h"

#include "Fixtures.h"
#include "ui/RecordDisplay.h"

#include <gtest/gtest.h>

#include <functional>

using namespace ledgrin;
using namespace fixtures;

namespace {

struct Edited {
    Bytes before, after;
    UpdateOutcome outcome;
    std::string name; // outcome.name points into the store, which is gone after UpdateWith
};

// Shows record 0 of table t, lets `edit` change the panel as a user would, and updates.
Edited UpdateWith(int t, const Bytes& record, const std::function<void(RecordValues&)>& edit) {
    TableStore store;
    Add(store, t, record);
    AddDesc(store, Get32(record, 0x04), "");
    RecordDisplay shown = BuildRecordDisplay(store, t, 0);
    RecordValues panel = shown.values;
    edit(panel);
    testing::internal::CaptureStdout();
    Edited e;
    e.before = record;
    e.outcome = ApplyRecordUpdate(store, t, 0, Get32(record, 0x04), panel, shown.description);
    testing::internal::GetCapturedStdout();
    e.after = RecordBytes(store, t, 0);
    e.name = std::string(e.outcome.name);
    return e;
}

UpdateOutcome Update(TableStore& store, int t, std::uint32_t index, const std::string& description) {
    RecordDisplay shown = BuildRecordDisplay(store, t, index);
    return ApplyRecordUpdate(store, t, index, Get32(RecordBytes(store, t, index), 0x04), shown.values,
                             description);
}

Bytes DescBytes(const TableStore& store) {
    return store[0].Records;
}

} // namespace

TEST(HeadUpdate, PricesFlagBitsLevelAndName) {
    Bytes r = ItemRecord(2, 0x70, "Tee Kit");
    Put8(r, 0x68, 0x1C); // ShopFlags bits 2 to 4: not ours, kept
    Put8(r, 0x69, 0xFC); // MarkFlags bits 2 to 7: kept
    Edited e = UpdateWith(2, r, [](RecordValues& p) {
        p.name = std::string(40, 'n'); // 39 stored
        p.price = 123456;
        p.discountPrice = 77;
        p.currencyRow = -1; // no selection: Points
        p.tradeable = p.notGiftable = p.displayOnly = p.isNew = true;
        p.levelRow = 3;
        p.maximum = true;
    });
    Bytes expected = e.before;
    PutText(expected, 0x08, 40, std::string(39, 'n'));
    Put32(expected, 0x5C, 123456);
    Put32(expected, 0x60, 77);
    Put8(expected, 0x68, 0x1C | 0x01 | 0x02 | 0x40 | 0x80);
    Put8(expected, 0x69, 0xFC | 0x01);
    Put8(expected, 0x30, 0x83);
    EXPECT_EQ(e.after, expected);
    EXPECT_EQ(e.name, std::string(39, 'n'));
}

TEST(HeadUpdate, MinimumAndBothShopBitsKept) {
    Bytes r = ItemRecord(4, 0x71, "Comet Ball");
    Put8(r, 0x68, 0xA0); // loaded with Avail. in Shop and Display only
    Put8(r, 0x30, 0x83);
    Edited e = UpdateWith(4, r, [](RecordValues& p) { p.maximum = false; });
    Bytes expected = e.before;
    Put8(expected, 0x30, 0x03);
    EXPECT_EQ(e.after, expected);
}

TEST(TableUpdate, PartAndClubSetStatsKeepLowSixteenBits) {
    Edited part = UpdateWith(1, ItemRecord(1, 0x72, "Cap"), [](RecordValues& p) {
        p.stats[0] = 300;
        p.seconds[4] = 70000;
    });
    Bytes expected = part.before;
    Put16(expected, 0x1CC, 300);
    Put16(expected, 0x1DE, 4464);
    EXPECT_EQ(part.after, expected);

    Edited club = UpdateWith(3, ItemRecord(3, 0x73, "Driver"), [](RecordValues& p) {
        p.stats[1] = 9;
        p.seconds[0] = 11;
    });
    expected = club.before;
    Put16(expected, 0xBA, 9);
    Put16(expected, 0xC2, 11);
    EXPECT_EQ(club.after, expected);
}

TEST(TableUpdate, MascotPriceCopyBonusAndExtraItem) {
    Bytes r = ItemRecord(5, 0x74, "Puffin");
    Put32(r, 0x110, 6); // MascotFlags: two unnamed bits
    Edited e = UpdateWith(5, r, [](RecordValues& p) {
        p.price = 123456;
        p.stats[0] = 300;
        p.price7Days = 70000;
        p.price30Days = 5;
        p.crellPercent = 120;
        p.expPercent = 100;
        p.extraItem = true;
    });
    Bytes expected = e.before;
    Put32(expected, 0x5C, 123456);
    Put16(expected, 0xF8, 57920); // PriceCopy: the price's low 16 bits
    Put8(expected, 0x102, 44);    // 300 in a byte
    Put16(expected, 0xFA, 4464);
    Put16(expected, 0xFE, 5);
    Put32(expected, 0x10C, 120); // CrellBonus 120, ExpBonus 0, bytes 1 and 3 cleared
    Put32(expected, 0x110, 7);
    EXPECT_EQ(e.after, expected);
}

TEST(TableUpdate, CaddieMonthlyPriceFollowsThePrice) {
    Bytes r = ItemRecord(6, 0x75, "Nora");
    Put32(r, 0xA8, 800);
    Edited e = UpdateWith(6, r, [](RecordValues& p) {
        p.price = 500;
        p.stats[4] = 70000;
    });
    Bytes expected = e.before;
    Put32(expected, 0x5C, 500);
    Put32(expected, 0xA8, 500);
    Put16(expected, 0xDC, 4464);
    EXPECT_EQ(e.after, expected);

    e = UpdateWith(6, r, [](RecordValues& p) { p.payMonthly = false; });
    expected = e.before;
    Put32(expected, 0xA8, 0);
    EXPECT_EQ(e.after, expected);
}

TEST(TableUpdate, SkinAndCaddieItemRentalPrices) {
    Edited skin = UpdateWith(7, ItemRecord(7, 0x76, "Dune"), [](RecordValues& p) {
        p.price7Days = 70000;
        p.price30Days = 12;
    });
    Bytes expected = skin.before;
    Put16(expected, 0xD4, 4464);
    Put16(expected, 0xD8, 12);
    EXPECT_EQ(skin.after, expected);

    Edited tool = UpdateWith(11, ItemRecord(11, 0x77, "Rake"), [](RecordValues& p) {
        p.price = 123456;
        p.price7Days = 3;
        p.price30Days = 4;
    });
    expected = tool.before;
    Put32(expected, 0x5C, 123456);
    Put16(expected, 0xF8, 57920);
    Put16(expected, 0xFA, 3);
    Put16(expected, 0xFE, 4);
    EXPECT_EQ(tool.after, expected);
}

TEST(TableUpdate, AuxPartBytesAndCharacterStatCopy) {
    Edited aux = UpdateWith(8, ItemRecord(8, 0x78, "Ring"), [](RecordValues& p) {
        p.stats[0] = 300;
        p.seconds[2] = 5;
    });
    Bytes expected = aux.before;
    Put8(expected, 0xB2, 44);
    Put8(expected, 0xB9, 5);
    EXPECT_EQ(aux.after, expected);

    Edited chr = UpdateWith(9, ItemRecord(9, 0x79, "Hazel"), [](RecordValues& p) { p.stats[0] = 258; });
    expected = chr.before;
    Put16(expected, 0x148, 258);
    for (int i = 0; i < 5; ++i) // StatCopy: the low byte of each stat as now stored
        Put8(expected, 0x15C + i, Get16(expected, 0x148 + 2 * i) & 0xFF);
    EXPECT_EQ(expected[0x15C], 2);
    EXPECT_EQ(chr.after, expected);
}

TEST(TableUpdate, CardSlotsEffectValueAndEffectTimeRule) {
    Bytes r = ItemRecord(13, 0x7A, "Gust Card");
    Put16(r, 0x158, 30); // EffectTime
    Edited e = UpdateWith(13, r, [](RecordValues& p) {
        p.stats[2] = 70000;
        p.effectValue = 9;
        p.effectTime = 0; // typing 0 keeps 30
    });
    Bytes expected = e.before;
    Put16(expected, 0xD6, 4464);
    Put16(expected, 0xDE, 9);
    EXPECT_EQ(e.after, expected);

    e = UpdateWith(13, r, [](RecordValues& p) { p.effectTime = 45; });
    expected = e.before;
    Put16(expected, 0x158, 45);
    EXPECT_EQ(e.after, expected);

    Put16(r, 0x158, 0); // a card without a timed effect cannot get one
    e = UpdateWith(13, r, [](RecordValues& p) { p.effectTime = 45; });
    EXPECT_EQ(e.after, e.before);
}

TEST(TableUpdate, HeadOnlyTablesKeepEverythingBehindTheHead) {
    for (int t : {2, 4, 10, 12}) {
        Bytes r = ItemRecord(t, 0x7B, "Plain");
        if (t == 12) Put32(r, 0xA8, 3); // set members stay as loaded
        Edited e = UpdateWith(t, r, [](RecordValues& p) {
            p.stats[0] = 1; // hidden boxes of other tables: not written
            p.price7Days = 2;
            p.effectValue = 3;
            p.price = 10;
        });
        Bytes expected = e.before;
        Put32(expected, 0x5C, 10);
        EXPECT_EQ(e.after, expected) << t;
    }
}

TEST(RepeatedUpdate, SecondUpdateWritesTheSameBytesForEveryTable) {
    for (int t = 1; t <= 13; ++t) {
        TableStore store;
        Add(store, t, ItemRecord(t, 0x80 + t, "Twice"));
        AddDesc(store, 0x80 + t, "Line one\nLine two");
        Update(store, t, 0, BuildRecordDisplay(store, t, 0).description);
        TableStore first = store;
        Update(store, t, 0, BuildRecordDisplay(store, t, 0).description);
        EXPECT_EQ(RecordBytes(store, t, 0), RecordBytes(first, t, 0)) << t;
        EXPECT_EQ(DescBytes(store), DescBytes(first)) << t;
    }
}

TEST(DescriptionUpdate, TwoLinesRoundTripAndCarriageReturnsAreDropped) {
    TableStore store;
    AddDesc(store, 0x90, "Line one\nLine two");
    Add(store, 2, ItemRecord(2, 0x90, "Coin"));
    Bytes loaded = DescBytes(store);
    UpdateOutcome out = Update(store, 2, 0, BuildRecordDisplay(store, 2, 0).description);
    EXPECT_EQ(out.descIndex, 0u);
    EXPECT_FALSE(out.appended);
    EXPECT_EQ(DescBytes(store), loaded);

    Update(store, 2, 0, "x\r\ny\r");
    Bytes expected = loaded;
    PutText(expected, 4, 512, "x\ny");
    EXPECT_EQ(DescBytes(store), expected);
}

TEST(DescriptionUpdate, EmptyBoxClearsTheWholeText) {
    TableStore store;
    AddDesc(store, 0x91, "old");
    store[0].Records[4 + 200] = 'g'; // a stray byte behind the NUL
    Add(store, 2, ItemRecord(2, 0x91, "Coin"));
    Update(store, 2, 0, "");
    Bytes expected(516, 0);
    Put32(expected, 0, 0x91);
    EXPECT_EQ(DescBytes(store), expected);
}

TEST(DescriptionUpdate, OnlyTheFirstOfTwoRecordsIsRewritten) {
    TableStore store;
    AddDesc(store, 0x92, "first");
    AddDesc(store, 0x92, "second");
    Add(store, 2, ItemRecord(2, 0x92, "Coin"));
    Update(store, 2, 0, "new");
    Bytes expected(2 * 516, 0);
    Put32(expected, 0, 0x92);
    PutText(expected, 4, 512, "new");
    Put32(expected, 516, 0x92);
    PutText(expected, 520, 512, "second");
    EXPECT_EQ(DescBytes(store), expected);
}

TEST(DescriptionUpdate, BoxIsReadAs1023Bytes) {
    TableStore store;
    Add(store, 2, ItemRecord(2, 0x93, "Coin"));
    AddDesc(store, 0x93, "old");
    Update(store, 2, 0, std::string(1022, '\r') + "X");
    EXPECT_EQ(store[0].Records[4], 'X');
    Update(store, 2, 0, std::string(1023, '\r') + "X"); // the X lies beyond the box's buffer
    EXPECT_EQ(store[0].Records[4], 0);
}

TEST(DescriptionAppend, ItemWithoutOneGetsAZeroTextOnceOnly) {
    TableStore store;
    AddDesc(store, 0x11, "someone else's");
    Add(store, 2, ItemRecord(2, 0x94, "Coin"));
    Bytes loaded = DescBytes(store);
    UpdateOutcome first = Update(store, 2, 0, "");
    EXPECT_TRUE(first.appended);
    EXPECT_EQ(first.append, AppendResult::Appended);
    EXPECT_EQ(first.descIndex, 1u);
    ASSERT_EQ(store[0].RecordCount, 2);
    Bytes expected = loaded;
    Bytes added(516, 0);
    Put32(added, 0, 0x94);
    expected.insert(expected.end(), added.begin(), added.end());
    EXPECT_EQ(DescBytes(store), expected);

    UpdateOutcome second = Update(store, 2, 0, "");
    EXPECT_FALSE(second.appended);
    EXPECT_EQ(second.descIndex, 1u);
    EXPECT_EQ(store[0].RecordCount, 2);
    EXPECT_EQ(DescBytes(store), expected);
}

TEST(DescriptionAppend, EmptyDescTableGetsRecordZero) {
    TableStore store;
    Add(store, 5, ItemRecord(5, 0x95, "Puffin"));
    UpdateOutcome out = Update(store, 5, 0, "Hello");
    EXPECT_EQ(out.descIndex, 0u);
    ASSERT_EQ(store[0].RecordCount, 1);
    EXPECT_EQ(Get32(DescBytes(store), 0), 0x95u);
    EXPECT_EQ(store[0].Records[4], 'H');
}

TEST(DescriptionAppend, FullDescTableRefusesTheAppendButWritesTheRecord) {
    TableStore store;
    store[0].RecordCount = 65535;
    store[0].Records.assign(65535u * 516u, 0); // every description belongs to TypeID 0
    Add(store, 2, ItemRecord(2, 0x96, "Coin"));
    RecordDisplay shown = BuildRecordDisplay(store, 2, 0);
    RecordValues panel = shown.values;
    panel.name = "Renamed";
    testing::internal::CaptureStdout();
    UpdateOutcome out = ApplyRecordUpdate(store, 2, 0, 0x96, panel, "text");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Entry to Update: 0 (150, Coin)\nDescription not found, adding\n");
    EXPECT_FALSE(out.refused);
    EXPECT_TRUE(out.appended);
    EXPECT_EQ(out.append, AppendResult::TableFull);
    EXPECT_EQ(out.descIndex, kNoDescription);
    EXPECT_EQ(store[0].RecordCount, 65535);
    EXPECT_EQ(store[0].Records.size(), 65535u * 516u);
    EXPECT_EQ(out.name, "Renamed");
    EXPECT_EQ(RecordBytes(store, 2, 0)[0x08], 'R');
}

TEST(UpdateGuard, RefusalChangesNothing) {
    TableStore store;
    AddDesc(store, 0x97, "kept");
    Add(store, 1, ItemRecord(1, 0x97, "Cap"));
    Add(store, 1, ItemRecord(1, 0x98, "Hat"));
    const TableStore loaded = store;
    RecordValues panel = BuildRecordDisplay(store, 1, 1).values; // the panel shows record 1
    panel.name = "Changed";
    testing::internal::CaptureStdout();
    UpdateOutcome out = ApplyRecordUpdate(store, 1, 0, 0x98, panel, "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "No Item selected, no Update.\n");
    EXPECT_TRUE(out.refused);
    EXPECT_FALSE(out.appended);
    EXPECT_EQ(store[1].Records, loaded[1].Records);
    EXPECT_EQ(store[0].Records, loaded[0].Records);
    EXPECT_EQ(store[0].RecordCount, 1);
}

TEST(UpdateGuard, NoRecordToUpdate) {
    TableStore store;
    Add(store, 1, ItemRecord(1, 0, "Cap"));
    testing::internal::CaptureStdout();
    // The Item table is empty: there is no record 0, even for a TypeID box holding 0.
    EXPECT_TRUE(ApplyRecordUpdate(store, 2, 0, 0, RecordValues{}, "").refused);
    EXPECT_TRUE(ApplyRecordUpdate(store, 1, 1, 0, RecordValues{}, "").refused); // past the end
    EXPECT_TRUE(ApplyRecordUpdate(store, 0, 0, 0, RecordValues{}, "").refused); // Desc
    const std::string refused = "No Item selected, no Update.\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), refused + refused + refused);
    EXPECT_EQ(store[0].RecordCount, 0);
}

TEST(UpdateLines, EntryAndDescriptionLines) {
    TableStore store;
    AddDesc(store, 0x1, "a");
    AddDesc(store, 0xFFFFFFFF, "b");
    Add(store, 3, ItemRecord(3, 0xFFFFFFFF, "Old Name"));
    RecordValues panel = BuildRecordDisplay(store, 3, 0).values;
    panel.name = "New Name";
    testing::internal::CaptureStdout();
    UpdateOutcome out = ApplyRecordUpdate(store, 3, 0, 0xFFFFFFFF, panel, "b");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Entry to Update: 0 (-1, Old Name)\nUpdate Description: 1 (-1)\n");
    EXPECT_EQ(out.entryLine, "Entry to Update: 0 (-1, Old Name)\n");
    EXPECT_EQ(out.name, "New Name");
}

TEST(CheckPairs, ShopPairExcludesAndLevelPairKeepsOne) {
    struct Case {
        int clicked;
        bool checked;
        PairEffect effect;
    };
    const Case cases[] = {
        {10007, true, {10061, false, true}}, {10007, false, {10061, false, false}},
        {10061, true, {10007, false, true}}, {10061, false, {10007, false, false}},
        {10028, true, {10029, false, true}}, {10028, false, {10029, true, true}},
        {10029, true, {10028, false, true}}, {10029, false, {10028, true, true}},
    };
    for (const Case& c : cases) {
        PairEffect e = CheckPairEffect(c.clicked, c.checked);
        EXPECT_EQ(e.otherId, c.effect.otherId) << c.clicked << c.checked;
        EXPECT_EQ(e.change, c.effect.change) << c.clicked << c.checked;
        if (e.change) {
            EXPECT_EQ(e.otherChecked, c.effect.otherChecked) << c.clicked << c.checked;
        }
    }
    EXPECT_FALSE(CheckPairEffect(10005, true).change); // " Tradeable" has no partner
}

TEST(NumberBox, ReadsLikeGetDlgItemIntUnsigned) {
    EXPECT_EQ(ParseNumberBox("123"), 123u);
    EXPECT_EQ(ParseNumberBox("0"), 0u);
    EXPECT_EQ(ParseNumberBox("007"), 7u);
    EXPECT_EQ(ParseNumberBox("4294967295"), 4294967295u);
    EXPECT_EQ(ParseNumberBox("4294967296"), 0u); // overflows 32 bits
    EXPECT_EQ(ParseNumberBox("99999999999999999999"), 0u);
    EXPECT_EQ(ParseNumberBox(""), 0u);
    EXPECT_EQ(ParseNumberBox("   "), 0u);
    EXPECT_EQ(ParseNumberBox("  42 "), 42u);
    EXPECT_EQ(ParseNumberBox("12a"), 0u);
    EXPECT_EQ(ParseNumberBox("-1"), 0u);
    EXPECT_EQ(ParseNumberBox("+1"), 0u);
    EXPECT_EQ(ParseNumberBox("1 2"), 0u);
}
