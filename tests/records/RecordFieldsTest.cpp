#include "records/RecordFields.h"
#include "tests/records/RecordBytes.h"

#include <string>
#include <vector>

namespace ledgrin {
namespace {

using test::Bytes;

// One named field as the file format defines it: offset, width and who writes it
// ('E' the Update from a control, 'D' the Update from other values, 'R' never).
struct Expected {
    std::string name;
    std::size_t offset;
    std::size_t width;
    char access;
};
using Layout = std::vector<Expected>;

Layout Head() {
    return {{"Enabled", 0, 4, 'R'},    {"TypeID", 4, 4, 'R'},         {"Level", 48, 1, 'E'},
            {"Price", 92, 4, 'E'},     {"DiscountPrice", 96, 4, 'E'}, {"ShopFlags", 104, 1, 'E'},
            {"MarkFlags", 105, 1, 'E'}};
}

Layout HeadAnd(const Layout& own) {
    Layout all = Head();
    all.insert(all.end(), own.begin(), own.end());
    return all;
}

// Five consecutive fields named prefix + {Power, Control, ...} + suffix.
Layout Five(const char* suffix, std::size_t offset, std::size_t width, char access = 'E') {
    Layout five;
    for (const char* stat : {"Power", "Control", "Accuracy", "Spin", "Curve"})
        five.push_back({std::string(stat) + suffix, offset + five.size() * width, width, access});
    return five;
}

Layout Join(std::initializer_list<Layout> parts) {
    Layout all;
    for (const Layout& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Layout SetItemOwn() {
    Layout own = {{"MemberCount", 0xA8, 4, 'R'}};
    for (int i = 0; i < 10; ++i)
        own.push_back({"MemberTypeID" + std::to_string(i), 0xACu + 4u * i, 4, 'R'});
    for (int i = 0; i < 10; ++i)
        own.push_back({"MemberQuantity" + std::to_string(i), 0xD4u + 2u * i, 2, 'R'});
    return own;
}

Layout ExpectedLayout(TableIndex t) {
    switch (t) {
    case kDescTable: return {{"TypeID", 0, 4, 'R'}};
    case kPartTable:
        return HeadAnd(Join({{{"PartSlot", 0xD0, 4, 'R'}}, Five("", 0x1CC, 2), Five("Slot", 0x1D6, 2)}));
    case kClubSetTable: return HeadAnd(Join({Five("", 0xB8, 2), Five("Max", 0xC2, 2)}));
    case kMascotTable:
        return HeadAnd(
            Join({{{"PriceCopy", 0xF8, 2, 'D'}, {"Price7Days", 0xFA, 2, 'E'}, {"Price30Days", 0xFE, 2, 'E'}},
                  Five("", 0x102, 1),
                  {{"BonusRates", 0x10C, 4, 'E'}, {"MascotFlags", 0x110, 4, 'E'}}}));
    case kCaddieTable: return HeadAnd(Join({{{"MonthlyPrice", 0xA8, 4, 'D'}}, Five("", 0xD4, 2)}));
    case kSkinTable: return HeadAnd({{"Price7Days", 0xD4, 2, 'E'}, {"Price30Days", 0xD8, 2, 'E'}});
    case kAuxPartTable: return HeadAnd(Join({Five("", 0xB2, 1), Five("Slot", 0xB7, 1)}));
    case kCharacterTable:
        return HeadAnd(Join({Five("", 0x148, 2),
                             Five("Slot", 0x152, 1),
                             {{"StatCopy0", 0x15C, 1, 'D'},
                              {"StatCopy1", 0x15D, 1, 'D'},
                              {"StatCopy2", 0x15E, 1, 'D'},
                              {"StatCopy3", 0x15F, 1, 'D'},
                              {"StatCopy4", 0x160, 1, 'D'}}}));
    case kHairStyleTable: return HeadAnd({{"CharacterIndex", 0xA9, 1, 'R'}});
    case kCaddieItemTable:
        return HeadAnd(
            {{"PriceCopy", 0xF8, 2, 'D'}, {"Price7Days", 0xFA, 2, 'E'}, {"Price30Days", 0xFE, 2, 'E'}});
    case kSetItemTable: return HeadAnd(SetItemOwn());
    case kCardTable:
        return HeadAnd(Join({Five("Slot", 0xD2, 2),
                             {{"EffectValue", 0xDE, 2, 'E'},
                              {"EffectTime", 0x158, 2, 'E'},
                              {"Volume", 0x15A, 2, 'R'},
                              {"Position", 0x15C, 4, 'R'}}}));
    default: return Head(); // Item and Ball: the head alone
    }
}

char AccessLetter(FieldAccess access) {
    switch (access) {
    case FieldAccess::Editable: return 'E';
    case FieldAccess::Derived: return 'D';
    default: return 'R';
    }
}

class EveryTable : public ::testing::TestWithParam<TableIndex> {};

TEST_P(EveryTable, ListsExactlyItsNamedFieldsInOffsetOrder) {
    const TableIndex t = GetParam();
    const Layout expected = ExpectedLayout(t);
    const FieldList fields = TableFields(t);
    ASSERT_EQ(fields.size(), expected.size()) << EntryName(t);
    std::size_t i = 0;
    for (const FieldDef& field : fields) {
        const Expected& want = expected[i++];
        EXPECT_EQ(field.name, want.name) << EntryName(t);
        EXPECT_EQ(field.offset, want.offset) << EntryName(t) << " " << want.name;
        EXPECT_EQ(field.width, want.width) << EntryName(t) << " " << want.name;
        EXPECT_EQ(AccessLetter(field.access), want.access) << EntryName(t) << " " << want.name;
    }
}

// Each field, written with a 32-bit value, stores exactly its low bytes little-endian and
// nothing else; reading it back yields the stored (cut) value.
TEST_P(EveryTable, EachFieldWritesOnlyItsOwnBytes) {
    const TableIndex t = GetParam();
    const Bytes before = test::Pattern(RecordSize(t));
    for (const Expected& want : ExpectedLayout(t)) {
        const FieldDef* field = FindField(t, want.name);
        ASSERT_NE(field, nullptr) << EntryName(t) << " " << want.name;
        Bytes rec = before;
        SetField(rec.data(), *field, 0xA1B2C3D4u);
        Bytes expected = before;
        test::Put(expected, want.offset, want.width, 0xA1B2C3D4u);
        test::ExpectSameBytes(expected, rec);
        const std::uint32_t stored = want.width == 4 ? 0xA1B2C3D4u : want.width == 2 ? 0xC3D4u : 0xD4u;
        EXPECT_EQ(GetField(rec.data(), *field), stored) << EntryName(t) << " " << want.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, EveryTable, ::testing::Range<TableIndex>(kDescTable, kCardTable + 1),
                         [](const auto& info) {
                             std::string name = EntryName(info.param);
                             return name.substr(0, name.find('.'));
                         });

TEST(FieldLookup, IsExactAndPerTable) {
    EXPECT_EQ(FindField(kMascotTable, "power"), nullptr);
    EXPECT_EQ(FindField(kPartTable, "BonusRates"), nullptr);
    EXPECT_EQ(FindField(kItemTable, "Power"), nullptr);
    EXPECT_EQ(FindField(kDescTable, "Price"), nullptr);
    EXPECT_EQ(TableFields(14).size(), 0u);
    EXPECT_EQ(TableFields(-1).size(), 0u);
}

TEST(StatGroups, ReadZerosAndWriteNothingWhereATableHasNone) {
    const Bytes before = test::Pattern(RecordSize(kMascotTable));
    std::uint32_t second[5] = {9, 9, 9, 9, 9};
    ReadStatGroup(before.data(), StatLayout(kMascotTable).second, second);
    for (std::uint32_t v : second)
        EXPECT_EQ(v, 0u);

    Bytes rec = before;
    const std::uint32_t values[5] = {1, 2, 3, 4, 5};
    WriteStatGroup(rec.data(), StatLayout(kMascotTable).second, values);
    test::ExpectSameBytes(before, rec);
}

} // namespace
} // namespace ledgrin
