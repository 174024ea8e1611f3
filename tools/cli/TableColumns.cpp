#include "tools/cli/TableColumns.h"

#include "records/TypeIdFields.h"
#include "records/DescRecord.h"
#include "records/RecordHead.h"
#include "tools/cli/CliText.h"
#include "records/Labels.h"
#include "records/RecordCodes.h"

#include <algorithm>
#include <cstring>

namespace ledgrin::cli {

namespace {

std::string Label(const LabelList& labels, std::uint32_t code) {
    const char* label = labels.At(code);
    return label ? label : "";
}

// A label that the record's code selects only when it is a multiple of `step`
// (Item kinds are stored x128, Skin kinds x16).
std::string ScaledLabel(const LabelList& labels, std::uint32_t value, std::uint32_t step) {
    return value % step == 0 ? Label(labels, value / step) : "";
}

std::uint32_t TypeIdOf(const std::uint8_t* r) {
    return RecordTypeId(r);
}

std::string Char(const std::uint8_t* r) {
    return Decimal(TypeIdChar(TypeIdOf(r)));
}
std::string SetGroup(const std::uint8_t* r) {
    return Decimal(TypeIdSetGroup(TypeIdOf(r)));
}
std::string Pos(const std::uint8_t* r) {
    return Decimal(TypeIdPos(TypeIdOf(r)));
}
std::string CardKind(const std::uint8_t* r) {
    return Decimal(TypeIdCardKind(TypeIdOf(r)));
}
std::string RankLabel(const std::uint8_t* r) {
    return Label(kPlayerRankLabels, RecordLevel(r) & kLevelIndexMask);
}
template <TableIndex T> std::string CharacterLabel(const std::uint8_t* r) {
    int code = RecordCharacterCode(T, r);
    return code < 0 ? "" : Label(kCharacterNames, static_cast<std::uint32_t>(code));
}
std::string PartSlotLabel(const std::uint8_t* r) {
    return Label(kPartSlotLabels, FieldValue(kPartTable, r, "PartSlot"));
}
std::string ItemKindLabel(const std::uint8_t* r) {
    return ScaledLabel(kItemKindLabels, TypeIdChar(TypeIdOf(r)), 128);
}
std::string SkinKindLabel(const std::uint8_t* r) {
    return ScaledLabel(kSkinKindLabels, TypeIdChar(TypeIdOf(r)), 16);
}
std::string ItemGroupLabel(const std::uint8_t* r) {
    return Label(kItemGroupLabels, TypeIdSetGroup(TypeIdOf(r)));
}
std::string CardKindLabel(const std::uint8_t* r) {
    return Label(kCardKindLabels, TypeIdCardKind(TypeIdOf(r)));
}
std::string CardVolumeLabel(const std::uint8_t* r) {
    return Label(kCardVolumeLabels, FieldValue(kCardTable, r, "Volume"));
}

struct DecodedColumn {
    const char* name;
    bool numeric;
    DecodeFn decode;
};

// Per table, the TypeID fields and labels that the editor's filters and panel use.
// Every item table also gets RankLabel, the label of its Level's rank index.
struct DecodedColumns {
    DecodedColumn columns[4];
    int count;
};
const DecodedColumns kDecoded[kTableCount] = {
    {{}, 0}, // Desc
    {{{"char", true, Char},
      {"CharacterLabel", false, CharacterLabel<kPartTable>},
      {"PartSlotLabel", false, PartSlotLabel}},
     3},
    {{{"char", true, Char}, {"ItemKindLabel", false, ItemKindLabel}}, 2},
    {{}, 0}, // ClubSet
    {{}, 0}, // Ball
    {{}, 0}, // Mascot
    {{}, 0}, // Caddie
    {{{"char", true, Char}, {"SkinKindLabel", false, SkinKindLabel}}, 2},
    {{}, 0}, // AuxPart
    {{}, 0}, // Character
    {{{"CharacterLabel", false, CharacterLabel<kHairStyleTable>}}, 1},
    {{}, 0}, // CaddieItem
    {{{"SetGroup", true, SetGroup},
      {"ItemGroupLabel", false, ItemGroupLabel},
      {"pos", true, Pos},
      {"CharacterLabel", false, CharacterLabel<kSetItemTable>}},
     4},
    {{{"CardKind", true, CardKind},
      {"CardKindLabel", false, CardKindLabel},
      {"CardVolumeLabel", false, CardVolumeLabel}},
     3},
};

} // namespace

std::vector<Column> TableColumns(TableIndex t) {
    std::vector<Column> columns;
    if (!IsValidTable(t)) return columns;
    columns.push_back({"Index", ColumnKind::Index, true, nullptr, nullptr});
    for (const FieldDef& field : TableFields(t)) {
        columns.push_back({field.name, ColumnKind::Field, true, &field, nullptr});
        if (IsItemTable(t) && std::strcmp(field.name, "TypeID") == 0)
            columns.push_back({"Name", ColumnKind::Name, false, nullptr, nullptr});
    }
    if (IsItemTable(t)) {
        const DecodedColumns& decoded = kDecoded[t];
        for (int i = 0; i < decoded.count; ++i)
            columns.push_back({decoded.columns[i].name, ColumnKind::Decoded, decoded.columns[i].numeric,
                               nullptr, decoded.columns[i].decode});
        columns.push_back({"RankLabel", ColumnKind::Decoded, false, nullptr, RankLabel});
    }
    columns.push_back({"Description", ColumnKind::Description, false, nullptr, nullptr});
    return columns;
}

std::uint32_t FieldValue(TableIndex t, const std::uint8_t* record, const char* name) {
    const FieldDef* field = FindField(t, name);
    return field ? GetField(record, *field) : 0;
}

const Column* FindColumn(const std::vector<Column>& columns, std::string_view name) {
    auto it = std::find_if(columns.begin(), columns.end(),
                           [&](const Column& c) { return NamesEqualNoCase(c.name, name); });
    return it == columns.end() ? nullptr : &*it;
}

std::string StoredDescText(const std::uint8_t* descRecord) {
    const char* text = reinterpret_cast<const char*>(descRecord + kDescTextOffset);
    const void* nul = std::memchr(text, '\0', kDescTextSize);
    return std::string(text, nul ? static_cast<const char*>(nul) - text : kDescTextSize);
}

DescIndex::DescIndex(const TableStore& store) : store_(store) {
    for (std::size_t i = 0; i < store[kDescTable].RecordCount; ++i)
        first_.emplace(FieldValue(kDescTable, store.Record(kDescTable, i), "TypeID"), i); // keeps the first
}

std::size_t DescIndex::Find(std::uint32_t typeId) const {
    auto it = first_.find(typeId);
    return it == first_.end() ? kNoDescription : it->second;
}

std::string DescIndex::TextOf(std::uint32_t typeId) const {
    std::size_t i = Find(typeId);
    return i == kNoDescription ? std::string() : StoredDescText(store_.Record(kDescTable, i));
}

std::string CellText(const TableStore& store, const DescIndex& descriptions, TableIndex t, std::size_t index,
                     const Column& column) {
    const std::uint8_t* record = store.Record(t, index);
    switch (column.kind) {
    case ColumnKind::Index: return std::to_string(index);
    case ColumnKind::Field: return Decimal(GetField(record, *column.field));
    case ColumnKind::Name: return std::string(RecordName(record));
    case ColumnKind::Decoded: return column.decode(record);
    case ColumnKind::Description:
        return t == kDescTable ? StoredDescText(record) : descriptions.TextOf(RecordTypeId(record));
    }
    return {};
}

} // namespace ledgrin::cli
