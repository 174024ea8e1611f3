// Inside the demo generator: the content of one record of one item table.
#pragma once

#include "archive/TableStore.h"
#include "demo/DemoRandom.h"

#include <cstddef>
#include <cstdint>
#include <map>

namespace ledgrin {

// The demo's plan for each table, by TableIndex: its record counts at each size (Desc's
// follow from the items), its HeaderWord2 (distinct and non-zero: the editor must write
// each back as it was read) and its TypeID group (bits 26..31; each table has its own, so
// TypeIDs never collide across tables; Cards use a group above 31: their TypeIDs have bit
// 31 set and show as negative numbers in the item list).
struct DemoTablePlan {
    std::uint16_t small, realistic, max;
    std::uint16_t headerWord2;
    std::uint32_t group;
};
constexpr DemoTablePlan kDemoTables[kTableCount] = {
    {0, 0, 0, 0x0101, 0},      {40, 3000, 65535, 0x1234, 2}, {12, 300, 300, 0x0203, 6},
    {8, 120, 120, 0x0A0B, 4},  {6, 80, 80, 0x0E01, 5},       {8, 60, 60, 0x8001, 16},
    {6, 40, 40, 0x0007, 7},    {10, 200, 200, 0x3C00, 14},   {8, 150, 150, 0x0110, 17},
    {14, 14, 14, 0x000E, 1},   {16, 160, 160, 0x4242, 3},    {6, 90, 90, 0x0C0D, 8},
    {10, 120, 120, 0x00F4, 9}, {16, 400, 400, 0xFFFE, 33},
};
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
