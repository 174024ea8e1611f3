#include "records/RecordValues.h"
#include "tests/records/RecordBytes.h"

namespace ledgrin {
namespace {

using test::Bytes;
using test::ExpectSameBytes;
using test::Put;

void CopyBytes(Bytes& rec, std::size_t to, std::size_t from, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        rec[to + i] = rec[from + i];
}

// A record that an unchanged panel writes back byte for byte: pattern bytes everywhere,
// a NUL-padded name, a level with a row, and every derived field already agreeing with
// the values it is derived from.
Bytes Clean(TableIndex t) {
    Bytes rec = test::Pattern(RecordSize(t));
    test::PutText(rec, 8, "Sample", 40);
    rec[48] = 0x03;
    if (t == kMascotTable) {
        CopyBytes(rec, 0xF8, 0x5C, 2);    // PriceCopy = low 16 bits of Price
        rec[0x10C] = 120, rec[0x10D] = 0; // CrellBonus 120
        rec[0x10E] = 0, rec[0x10F] = 0;   // ExpBonus 0 (shown as 100)
    }
    if (t == kCaddieItemTable) CopyBytes(rec, 0xF8, 0x5C, 2);
    if (t == kCaddieTable) CopyBytes(rec, 0xA8, 0x5C, 4); // paid monthly at the item's price
    if (t == kCharacterTable)
        for (std::size_t i = 0; i < 5; ++i)
            rec[0x15C + i] = rec[0x148 + 2 * i]; // StatCopy
    return rec;
}

template <class Edit> Bytes Updated(TableIndex t, Bytes rec, Edit edit) {
    RecordValues values = ReadRecordValues(t, rec.data());
    edit(values);
    ApplyUpdate(t, rec.data(), values);
    return rec;
}

Bytes Unchanged(TableIndex t, const Bytes& rec) {
    return Updated(t, rec, [](RecordValues&) {});
}

class ItemTables : public ::testing::TestWithParam<TableIndex> {};

TEST_P(ItemTables, AnUnchangedPanelWritesTheSameBytes) {
    const Bytes clean = Clean(GetParam());
    ExpectSameBytes(clean, Unchanged(GetParam(), clean));
}

TEST_P(ItemTables, ASecondUpdateWritesWhatTheFirstWrote) {
    auto edit = [](RecordValues& v) {
        v.name = "Renamed";
        v.price = 70000;
        for (std::uint32_t& s : v.stats)
            s = 300;
        for (std::uint32_t& s : v.seconds)
            s = 70000;
        v.crellPercent = 300;
        v.effectTime = 12;
        v.levelRow = 16;
    };
    const Bytes once = Updated(GetParam(), test::Pattern(RecordSize(GetParam())), edit);
    ExpectSameBytes(once, Updated(GetParam(), once, edit));
}

INSTANTIATE_TEST_SUITE_P(Tables, ItemTables, ::testing::Range<TableIndex>(kPartTable, kCardTable + 1),
                         [](const auto& info) {
                             std::string name = EntryName(info.param);
                             return name.substr(0, name.find('.'));
                         });

TEST(UnchangedPanel, RewritesOnlyTheBytesTheRulesNormalise) {
    Bytes before = Clean(kMascotTable);
    for (std::size_t i = 20; i < 48; ++i)
        before[i] = 0x55;                     // junk behind the NUL of "Sample"
    before[0xF8] = 0x11, before[0xF9] = 0x11; // PriceCopy disagrees with Price
    before[0x10C] = 50, before[0x10D] = 0xAA, before[0x10E] = 110, before[0x10F] = 0xBB;
    Bytes expected = before;
    for (std::size_t i = 20; i < 48; ++i)
        expected[i] = 0;
    expected[0xF8] = before[0x5C], expected[0xF9] = before[0x5D];
    expected[0x10C] = 0, expected[0x10D] = 0, expected[0x10E] = 110, expected[0x10F] = 0;
    ExpectSameBytes(expected, Unchanged(kMascotTable, before));

    before = Clean(kCharacterTable);
    for (std::size_t i = 0x15C; i <= 0x160; ++i)
        before[i] = 0xEE;
    expected = before;
    for (std::size_t i = 0; i < 5; ++i)
        expected[0x15C + i] = before[0x148 + 2 * i];
    ExpectSameBytes(expected, Unchanged(kCharacterTable, before));
}

TEST(UnchangedPanel, ANameWithoutNulKeepsItsFirst39Characters) {
    Bytes before = Clean(kBallTable);
    for (std::size_t i = 8; i < 48; ++i)
        before[i] = 'x';
    EXPECT_EQ(ReadRecordValues(kBallTable, before.data()).name, std::string(40, 'x'));
    Bytes expected = before;
    expected[47] = 0;
    ExpectSameBytes(expected, Unchanged(kBallTable, before));
}

TEST(HeadUpdate, WritesPricesNamedFlagBitsAndLevelOnly) {
    Bytes before = Clean(kBallTable);
    before[0x68] = 0x1C; // only the uninterpreted shop bits 2..4
    before[0x69] = 0xFC; // only the uninterpreted mark bits 2..7

    Bytes rec = Updated(kBallTable, before, [](RecordValues& v) {
        v.name = "Tour Ball";
        v.price = 123456;
        v.discountPrice = 7;
        v.currencyRow = 1;
        v.tradeable = v.notGiftable = v.availInShop = v.displayOnly = true;
        v.isNew = v.isHot = true;
        v.levelRow = 3;
        v.maximum = true;
    });
    Bytes expected = before;
    test::PutText(expected, 8, "Tour Ball", 40);
    Put(expected, 0x5C, 4, 123456);
    Put(expected, 0x60, 4, 7);
    expected[0x68] = 0xFF;
    expected[0x69] = 0xFF;
    expected[0x30] = 0x83;
    ExpectSameBytes(expected, rec);

    rec = Updated(kBallTable, rec, [](RecordValues& v) {
        v.currencyRow = 0;
        v.tradeable = v.notGiftable = v.availInShop = v.displayOnly = false;
        v.isNew = v.isHot = false;
        v.maximum = false;
    });
    expected[0x68] = 0x1C;
    expected[0x69] = 0xFC;
    expected[0x30] = 0x03;
    ExpectSameBytes(expected, rec);
}

TEST(HeadUpdate, NoCurrencyRowStoresPoints) {
    Bytes before = Clean(kItemTable);
    before[0x68] = 0x00;
    const Bytes rec = Updated(kItemTable, before, [](RecordValues& v) { v.currencyRow = -1; });
    EXPECT_EQ(rec[0x68], 0x01);
}

TEST(HeadUpdate, BothShopBitsFiveAndSevenSurviveAnUnchangedPanel) {
    Bytes before = Clean(kItemTable);
    before[0x68] = 0xA0;
    const RecordValues shown = ReadRecordValues(kItemTable, before.data());
    EXPECT_TRUE(shown.availInShop);
    EXPECT_TRUE(shown.displayOnly);
    EXPECT_EQ(Unchanged(kItemTable, before)[0x68], 0xA0);
}

TEST(Level, ShowsTheRowAndTheMaximumBit) {
    struct Case {
        std::uint8_t stored;
        int row;
        bool maximum;
    };
    for (const Case& c : {Case{0x85, 5, true}, Case{0x05, 5, false}, Case{0x90, 16, true},
                          Case{0x11, -1, false}, Case{0xFF, -1, true}}) {
        Bytes rec = Clean(kItemTable);
        rec[0x30] = c.stored;
        const RecordValues v = ReadRecordValues(kItemTable, rec.data());
        EXPECT_EQ(v.levelRow, c.row) << int(c.stored);
        EXPECT_EQ(v.maximum, c.maximum) << int(c.stored);
    }
}

TEST(Level, IsTheRowWithBitSevenFromMaximum) {
    EXPECT_EQ(LevelByteForUpdate(0x00, 3, true), 0x83);
    EXPECT_EQ(LevelByteForUpdate(0x85, 3, false), 0x03);
    EXPECT_EQ(LevelByteForUpdate(0x85, 0, false), 0x00);
    EXPECT_EQ(LevelByteForUpdate(0x05, 16, true), 0x90);
}

TEST(Level, WithoutARowKeepsTheStoredIndex) {
    EXPECT_EQ(LevelByteForUpdate(0x91, -1, false), 0x11);
    EXPECT_EQ(LevelByteForUpdate(0x11, -1, true), 0x91);
    EXPECT_EQ(LevelByteForUpdate(0x7F, -1, false), 0x7F); // not 0xFF, the list's "no selection"
    Bytes rec = Clean(kItemTable);
    rec[0x30] = 0x91;
    EXPECT_EQ(Unchanged(kItemTable, rec)[0x30], 0x91);
}

TEST(NarrowFields, KeepTheLowBitsOfTheEnteredNumber) {
    struct Case {
        TableIndex table;
        bool second; // the second box of the Power pair
        std::uint32_t entered;
        std::size_t offset;
        Bytes stored;
    };
    const Case cases[] = {
        {kAuxPartTable, false, 300, 0xB2, {44}},          {kPartTable, false, 300, 0x1CC, {0x2C, 0x01}},
        {kCharacterTable, true, 300, 0x152, {44}},        {kMascotTable, false, 300, 0x102, {44}},
        {kCaddieTable, false, 70000, 0xD4, {0x70, 0x11}}, {kClubSetTable, true, 70000, 0xC2, {0x70, 0x11}},
        {kCardTable, false, 70000, 0xD2, {0x70, 0x11}},
    };
    for (const Case& c : cases) {
        const Bytes before = Clean(c.table);
        const Bytes rec = Updated(c.table, before,
                                  [&](RecordValues& v) { (c.second ? v.seconds : v.stats)[0] = c.entered; });
        Bytes expected = before;
        std::copy(c.stored.begin(), c.stored.end(), expected.begin() + c.offset);
        if (c.table == kCharacterTable && !c.second) expected[0x15C] = c.stored[0];
        SCOPED_TRACE(EntryName(c.table));
        ExpectSameBytes(expected, rec);
    }
}

TEST(NarrowFields, PartCurveSlotAndSkinPricesCutTo16Bits) {
    Bytes before = Clean(kPartTable);
    Bytes rec = Updated(kPartTable, before, [](RecordValues& v) { v.seconds[4] = 70000; });
    Bytes expected = before;
    expected[0x1DE] = 0x70, expected[0x1DF] = 0x11; // 4464
    ExpectSameBytes(expected, rec);

    before = Clean(kSkinTable);
    rec = Updated(kSkinTable, before, [](RecordValues& v) {
        v.price7Days = 70000;
        v.price30Days = 65536;
    });
    expected = before;
    expected[0xD4] = 0x70, expected[0xD5] = 0x11; // 0xD6..0xD7 lie between and stay
    expected[0xD8] = 0x00, expected[0xD9] = 0x00;
    ExpectSameBytes(expected, rec);
}

TEST(PriceCopy, IsTheLow16BitsOfThePriceJustEntered) {
    for (TableIndex t : {kMascotTable, kCaddieItemTable}) {
        const Bytes before = Clean(t);
        const Bytes rec = Updated(t, before, [](RecordValues& v) { v.price = 123456; });
        Bytes expected = before;
        Put(expected, 0x5C, 4, 123456);
        expected[0xF8] = 0x40, expected[0xF9] = 0xE2; // 57920
        SCOPED_TRACE(EntryName(t));
        ExpectSameBytes(expected, rec);
    }
}

TEST(MascotBonus, StoredZeroIsShownAs100) {
    Bytes rec = Clean(kMascotTable);
    Put(rec, 0x10C, 4, 0);
    RecordValues v = ReadRecordValues(kMascotTable, rec.data());
    EXPECT_EQ(v.crellPercent, 100u);
    EXPECT_EQ(v.expPercent, 100u);
    EXPECT_EQ(test::Get(Unchanged(kMascotTable, rec), 0x10C, 4), 0u);

    rec[0x10E] = 110;
    v = ReadRecordValues(kMascotTable, rec.data());
    EXPECT_EQ(v.crellPercent, 100u);
    EXPECT_EQ(v.expPercent, 110u);
}

TEST(MascotBonus, EnteredPercentAbove100KeepsItsLowByteElse0) {
    EXPECT_EQ(BonusPercentByte(100), 0);
    EXPECT_EQ(BonusPercentByte(50), 0);
    EXPECT_EQ(BonusPercentByte(101), 101);
    EXPECT_EQ(BonusPercentByte(120), 120);
    EXPECT_EQ(BonusPercentByte(300), 44);
    EXPECT_EQ(BonusPercentByte(256), 0);
    EXPECT_EQ(BonusPercentByte(0x7FFFFFFF), 0xFF);
    EXPECT_EQ(BonusPercentByte(0x80000065), 0); // negative as a signed 32-bit number
    EXPECT_EQ(BonusPercentByte(0xFFFFFFFF), 0);
}

TEST(MascotBonus, TheWholeWordIsRebuiltWithBytesOneAndThreeCleared) {
    struct Case {
        std::uint32_t crell, exp;
        Bytes word;
    };
    const Case cases[] = {
        {100, 100, {0, 0, 0, 0}},
        {120, 100, {120, 0, 0, 0}},
        {50, 300, {0, 0, 44, 0}},
        {255, 101, {255, 0, 101, 0}},
    };
    for (const Case& c : cases) {
        Bytes before = Clean(kMascotTable);
        before[0x10D] = 0xAA, before[0x10F] = 0xBB;
        const Bytes rec = Updated(kMascotTable, before, [&](RecordValues& v) {
            v.crellPercent = c.crell;
            v.expPercent = c.exp;
        });
        Bytes expected = before;
        std::copy(c.word.begin(), c.word.end(), expected.begin() + 0x10C);
        ExpectSameBytes(expected, rec);
    }
}

TEST(MascotBonus, AStoredPercentOf100OrLessIsShownAndThenBecomes0) {
    Bytes rec = Clean(kMascotTable);
    rec[0x10C] = 50, rec[0x10D] = 1, rec[0x10E] = 100, rec[0x10F] = 2;
    const RecordValues v = ReadRecordValues(kMascotTable, rec.data());
    EXPECT_EQ(v.crellPercent, 50u);
    EXPECT_EQ(v.expPercent, 100u);
    EXPECT_EQ(test::Get(Unchanged(kMascotTable, rec), 0x10C, 4), 0u);
}

TEST(MascotFlags, OnlyBitZeroFollowsExtraItem) {
    Bytes before = Clean(kMascotTable);
    Put(before, 0x110, 4, 6);
    EXPECT_FALSE(ReadRecordValues(kMascotTable, before.data()).extraItem);
    Bytes rec = Updated(kMascotTable, before, [](RecordValues& v) { v.extraItem = true; });
    Bytes expected = before;
    expected[0x110] = 7;
    ExpectSameBytes(expected, rec);

    Put(before, 0x110, 4, 0xFFFFFFFF);
    EXPECT_TRUE(ReadRecordValues(kMascotTable, before.data()).extraItem);
    rec = Updated(kMascotTable, before, [](RecordValues& v) { v.extraItem = false; });
    expected = before;
    expected[0x110] = 0xFE;
    ExpectSameBytes(expected, rec);
}

TEST(MascotPrices, SevenAndThirtyDaysAreU16) {
    const Bytes before = Clean(kMascotTable);
    const Bytes rec = Updated(kMascotTable, before, [](RecordValues& v) {
        v.price7Days = 70000;
        v.price30Days = 65535;
    });
    Bytes expected = before;
    expected[0xFA] = 0x70, expected[0xFB] = 0x11; // 0xFC..0xFD stay
    expected[0xFE] = 0xFF, expected[0xFF] = 0xFF;
    ExpectSameBytes(expected, rec);
}

TEST(CaddieMonthlyPrice, IsThePriceJustWrittenOr0) {
    Bytes before = Clean(kCaddieTable);
    Put(before, 0x5C, 4, 300);
    Put(before, 0xA8, 4, 500);
    EXPECT_TRUE(ReadRecordValues(kCaddieTable, before.data()).payMonthly);

    Bytes rec = Unchanged(kCaddieTable, before);
    Bytes expected = before;
    Put(expected, 0xA8, 4, 300);
    ExpectSameBytes(expected, rec);

    rec = Updated(kCaddieTable, before, [](RecordValues& v) { v.price = 500; });
    Put(expected, 0x5C, 4, 500);
    Put(expected, 0xA8, 4, 500);
    ExpectSameBytes(expected, rec);

    rec = Updated(kCaddieTable, before, [](RecordValues& v) { v.payMonthly = false; });
    expected = before;
    Put(expected, 0xA8, 4, 0);
    ExpectSameBytes(expected, rec);
    EXPECT_FALSE(ReadRecordValues(kCaddieTable, rec.data()).payMonthly);
}

TEST(CharacterStatCopy, HoldsTheLowBytesOfTheStatsAsStored) {
    const Bytes before = Clean(kCharacterTable);
    const Bytes rec = Updated(kCharacterTable, before, [](RecordValues& v) {
        const std::uint32_t stats[5] = {258, 1, 65535, 256, 70000};
        std::copy(stats, stats + 5, v.stats);
    });
    Bytes expected = before;
    const Bytes stats = {0x02, 0x01, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x01, 0x70, 0x11};
    std::copy(stats.begin(), stats.end(), expected.begin() + 0x148);
    const Bytes copy = {0x02, 0x01, 0xFF, 0x00, 0x70};
    std::copy(copy.begin(), copy.end(), expected.begin() + 0x15C); // 0x157..0x15B stay
    ExpectSameBytes(expected, rec);
}

TEST(CardEffectTime, IsWrittenOnlyWhenStoredAndEnteredAreBothNonZero) {
    struct Case {
        std::uint16_t stored;
        std::uint32_t entered;
        std::uint16_t result;
    };
    const Case cases[] = {{0, 30, 0}, {30, 0, 30}, {30, 45, 45}, {0, 0, 0}, {30, 65536, 30}, {30, 65537, 1}};
    for (const Case& c : cases) {
        Bytes before = Clean(kCardTable);
        Put(before, 0x158, 2, c.stored);
        const Bytes rec = Updated(kCardTable, before, [&](RecordValues& v) { v.effectTime = c.entered; });
        Bytes expected = before;
        Put(expected, 0x158, 2, c.result);
        SCOPED_TRACE(testing::Message() << c.stored << " " << c.entered);
        ExpectSameBytes(expected, rec);
    }
}

TEST(CardEffectValue, IsAlwaysWrittenAndVolumeAndPositionNever) {
    Bytes before = Clean(kCardTable);
    Put(before, 0xDE, 2, 5);
    Put(before, 0x15A, 2, 3);
    Put(before, 0x15C, 4, 1234);
    const RecordValues shown = ReadRecordValues(kCardTable, before.data());
    EXPECT_EQ(shown.effectValue, 5u);
    const Bytes rec = Updated(kCardTable, before, [](RecordValues& v) { v.effectValue = 0; });
    Bytes expected = before;
    Put(expected, 0xDE, 2, 0);
    ExpectSameBytes(expected, rec);
}

TEST(Display, StatGroupsFollowEachTablesLayout) {
    Bytes rec = Clean(kCharacterTable);
    const Bytes stats = {1, 1, 2, 0, 3, 0, 4, 0, 5, 0, 6, 7, 8, 9, 10};
    std::copy(stats.begin(), stats.end(), rec.begin() + 0x148);
    RecordValues v = ReadRecordValues(kCharacterTable, rec.data());
    const std::uint32_t first[5] = {257, 2, 3, 4, 5}, second[5] = {6, 7, 8, 9, 10};
    EXPECT_TRUE(std::equal(first, first + 5, v.stats));
    EXPECT_TRUE(std::equal(second, second + 5, v.seconds));

    rec = Clean(kCardTable);
    Put(rec, 0xD2, 2, 11), Put(rec, 0xDA, 2, 15);
    v = ReadRecordValues(kCardTable, rec.data());
    EXPECT_EQ(v.stats[0], 11u);
    EXPECT_EQ(v.stats[4], 15u);
    for (std::uint32_t s : v.seconds)
        EXPECT_EQ(s, 0u);
}

TEST(Display, TablesWithoutStatsShowZeros) {
    for (TableIndex t :
         {kItemTable, kBallTable, kSkinTable, kHairStyleTable, kCaddieItemTable, kSetItemTable}) {
        const RecordValues v = ReadRecordValues(t, Clean(t).data());
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(v.stats[i], 0u) << EntryName(t);
            EXPECT_EQ(v.seconds[i], 0u) << EntryName(t);
        }
    }
}

TEST(Update, NeverWritesSetMembersOrTheHairStyleCharacter) {
    for (TableIndex t : {kSetItemTable, kHairStyleTable}) {
        const Bytes before = Clean(t);
        const Bytes rec = Updated(t, before, [](RecordValues& v) { v.price = 1; });
        Bytes expected = before;
        Put(expected, 0x5C, 4, 1);
        SCOPED_TRACE(EntryName(t));
        ExpectSameBytes(expected, rec);
    }
}

TEST(Update, LeavesARecordOfANonItemTableAlone) {
    const Bytes before = test::Pattern(516);
    Bytes rec = before;
    RecordValues v;
    v.name = "x";
    ApplyUpdate(kDescTable, rec.data(), v);
    ExpectSameBytes(before, rec);
}

} // namespace
} // namespace ledgrin
