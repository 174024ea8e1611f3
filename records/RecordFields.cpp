#include "records/RecordFields.h"

#include "records/ByteAccess.h"
#include "records/TypeIdFields.h"

#include <array>
#include <string>

namespace ledgrin {

namespace {

constexpr FieldAccess E = FieldAccess::Editable;
constexpr FieldAccess D = FieldAccess::Derived;
constexpr FieldAccess R = FieldAccess::ReadOnly;

constexpr ListFilter kChar = ListFilter::Char;
constexpr ListFilter kType = ListFilter::Type;

// A field whose codes have labels (and maybe a list filter, a scale, a condition).
constexpr FieldDef Coded(FieldDef field, const LabelList& labels, ListFilter filter = ListFilter::None,
                         std::uint16_t scale = 1, bool (*meaningful)(std::uint32_t) = nullptr) {
    field.labels = &labels;
    field.filter = filter;
    field.scale = scale;
    field.meaningful = meaningful;
    return field;
}

// Only sets of characters (group 2) and of parts (group 4) belong to a character.
constexpr bool SetOfCharacterOrParts(std::uint32_t typeId) {
    const std::uint32_t group = TypeIdBits(typeId, kTypeIdSetGroup);
    return group == 2 || group == 4;
}

constexpr std::size_t kHeadFieldCount = 7;
constexpr FieldDef kHeadFields[kHeadFieldCount] = {
    {"Enabled", 0x00, 4, R},
    {"TypeID", 0x04, 4, R},
    Coded({"Level", 0x30, 1, E, 0, 7}, kPlayerRankLabels), // bits 0..6 the rank, bit 7 " Maximum"
    {"Price", 0x5C, 4, E},
    {"DiscountPrice", 0x60, 4, E},
    {"ShopFlags", 0x68, 1, E},
    {"MarkFlags", 0x69, 1, E},
};

// Every item table's list is the head followed by the table's own rows.
template <std::size_t N>
constexpr std::array<FieldDef, kHeadFieldCount + N> WithHead(const FieldDef (&own)[N]) {
    std::array<FieldDef, kHeadFieldCount + N> all{};
    for (std::size_t i = 0; i < kHeadFieldCount; ++i)
        all[i] = kHeadFields[i];
    for (std::size_t i = 0; i < N; ++i)
        all[kHeadFieldCount + i] = own[i];
    return all;
}

constexpr FieldDef kPartOwn[] = {
    Coded({"PartSlot", 0x0D0, 4, R}, kPartSlotLabels, kType),
    {"Power", 0x1CC, 2, E},
    {"Control", 0x1CE, 2, E},
    {"Accuracy", 0x1D0, 2, E},
    {"Spin", 0x1D2, 2, E},
    {"Curve", 0x1D4, 2, E},
    {"PowerSlot", 0x1D6, 2, E},
    {"ControlSlot", 0x1D8, 2, E},
    {"AccuracySlot", 0x1DA, 2, E},
    {"SpinSlot", 0x1DC, 2, E},
    {"CurveSlot", 0x1DE, 2, E},
};
constexpr FieldDef kClubSetOwn[] = {
    {"Power", 0x0B8, 2, E},      {"Control", 0x0BA, 2, E},     {"Accuracy", 0x0BC, 2, E},
    {"Spin", 0x0BE, 2, E},       {"Curve", 0x0C0, 2, E},       {"PowerMax", 0x0C2, 2, E},
    {"ControlMax", 0x0C4, 2, E}, {"AccuracyMax", 0x0C6, 2, E}, {"SpinMax", 0x0C8, 2, E},
    {"CurveMax", 0x0CA, 2, E},
};
constexpr FieldDef kMascotOwn[] = {
    {"PriceCopy", 0x0F8, 2, D},   {"Price7Days", 0x0FA, 2, E}, {"Price30Days", 0x0FE, 2, E},
    {"Power", 0x102, 1, E},       {"Control", 0x103, 1, E},    {"Accuracy", 0x104, 1, E},
    {"Spin", 0x105, 1, E},        {"Curve", 0x106, 1, E},      {"BonusRates", 0x10C, 4, E},
    {"MascotFlags", 0x110, 4, E},
};
constexpr FieldDef kCaddieOwn[] = {
    {"MonthlyPrice", 0x0A8, 4, D}, {"Power", 0x0D4, 2, E}, {"Control", 0x0D6, 2, E},
    {"Accuracy", 0x0D8, 2, E},     {"Spin", 0x0DA, 2, E},  {"Curve", 0x0DC, 2, E},
};
constexpr FieldDef kSkinOwn[] = {
    {"Price7Days", 0x0D4, 2, E},
    {"Price30Days", 0x0D8, 2, E},
};
constexpr FieldDef kAuxPartOwn[] = {
    {"Power", 0x0B2, 1, E},       {"Control", 0x0B3, 1, E},      {"Accuracy", 0x0B4, 1, E},
    {"Spin", 0x0B5, 1, E},        {"Curve", 0x0B6, 1, E},        {"PowerSlot", 0x0B7, 1, E},
    {"ControlSlot", 0x0B8, 1, E}, {"AccuracySlot", 0x0B9, 1, E}, {"SpinSlot", 0x0BA, 1, E},
    {"CurveSlot", 0x0BB, 1, E},
};
constexpr FieldDef kCharacterOwn[] = {
    {"Power", 0x148, 2, E},       {"Control", 0x14A, 2, E},      {"Accuracy", 0x14C, 2, E},
    {"Spin", 0x14E, 2, E},        {"Curve", 0x150, 2, E},        {"PowerSlot", 0x152, 1, E},
    {"ControlSlot", 0x153, 1, E}, {"AccuracySlot", 0x154, 1, E}, {"SpinSlot", 0x155, 1, E},
    {"CurveSlot", 0x156, 1, E},   {"StatCopy0", 0x15C, 1, D},    {"StatCopy1", 0x15D, 1, D},
    {"StatCopy2", 0x15E, 1, D},   {"StatCopy3", 0x15F, 1, D},    {"StatCopy4", 0x160, 1, D},
};
constexpr FieldDef kHairStyleOwn[] = {
    Coded({"CharacterIndex", 0x0A9, 1, R}, kCharacterNames, kChar),
};
constexpr FieldDef kCaddieItemOwn[] = {
    {"PriceCopy", 0x0F8, 2, D},
    {"Price7Days", 0x0FA, 2, E},
    {"Price30Days", 0x0FE, 2, E},
};
constexpr FieldDef kSetItemOwn[] = {
    {"MemberCount", 0x0A8, 4, R},     {"MemberTypeID0", 0x0AC, 4, R},   {"MemberTypeID1", 0x0B0, 4, R},
    {"MemberTypeID2", 0x0B4, 4, R},   {"MemberTypeID3", 0x0B8, 4, R},   {"MemberTypeID4", 0x0BC, 4, R},
    {"MemberTypeID5", 0x0C0, 4, R},   {"MemberTypeID6", 0x0C4, 4, R},   {"MemberTypeID7", 0x0C8, 4, R},
    {"MemberTypeID8", 0x0CC, 4, R},   {"MemberTypeID9", 0x0D0, 4, R},   {"MemberQuantity0", 0x0D4, 2, R},
    {"MemberQuantity1", 0x0D6, 2, R}, {"MemberQuantity2", 0x0D8, 2, R}, {"MemberQuantity3", 0x0DA, 2, R},
    {"MemberQuantity4", 0x0DC, 2, R}, {"MemberQuantity5", 0x0DE, 2, R}, {"MemberQuantity6", 0x0E0, 2, R},
    {"MemberQuantity7", 0x0E2, 2, R}, {"MemberQuantity8", 0x0E4, 2, R}, {"MemberQuantity9", 0x0E6, 2, R},
};
constexpr FieldDef kCardOwn[] = {
    {"PowerSlot", 0x0D2, 2, E},    {"ControlSlot", 0x0D4, 2, E},
    {"AccuracySlot", 0x0D6, 2, E}, {"SpinSlot", 0x0D8, 2, E},
    {"CurveSlot", 0x0DA, 2, E},    {"EffectValue", 0x0DE, 2, E},
    {"EffectTime", 0x158, 2, E},   Coded({"Volume", 0x15A, 2, R}, kCardVolumeLabels, kType),
    {"Position", 0x15C, 4, R},
};

constexpr FieldDef kDescFields[] = {{"TypeID", 0x00, 4, R}};

constexpr auto kPartFields = WithHead(kPartOwn);
constexpr auto kClubSetFields = WithHead(kClubSetOwn);
constexpr auto kMascotFields = WithHead(kMascotOwn);
constexpr auto kCaddieFields = WithHead(kCaddieOwn);
constexpr auto kSkinFields = WithHead(kSkinOwn);
constexpr auto kAuxPartFields = WithHead(kAuxPartOwn);
constexpr auto kCharacterFields = WithHead(kCharacterOwn);
constexpr auto kHairStyleFields = WithHead(kHairStyleOwn);
constexpr auto kCaddieItemFields = WithHead(kCaddieItemOwn);
constexpr auto kSetItemFields = WithHead(kSetItemOwn);
constexpr auto kCardFields = WithHead(kCardOwn);

template <std::size_t N> constexpr FieldList List(const std::array<FieldDef, N>& rows) {
    return {rows.data(), N};
}

// In TableIndex order. Item and Ball records are edited through the head alone.
const FieldList kFieldLists[kTableCount] = {
    {kDescFields, 1},
    List(kPartFields),
    {kHeadFields, kHeadFieldCount},
    List(kClubSetFields),
    {kHeadFields, kHeadFieldCount},
    List(kMascotFields),
    List(kCaddieFields),
    List(kSkinFields),
    List(kAuxPartFields),
    List(kCharacterFields),
    List(kHairStyleFields),
    List(kCaddieItemFields),
    List(kSetItemFields),
    List(kCardFields),
};

// The codes kept in the TypeID, in export order.
constexpr FieldDef kPartCodes[] = {Coded(kTypeIdChar, kCharacterNames, kChar)};
constexpr FieldDef kItemCodes[] = {Coded(kTypeIdChar, kItemKindLabels, kChar, 128)};
constexpr FieldDef kSkinCodes[] = {Coded(kTypeIdChar, kSkinKindLabels, kChar, 16)};
constexpr FieldDef kSetItemCodes[] = {Coded(kTypeIdSetGroup, kItemGroupLabels, kType),
                                      Coded(kTypeIdPos, kCharacterNames, kChar, 1, SetOfCharacterOrParts)};
constexpr FieldDef kCardCodes[] = {Coded(kTypeIdCardKind, kCardKindLabels, kChar)};

template <std::size_t N> constexpr FieldList Codes(const FieldDef (&rows)[N]) {
    return {rows, N};
}
constexpr FieldList kNoCodes = {nullptr, 0};

// In TableIndex order.
const FieldList kCodeLists[kTableCount] = {
    kNoCodes, Codes(kPartCodes), Codes(kItemCodes),    kNoCodes,          kNoCodes,
    kNoCodes, kNoCodes,          Codes(kSkinCodes),    kNoCodes,          kNoCodes,
    kNoCodes, kNoCodes,          Codes(kSetItemCodes), Codes(kCardCodes),
};

// One stat group: the five rows named prefix + suffix, or none if the first is missing.
StatGroup FindStatGroup(TableIndex t, const char* suffix) {
    static const char* const kStatNames[5] = {"Power", "Control", "Accuracy", "Spin", "Curve"};
    StatGroup group{};
    for (int i = 0; i < 5; ++i)
        group.fields[i] = FindField(t, std::string(kStatNames[i]) + suffix);
    if (!group.fields[0]) group = {};
    return group;
}

StatBlock FindStatBlock(TableIndex t) {
    StatGroup stats = FindStatGroup(t, "");
    if (!stats.present()) return {FindStatGroup(t, "Slot"), {}};
    StatGroup slots = FindStatGroup(t, "Slot");
    return {stats, slots.present() ? slots : FindStatGroup(t, "Max")};
}

// The first row of table t, in its TypeID or stored, that match accepts.
template <typename Match> const FieldDef* FindCodeField(TableIndex t, Match match) {
    for (FieldList rows : {TypeIdCodeFields(t), TableFields(t)})
        for (const FieldDef& field : rows)
            if (match(field)) return &field;
    return nullptr;
}

} // namespace

FieldList TableFields(TableIndex t) {
    if (!IsValidTable(t)) return {nullptr, 0};
    return kFieldLists[t];
}

const FieldDef* FindField(TableIndex t, std::string_view name) {
    for (const FieldDef& field : TableFields(t))
        if (name == field.name) return &field;
    return nullptr;
}

std::size_t HeadFieldCount(TableIndex t) {
    return IsItemTable(t) ? kHeadFieldCount : 0;
}

FieldList TypeIdCodeFields(TableIndex t) {
    if (!IsValidTable(t)) return kNoCodes;
    return kCodeLists[t];
}

const FieldDef* FilterField(TableIndex t, ListFilter filter) {
    if (filter == ListFilter::None) return nullptr;
    return FindCodeField(t, [filter](const FieldDef& f) { return f.filter == filter; });
}

const FieldDef* CharacterField(TableIndex t) {
    return FindCodeField(t, [](const FieldDef& f) { return f.labels == &kCharacterNames; });
}

std::uint32_t FieldCode(const std::uint8_t* record, const FieldDef& field) {
    return BitsOf(GetField(record, field), field);
}

const char* FieldLabel(const std::uint8_t* record, const FieldDef& field) {
    if (!field.labels) return nullptr;
    if (field.meaningful && !field.meaningful(ReadU32(record, kTypeIdSerial.offset))) return nullptr;
    const std::uint32_t code = FieldCode(record, field);
    return code % field.scale == 0 ? field.labels->At(code / field.scale) : nullptr;
}

StatBlock StatLayout(TableIndex t) {
    // Looked up once per table: the rows never change.
    static const auto kBlocks = [] {
        std::array<StatBlock, kTableCount> blocks{};
        for (TableIndex i = 0; i < kTableCount; ++i)
            blocks[i] = FindStatBlock(i);
        return blocks;
    }();
    return IsValidTable(t) ? kBlocks[t] : StatBlock{};
}

void ReadStatGroup(const std::uint8_t* record, const StatGroup& group, std::uint32_t out[5]) {
    for (std::size_t i = 0; i < 5; ++i)
        out[i] = group.fields[i] ? GetField(record, *group.fields[i]) : 0;
}

void WriteStatGroup(std::uint8_t* record, const StatGroup& group, const std::uint32_t values[5]) {
    for (std::size_t i = 0; i < 5; ++i)
        if (group.fields[i]) SetField(record, *group.fields[i], values[i]);
}

} // namespace ledgrin
