// Every named numeric field of every table as data: one row {name, offset, width, access}.
// Generic readers and writers work from these rows, so adding a field is adding a row.
#pragma once

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

struct FieldDef {
    const char* name;     // "Price", "PowerSlot", "MemberTypeID3", "StatCopy0"...
    std::uint16_t offset; // from the start of the record
    std::uint8_t width;   // 1, 2 or 4 bytes
    FieldAccess access;
};

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

// The row named `name` (exact, case-sensitive) in table t, or nullptr.
const FieldDef* FindField(TableIndex t, std::string_view name);

// Unsigned value of the field.
std::uint32_t GetField(const std::uint8_t* record, const FieldDef& field);
// Stores the low bits of value that fit the field; no other byte changes.
void SetField(std::uint8_t* record, const FieldDef& field, std::uint32_t value);

// The five-value stat groups (Power, Control, Accuracy, Spin, Curve) of a table.
struct StatGroupLayout {
    std::uint16_t offset; // of the first value
    std::uint8_t width;   // 1 or 2; 0 when the table has no such group
};
struct StatBlockLayout {
    StatGroupLayout first;  // stats (Card: the slot values)
    StatGroupLayout second; // slots (Part, AuxPart, Character) or maximums (ClubSet)
};
StatBlockLayout StatLayout(TableIndex t);

// Reads five values (zeros for a missing group) / writes the low bits of five values
// (nothing for a missing group).
void ReadStatGroup(const std::uint8_t* record, StatGroupLayout group, std::uint32_t out[5]);
void WriteStatGroup(std::uint8_t* record, StatGroupLayout group, const std::uint32_t values[5]);

} // namespace ledgrin
