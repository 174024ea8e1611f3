// Bit fields decoded from an item's TypeID. They overlap and are never written back.
#pragma once

#include <cstdint>

namespace ledgrin {

struct TypeIdFields {
    std::uint32_t serial;   // bits 0..7
    std::uint32_t pos;      // bits 13..17: SetItem character code
    std::uint32_t type;     // bits 16..20
    std::uint32_t chr;      // bits 18..25 ("char"): Part character, Item kind x128, Skin kind x16
    std::uint32_t setGroup; // bits 20..25: SetItem item group
    std::uint32_t cardKind; // bits 22..25: Card kind
    std::uint32_t group;    // bits 26..31
};

constexpr std::uint32_t TypeIdSerial(std::uint32_t id) {
    return id & 0xFFu;
}
constexpr std::uint32_t TypeIdPos(std::uint32_t id) {
    return (id & 0x0003E000u) >> 13;
}
constexpr std::uint32_t TypeIdType(std::uint32_t id) {
    return (id & 0x001F0000u) >> 16;
}
constexpr std::uint32_t TypeIdChar(std::uint32_t id) {
    return (id & 0x03FC0000u) >> 18;
}
constexpr std::uint32_t TypeIdSetGroup(std::uint32_t id) {
    return (id & 0x03FC0000u) >> 20;
}
constexpr std::uint32_t TypeIdCardKind(std::uint32_t id) {
    return (id & 0x03FC0000u) >> 22;
}
constexpr std::uint32_t TypeIdGroup(std::uint32_t id) {
    return id >> 26;
}

constexpr TypeIdFields DecodeTypeId(std::uint32_t id) {
    return {TypeIdSerial(id),   TypeIdPos(id),      TypeIdType(id), TypeIdChar(id),
            TypeIdSetGroup(id), TypeIdCardKind(id), TypeIdGroup(id)};
}

} // namespace ledgrin
