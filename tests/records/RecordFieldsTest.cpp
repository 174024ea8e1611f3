#include "records/RecordFields.h"
#include "records/RecordValues.h"
#include "tests/records/RecordBytes.h"

#include <string>
#include <vector>

namespace ledgrin {
namespace {

using test::Bytes;

// One named field as the file format defines it; writable fields are written by the
// Update, the others never.
struct Expected {
    std::string name;
    std::size_t offset;
    std::size_t width;
    bool writable;
};
using Layout = std::vector<Expected>;

// Five consecutive fields named {Power, Control, ...} + suffix.
Layout Five(const char* suffix, std::size_t offset, std::size_t width) {
    Layout five;
    for (const char* stat : {"Power", "Control", "Accuracy", "Spin", "Curve"})
        five.push_back({std::string(stat) + suffix, offset + five.size() * width, width, true});
    return five;
}

Layout HeadAnd(std::initializer_list<Layout> parts) {
    Layout all = {{"Enabled", 0, 4, false},   {"TypeID", 4, 4, false},        {"Level", 48, 1, true},
                  {"Price", 92, 4, true},     {"DiscountPrice", 96, 4, true}, {"ShopFlags", 104, 1, true},
                  {"MarkFlags", 105, 1, true}};
    for (const Layout& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Layout SetItemOwn() {
    Layout own = {{"MemberCount", 0xA8, 4, false}};
    for (int i = 0; i < 10; ++i) {
        own.push_back({"MemberTypeID" + std::to_string(i), 0xACu + 4u * i, 4, false});
        own.push_back({"MemberQuantity" + std::to_string(i), 0xD4u + 2u * i, 2, false});
    }
    return own;
}

Layout ExpectedLayout(TableIndex t) {
    const Layout days = {{"Price7Days", 0xFA, 2, true}, {"Price30Days", 0xFE, 2, true}};
    switch (t) {
    case kDescTable: return {{"TypeID", 0, 4, false}};
    case kPartTable:
        return HeadAnd({{{"PartSlot", 0xD0, 4, false}}, Five("", 0x1CC, 2), Five("Slot", 0x1D6, 2)});
    case kClubSetTable: return HeadAnd({Five("", 0xB8, 2), Five("Max", 0xC2, 2)});
    case kMascotTable:
        return HeadAnd({{{"PriceCopy", 0xF8, 2, true}},
                        days,
                        Five("", 0x102, 1),
                        {{"BonusRates", 0x10C, 4, true}, {"MascotFlags", 0x110, 4, true}}});
    case kCaddieTable: return HeadAnd({{{"MonthlyPrice", 0xA8, 4, true}}, Five("", 0xD4, 2)});
    case kSkinTable: return HeadAnd({{{"Price7Days", 0xD4, 2, true}, {"Price30Days", 0xD8, 2, true}}});
    case kAuxPartTable: return HeadAnd({Five("", 0xB2, 1), Five("Slot", 0xB7, 1)});
    case kCharacterTable:
        return HeadAnd({Five("", 0x148, 2),
                        Five("Slot", 0x152, 1),
                        {{"StatCopy0", 0x15C, 1, true},
                         {"StatCopy1", 0x15D, 1, true},
                         {"StatCopy2", 0x15E, 1, true},
                         {"StatCopy3", 0x15F, 1, true},
                         {"StatCopy4", 0x160, 1, true}}});
    case kHairStyleTable: return HeadAnd({{{"CharacterIndex", 0xA9, 1, false}}});
    case kCaddieItemTable: return HeadAnd({{{"PriceCopy", 0xF8, 2, true}}, days});
    case kSetItemTable: return HeadAnd({SetItemOwn()});
    case kCardTable:
        return HeadAnd({Five("Slot", 0xD2, 2),
                        {{"EffectValue", 0xDE, 2, true},
                         {"EffectTime", 0x158, 2, true},
                         {"Volume", 0x15A, 2, false},
                         {"Position", 0x15C, 4, false}}});
    default: return HeadAnd({}); // Item and Ball: the head alone
    }
}

class EveryTable : public ::testing::TestWithParam<TableIndex> {};

// Written with a 32-bit value, each field stores exactly its low bytes little-endian and
// nothing else; reading it back yields the cut value.
TEST_P(EveryTable, EachNamedFieldWritesAndReadsOnlyItsOwnBytes) {
    const TableIndex t = GetParam();
    const Bytes before = test::Pattern(RecordSize(t));
    for (const Expected& want : ExpectedLayout(t)) {
        const FieldDef* field = FindField(t, want.name);
        ASSERT_NE(field, nullptr) << want.name;
        Bytes rec = before;
        SetField(rec.data(), *field, 0xA1B2C3D4u);
        Bytes expected = before;
        test::Put(expected, want.offset, want.width, 0xA1B2C3D4u);
        test::ExpectSameBytes(expected, rec);
        const std::uint32_t cut = want.width == 4 ? 0xA1B2C3D4u : want.width == 2 ? 0xC3D4u : 0xD4u;
        EXPECT_EQ(GetField(rec.data(), *field), cut) << want.name;
    }
}

// An Update with every panel value changed leaves the read-only fields and every unnamed
// byte as loaded; a Desc record it leaves alone altogether.
TEST_P(EveryTable, AnUpdateWritesOnlyTheNameAndTheWritableFields) {
    const TableIndex t = GetParam();
    const Bytes before = test::Pattern(RecordSize(t));
    RecordValues v;
    v.name = "Edited";
    v.price = 70001, v.discountPrice = 70002, v.levelRow = 16;
    v.tradeable = v.notGiftable = v.availInShop = v.displayOnly = v.isNew = v.isHot = v.maximum = true;
    for (int i = 0; i < 5; ++i)
        v.stats[i] = 70100 + i, v.seconds[i] = 70200 + i;
    v.price7Days = v.price30Days = v.crellPercent = v.expPercent = v.effectValue = v.effectTime = 70300;
    v.extraItem = v.payMonthly = true;
    Bytes rec = before;
    ApplyUpdate(t, rec.data(), v);

    if (IsItemTable(t)) std::copy(before.begin() + 8, before.begin() + 48, rec.begin() + 8);
    for (const Expected& field : ExpectedLayout(t))
        if (field.writable)
            std::copy_n(before.begin() + field.offset, field.width, rec.begin() + field.offset);
    test::ExpectSameBytes(before, rec);
}

INSTANTIATE_TEST_SUITE_P(Tables, EveryTable, ::testing::Range<TableIndex>(kDescTable, kCardTable + 1),
                         test::TableParamName);

} // namespace
} // namespace ledgrin
