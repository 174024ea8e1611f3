#include "records/RecordValues.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"
#include "tests/records/RecordBytes.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace ledgrin {
namespace {

using test::Bytes;
using test::ExpectSameBytes;
using test::Put;

// A record that an unchanged panel writes back byte for byte: pattern bytes everywhere,
// a NUL-padded name, a level with a row, and every derived field agreeing with its source.
Bytes Clean(TableIndex t) {
    Bytes rec = test::Pattern(RecordSize(t));
    test::PutText(rec, 8, "Sample", 40);
    rec[48] = 0x03;
    if (t == kMascotTable || t == kCaddieItemTable) std::copy_n(&rec[0x5C], 2, &rec[0xF8]); // PriceCopy
    if (t == kMascotTable) Put(rec, 0x10C, 4, 120); // CrellBonus 120, ExpBonus 0 (shown as 100)
    if (t == kCaddieTable) std::copy_n(&rec[0x5C], 4, &rec[0xA8]); // paid monthly at the item's price
    if (t == kCharacterTable)
        for (std::size_t i = 0; i < 5; ++i)
            rec[0x15C + i] = rec[0x148 + 2 * i]; // StatCopy
    return rec;
}

using Edit = std::function<void(RecordValues&)>;

Bytes Updated(TableIndex t, Bytes rec, const Edit& edit) {
    RecordValues values = ReadRecordValues(t, rec.data());
    edit(values);
    ApplyUpdate(t, rec.data(), values);
    return rec;
}

const Edit kNoEdit = [](RecordValues&) {};

struct Field {
    std::size_t offset, width;
    std::uint32_t value;
};

// A clean record of table t holding `stored`, updated with `edit`: every byte is as
// loaded except the fields in `written`.
void ExpectUpdate(TableIndex t, const std::vector<Field>& stored, const Edit& edit,
                  const std::vector<Field>& written) {
    Bytes before = Clean(t);
    for (const Field& f : stored)
        Put(before, f.offset, f.width, f.value);
    Bytes expected = before;
    for (const Field& f : written)
        Put(expected, f.offset, f.width, f.value);
    SCOPED_TRACE(testing::Message() << EntryName(t) << ", first field written at 0x" << std::hex
                                    << (written.empty() ? 0 : written[0].offset));
    ExpectSameBytes(expected, Updated(t, before, edit));
}

class ItemTables : public ::testing::TestWithParam<TableIndex> {};

TEST_P(ItemTables, AnUnchangedPanelWritesTheSameBytes) {
    ExpectUpdate(GetParam(), {}, kNoEdit, {});
}

INSTANTIATE_TEST_SUITE_P(Tables, ItemTables, ::testing::Range<TableIndex>(kPartTable, kCardTable + 1));

TEST(Name, IsBoundedByItsFortyBytesAndStoredAsAtMost39CharactersAndANul) {
    Bytes rec = Clean(kBallTable);
    std::fill(rec.begin() + 8, rec.begin() + 48, 'x'); // no NUL; the Level byte behind is none either,
    rec[49] = 0;                                       // but a reader past the field finds one here
    EXPECT_EQ(RecordName(rec.data()), std::string(40, 'x'));
    EXPECT_EQ(ReadRecordValues(kBallTable, rec.data()).name, std::string(40, 'x'));
    Bytes expected = rec;
    expected[47] = 0;
    ExpectSameBytes(expected, Updated(kBallTable, rec, kNoEdit));
    SetRecordName(rec.data(), RecordName(rec.data())); // a view of the very bytes it replaces
    ExpectSameBytes(expected, rec);

    for (const auto& [entered, stored] : {std::pair<std::string, std::string>{"Iron", "Iron"},
                                          {std::string(40, 'x'), std::string(39, 'x')},
                                          {"", ""},
                                          {std::string("Put\0ter", 7), "Put"}}) {
        expected = rec;
        test::PutText(expected, 8, stored, 40); // the whole field cleared behind the text
        SetRecordName(rec.data(), entered);
        ExpectSameBytes(expected, rec);
    }
}

// Every panel value changed: the head's fields and the table's own, each cut to its width,
// and not one byte more.
TEST(Update, WritesEveryPanelValueIntoItsTablesFieldsOnly) {
    constexpr std::uint32_t kPrice = 0xABCDEF, kStat = 70100, kSecond = 70200, kDays = 70300;
    const Edit everything = [](RecordValues& v) {
        v.price = kPrice, v.discountPrice = 70002, v.currencyRow = -1; // no selection stores Points
        v.tradeable = v.notGiftable = v.availInShop = v.displayOnly = v.isNew = v.isHot = true;
        v.levelRow = 16, v.maximum = true;
        for (std::uint32_t i = 0; i < 5; ++i)
            v.stats[i] = kStat + i, v.seconds[i] = kSecond + i;
        v.price7Days = kDays, v.price30Days = kDays + 1, v.crellPercent = 120, v.expPercent = 130;
        v.extraItem = v.payMonthly = true, v.effectValue = kDays + 2, v.effectTime = kDays + 3;
    };
    // Five consecutive fields from offset, holding first, first + 1, ...
    const auto five = [](std::size_t offset, std::size_t width, std::uint32_t first) {
        std::vector<Field> fields;
        for (std::uint32_t i = 0; i < 5; ++i)
            fields.push_back({offset + i * width, width, first + i});
        return fields;
    };
    const auto join = [](std::initializer_list<std::vector<Field>> parts) {
        std::vector<Field> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    // Shop bits 2..4 and mark bits 2..7 are always kept.
    const std::vector<Field> flags = {{0x68, 1, 0x1C}, {0x69, 1, 0xFC}};
    const std::vector<Field> head = {
        {0x30, 1, 0x90}, {0x5C, 4, kPrice}, {0x60, 4, 70002}, {0x68, 1, 0xFF}, {0x69, 1, 0xFF}};
    const std::vector<Field> days = {
        {0xF8, 2, kPrice}, {0xFA, 2, kDays}, {0xFE, 2, kDays + 1}}; // PriceCopy first
    const struct {
        TableIndex t;
        std::vector<Field> stored, written;
    } cases[] = {
        {kItemTable, {}, {}},
        {kBallTable, {}, {}},
        {kHairStyleTable, {}, {}},
        {kSetItemTable, {}, {}},
        {kPartTable, {}, join({five(0x1CC, 2, kStat), five(0x1D6, 2, kSecond)})},
        {kClubSetTable, {}, join({five(0xB8, 2, kStat), five(0xC2, 2, kSecond)})},
        {kMascotTable,
         {{0x110, 4, 6}},
         join({days, five(0x102, 1, kStat), {{0x10C, 4, 130u << 16 | 120u}, {0x110, 4, 7}}})},
        {kCaddieTable, {}, join({{{0xA8, 4, kPrice}}, five(0xD4, 2, kStat)})},
        {kSkinTable, {}, {{0xD4, 2, kDays}, {0xD8, 2, kDays + 1}}},
        {kAuxPartTable, {}, join({five(0xB2, 1, kStat), five(0xB7, 1, kSecond)})},
        // StatCopy: the stats' low bytes.
        {kCharacterTable, {}, join({five(0x148, 2, kStat), five(0x152, 1, kSecond), five(0x15C, 1, kStat)})},
        {kCaddieItemTable, {}, days},
        {kCardTable, {}, join({five(0xD2, 2, kStat), {{0xDE, 2, kDays + 2}, {0x158, 2, kDays + 3}}})},
    };
    for (const auto& c : cases)
        ExpectUpdate(c.t, join({flags, c.stored}), everything, join({head, c.written}));
}

TEST(HeadUpdate, ClearsOnlyTheNamedBits) {
    // Kept flags, shop bits 5 and 7 both set among them, are held by the unchanged panels.
    ExpectUpdate(kBallTable, {{0x68, 1, 0xFF}, {0x69, 1, 0xFF}},
                 [](RecordValues& v) {
                     v.currencyRow = 0;
                     v.tradeable = v.notGiftable = v.availInShop = v.displayOnly = v.isNew = v.isHot = false;
                 },
                 {{0x68, 1, 0x1C}, {0x69, 1, 0xFC}});
}

TEST(Level, ShowsRowAndMaximumAndStoresTheRowWithBitSevenFromMaximum) {
    // Without a row (-1) the stored low 7 bits stay: 0x7F never becomes 0xFF, the list's "no selection".
    for (const auto& [stored, shownRow, shownMax, row, maximum, result] :
         {std::tuple{0x85, 5, true, 3, false, 0x03},
          {0x05, 5, false, 16, true, 0x90},
          {0x91, -1, true, -1, false, 0x11},
          {0x11, -1, false, -1, true, 0x91},
          {0x7F, -1, false, -1, false, 0x7F}}) {
        Bytes rec = Clean(kItemTable);
        rec[0x30] = static_cast<std::uint8_t>(stored);
        const RecordValues shown = ReadRecordValues(kItemTable, rec.data());
        EXPECT_EQ(shown.levelRow, shownRow) << stored;
        EXPECT_EQ(shown.maximum, shownMax) << stored;
        ExpectUpdate(
            kItemTable, {{0x30, 1, std::uint32_t(stored)}},
            [row = row, maximum = maximum](RecordValues& v) { v.levelRow = row, v.maximum = maximum; },
            {{0x30, 1, std::uint32_t(result)}});
    }
}

TEST(MascotBonus, AStoredZeroShowsAs100AndAnEntryAbove100KeepsItsLowByteElse0) {
    // The whole word is rebuilt: bytes 1 and 3 are cleared; 0x80000065 is negative as an int32.
    for (const auto& [stored, crellShown, expShown, crell, exp, word] :
         {std::tuple{0u, 100u, 100u, 100u, 100u, 0u},
          {0x02640132u, 50u, 100u, 120u, 100u, 120u},
          {0xBBFFAAC8u, 200u, 255u, 50u, 300u, 0x002C0000u},
          {0x006E0000u, 100u, 110u, 101u, 0x80000065u, 101u},
          {0u, 100u, 100u, 256u, 0x7FFFFFFFu, 0x00FF0000u}}) {
        Bytes rec = Clean(kMascotTable);
        Put(rec, 0x10C, 4, stored);
        const RecordValues shown = ReadRecordValues(kMascotTable, rec.data());
        EXPECT_EQ(shown.crellPercent, crellShown);
        EXPECT_EQ(shown.expPercent, expShown);
        ExpectUpdate(
            kMascotTable, {{0x10C, 4, stored}},
            [crell = crell, exp = exp](RecordValues& v) { v.crellPercent = crell, v.expPercent = exp; },
            {{0x10C, 4, word}});
    }
}

TEST(CardEffectTime, IsWrittenOnlyWhenStoredAndEnteredAreBothNonZero) {
    for (const auto& [stored, entered, result] :
         {std::tuple{0u, 30u, 0u}, {30u, 0u, 30u}, {30u, 45u, 45u}, {30u, 65536u, 30u}, {30u, 65537u, 1u}})
        ExpectUpdate(kCardTable, {{0x158, 2, stored}},
                     [entered = entered](RecordValues& v) { v.effectTime = entered; }, {{0x158, 2, result}});
    // EffectValue, unlike it, can be cleared.
    ExpectUpdate(kCardTable, {{0xDE, 2, 5}}, [](RecordValues& v) { v.effectValue = 0; }, {{0xDE, 2, 0}});
}

// Every row is found by its exact name (the first row of that name, should two share it);
// a prefix, a longer name, another case, a NUL inside or an unknown table find nothing.
TEST(FindField, FindsEachRowByItsExactNameOnly) {
    for (TableIndex t = 0; t < kTableCount; ++t) {
        const FieldList fields = TableFields(t);
        ASSERT_GT(fields.size(), 0u);
        for (const FieldDef& field : fields) {
            const FieldDef* first = &field;
            for (const FieldDef& other : fields)
                if (std::string_view(other.name) == field.name) {
                    first = &other;
                    break;
                }
            EXPECT_EQ(FindField(t, field.name), first) << t << " " << field.name;
        }
    }
    EXPECT_NE(FindField(kPartTable, "Price"), nullptr);
    for (std::string_view name :
         {std::string_view("Pric"), std::string_view("PriceX"), std::string_view("price"),
          std::string_view("Price\0", 6), std::string_view(""), std::string_view("Zzz")})
        EXPECT_EQ(FindField(kPartTable, name), nullptr) << name;
    EXPECT_EQ(FindField(kTableCount, "Price"), nullptr);
    EXPECT_EQ(FindField(-1, "Price"), nullptr);
}

} // namespace
} // namespace ledgrin
