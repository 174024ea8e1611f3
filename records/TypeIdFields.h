// Bit fields of an item's TypeID (the u32 at offset 4 of every item record). They overlap
// and are never written back by the editor; the generator composes TypeIDs from them.
#pragma once

#include "records/RecordFields.h"

#include <cstdint>

namespace ledgrin {

constexpr FieldDef TypeIdBitField(const char* name, std::uint8_t shift, std::uint8_t bits) {
    return {name, 0x04, 4, FieldAccess::ReadOnly, shift, bits};
}

constexpr FieldDef kTypeIdSerial = TypeIdBitField("serial", 0, 8);
constexpr FieldDef kTypeIdPos = TypeIdBitField("pos", 13, 5); // SetItem: character code
constexpr FieldDef kTypeIdType = TypeIdBitField("type", 16, 5);
constexpr FieldDef kTypeIdChar = TypeIdBitField("char", 18, 8);         // Part character, Item and Skin kinds
constexpr FieldDef kTypeIdSetGroup = TypeIdBitField("SetGroup", 20, 6); // SetItem: item group
constexpr FieldDef kTypeIdCardKind = TypeIdBitField("CardKind", 22, 4); // Card: kind
constexpr FieldDef kTypeIdGroup = TypeIdBitField("group", 26, 6);

// The bit field's value in a TypeID.
constexpr std::uint32_t TypeIdBits(std::uint32_t typeId, const FieldDef& field) {
    return BitsOf(typeId, field);
}

// typeId with the bit field replaced by the low bits of value.
constexpr std::uint32_t WithTypeIdBits(std::uint32_t typeId, const FieldDef& field, std::uint32_t value) {
    const std::uint32_t mask = BitMask(field.bits) << field.shift;
    return (typeId & ~mask) | ((value << field.shift) & mask);
}

} // namespace ledgrin
