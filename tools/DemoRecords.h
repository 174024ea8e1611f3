// Inside the demo generator: the content of one record of one item table.
#pragma once

#include "archive/TableStore.h"
#include "tools/DemoRandom.h"

#include <cstddef>
#include <cstdint>
#include <map>

namespace ledgrin {

// TypeID groups (bits 26..31) of the demo tables; each table has its own, so TypeIDs
// never collide across tables. Cards use a group above 31: their TypeIDs have bit 31
// set and show as negative numbers in the item list.
constexpr std::uint32_t kDemoGroups[kTableCount] = {0, 2, 6, 4, 5, 16, 7, 14, 17, 1, 3, 8, 9, 33};
// A TypeID that no demo record holds (group 63 is unused).
constexpr std::uint32_t kDemoDanglingTypeId = 0xFC00BEEFu;

// One context per table.
struct DemoContext {
    DemoContext(DemoRandom content, DemoRandom bytes, TableStore& tables)
        : rng(content), filler(bytes), store(tables) {}

    DemoRandom rng;    // content decisions of the current table
    DemoRandom filler; // bytes that no field names
    TableStore& store; // the tables built so far: set members and the shared TypeID come from there
    std::map<std::uint32_t, std::uint32_t> nextSerial; // per TypeID prefix (bits 13..31)
    std::uint32_t cardPositions[8] = {};               // last Position given per card Volume
    bool ok = true; // false when a field name is unknown or a TypeID prefix ran out of serials
};

// Fills record `index` of item table t: filler in every byte, then the named fields.
// Tables that the record refers to (Part, AuxPart, ClubSet, Ball, Item and Card for
// SetItem; Part for Card) must be complete in c.store before.
void FillDemoRecord(DemoContext& c, TableIndex t, std::size_t index, std::uint8_t* record);

} // namespace ledgrin
