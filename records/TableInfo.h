// The fourteen tables of the item archive: their order, entry names and record sizes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ledgrin {

// Position of a table in the fixed order; the item tables are 1 to 13.
using TableIndex = int;

enum : TableIndex {
    kDescTable = 0,
    kPartTable = 1,
    kItemTable = 2,
    kClubSetTable = 3,
    kBallTable = 4,
    kMascotTable = 5,
    kCaddieTable = 6,
    kSkinTable = 7,
    kAuxPartTable = 8,
    kCharacterTable = 9,
    kHairStyleTable = 10,
    kCaddieItemTable = 11,
    kSetItemTable = 12,
    kCardTable = 13,
};

constexpr int kTableCount = 14;
constexpr int kFirstItemTable = 1;
constexpr int kLastItemTable = 13;

// Every table entry starts with RecordCount (u16), HeaderWord2 (u16) and Version (u32).
constexpr std::size_t kTableHeaderSize = 8;
constexpr std::uint32_t kSupportedVersion = 13;
constexpr std::uint32_t kMaxRecordCount = 0xFFFF;

struct TableInfo {
    const char* entryName; // also the name used in every message about the table
    std::size_t recordSize;
};

constexpr TableInfo kTables[kTableCount] = {
    {"Desc.iff", 516},    {"Part.iff", 544},      {"Item.iff", 224},      {"ClubSet.iff", 236},
    {"Ball.iff", 792},    {"Mascot.iff", 284},    {"Caddie.iff", 224},    {"Skin.iff", 220},
    {"AuxPart.iff", 204}, {"Character.iff", 396}, {"HairStyle.iff", 172}, {"CaddieItem.iff", 260},
    {"SetItem.iff", 244}, {"Card.iff", 360},
};

constexpr bool IsItemTable(TableIndex t) {
    return t >= kFirstItemTable && t <= kLastItemTable;
}
constexpr bool IsValidTable(TableIndex t) {
    return t >= 0 && t < kTableCount;
}
inline const char* EntryName(TableIndex t) {
    return kTables[t].entryName;
}
inline std::size_t RecordSize(TableIndex t) {
    return kTables[t].recordSize;
}

} // namespace ledgrin
