// Every named numeric field of every table as data: one row per field with its place,
// its width, how the Update treats it and, where it has them, what its codes mean.
// Readers, writers, the stat groups, the list filters, the decoded export columns and the
// generator all work from these rows, so adding a field is adding a row.
#pragma once

#include "records/ByteAccess.h"
#include "records/Labels.h"
#include "records/TableInfo.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ledgrin {

enum class FieldAccess : std::uint8_t {
    Editable, // written by the Update from its control
    Derived,  // written by the Update from other values (PriceCopy, MonthlyPrice, StatCopy...)
    ReadOnly, // never written by the Update (Enabled, TypeID, Volume, set members...)
};

// Which of the item list's two category filters selects records by the field.
enum class ListFilter : std::uint8_t { None, Char, Type };

struct FieldDef {
    const char* name;     // "Price", "PowerSlot", "MemberTypeID3", "StatCopy0"...
    std::uint16_t offset; // from the start of the record
    std::uint8_t width;   // 1, 2 or 4 bytes
    FieldAccess access;
    std::uint8_t shift = 0;               // a code held in some bits of the value: its lowest bit...
    std::uint8_t bits = 0;                // ...and how many bits; 0: the whole value
    std::uint16_t scale = 1;              // a code is stored as its label position times scale
    const LabelList* labels = nullptr;    // what each code means
    ListFilter filter = ListFilter::None; // the item-list filter that compares the code
    bool (*meaningful)(std::uint32_t typeId) = nullptr; // the code means something only when this holds
};

constexpr std::uint32_t BitMask(std::uint8_t bits) {
    return bits == 0 || bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
}
constexpr std::uint32_t BitsOf(std::uint32_t value, const FieldDef& field) {
    return (value >> field.shift) & BitMask(field.bits);
}

struct FieldList {
    const FieldDef* begin_;
    std::size_t size_;
    const FieldDef* begin() const { return begin_; }
    const FieldDef* end() const { return begin_ + size_; }
    std::size_t size() const { return size_; }
};

// The numeric fields of table t: for item tables the head (Enabled, TypeID, Level, Price,
// DiscountPrice, ShopFlags, MarkFlags) followed by the table's own fields, in offset order;
// for the Desc table just TypeID. The text fields (Name, Desc Text) are not in these lists.
FieldList TableFields(TableIndex t);
// How many of TableFields(t) are the head (0 for the Desc table).
std::size_t HeadFieldCount(TableIndex t);

// The codes that table t keeps in bits of its TypeID (Part's character, Item's kind,
// SetItem's group and character...), as bit-field rows of the TypeID; read-only.
FieldList TypeIdCodeFields(TableIndex t);

// The row named `name` (exact, case-sensitive) in TableFields(t), or nullptr.
const FieldDef* FindField(TableIndex t, std::string_view name);

// The row of table t, stored or in its TypeID, that filter compares; nullptr when none.
const FieldDef* FilterField(TableIndex t, ListFilter filter);
// The row of table t, stored or in its TypeID, whose codes are the character names.
const FieldDef* CharacterField(TableIndex t);

// Unsigned stored value of the field (the whole field, whatever bits its code uses).
// Inline: exports, diffs and imports read every field of every record.
inline std::uint32_t GetField(const std::uint8_t* record, const FieldDef& field) {
    return ReadField(record, field.offset, field.width);
}
// Stores the low bits of value that fit the field; no other byte changes.
inline void SetField(std::uint8_t* record, const FieldDef& field, std::uint32_t value) {
    WriteField(record, field.offset, field.width, value);
}

// The field's code: its bits of the stored value (the whole value when it has no bits).
std::uint32_t FieldCode(const std::uint8_t* record, const FieldDef& field);
// The label of the record's code, or nullptr: the field has no labels, the code is not a
// multiple of the scale, has no label, or means nothing for this record.
const char* FieldLabel(const std::uint8_t* record, const FieldDef& field);

// The five stat values (Power, Control, Accuracy, Spin, Curve) as a group of rows.
struct StatGroup {
    const FieldDef* fields[5]; // all null when the table has no such group
    bool present() const { return fields[0] != nullptr; }
};
struct StatBlock {
    StatGroup first;  // stats (Card: its slot values)
    StatGroup second; // slots (Part, AuxPart, Character) or maximums (ClubSet)
};
// Found by name: "Power".."Curve" first, then "PowerSlot".. or "PowerMax"..; a table
// without plain stats shows its slots first.
StatBlock StatLayout(TableIndex t);

// Reads five values (zeros for a missing group) / writes the low bits of five values
// (nothing for a missing group).
void ReadStatGroup(const std::uint8_t* record, const StatGroup& group, std::uint32_t out[5]);
void WriteStatGroup(std::uint8_t* record, const StatGroup& group, const std::uint32_t values[5]);

} // namespace ledgrin
