// Finding an item's name by its TypeID across the item tables.
#pragma once

#include "archive/TableStore.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace ledgrin {

// Name of the first item record whose TypeID equals typeId, searching Part, Item, ClubSet,
// Ball, Character, Card, Mascot, Caddie, Skin, AuxPart, HairStyle, CaddieItem, SetItem in
// this order; nullopt when none has it. The view points into the store.
std::optional<std::string_view> FindNameByTypeID(const TableStore& store, std::uint32_t typeId);

} // namespace ledgrin
