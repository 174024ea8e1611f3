// The editable values of an item record, in the terms the record panel shows them,
// and the write rules the Update applies when it stores them back.
#pragma once

#include "records/TableInfo.h"

#include <cstdint>
#include <string>

namespace ledgrin {

// Rows of the level list: rank indexes 0 to 16.
constexpr int kLevelRowCount = 17;

struct RecordValues {
    std::string name; // up to the NUL, at most 40 bytes
    std::uint32_t price = 0;
    std::uint32_t discountPrice = 0;
    int currencyRow = 0; // 0 Crells, 1 Points; -1 no selection (stored as Points)
    bool tradeable = false, notGiftable = false, availInShop = false, displayOnly = false;
    bool isNew = false, isHot = false;
    int levelRow = -1;                              // rank index 0..16; -1 when the stored index has no row
    bool maximum = false;                           // Level bit 7; the display checks " Minimum" when clear
    std::uint32_t stats[5] = {};                    // first stat group (zeros where the table has none)
    std::uint32_t seconds[5] = {};                  // second group: slots or maximums
    std::uint32_t price7Days = 0, price30Days = 0;  // Mascot, Skin, CaddieItem
    std::uint32_t crellPercent = 0, expPercent = 0; // Mascot, as shown: a stored 0 is 100
    bool extraItem = false;                         // Mascot MascotFlags bit 0
    bool payMonthly = false;                        // Caddie MonthlyPrice != 0
    std::uint32_t effectValue = 0, effectTime = 0;  // Card
};

// What the record display puts into the panel for record `record` of item table t
// (defaults for a table that is not an item table). Copies the name: may throw std::bad_alloc.
RecordValues ReadRecordValues(TableIndex t, const std::uint8_t* record);

// The Level byte the Update stores: the row number with bit 7 from " Maximum"; with no
// row selected (-1) the stored low 7 bits are kept, so the list's "no selection" result
// never becomes a level.
std::uint8_t LevelByteForUpdate(std::uint8_t stored, int levelRow, bool maximum);

// One entered bonus percentage as stored: above 100 (as a signed 32-bit number) its
// low 8 bits, otherwise 0.
std::uint8_t BonusPercentByte(std::uint32_t entered);

// Writes values into record `record` of item table t with the Update's rules, in its
// order: name, head, then the table's fields (price copies, monthly price, bonus word,
// extra-item bit, stat copy, effect time). Enabled, TypeID and read-only fields are
// never written; unnamed bytes and bits are kept. Does nothing for a table that is not
// an item table.
void ApplyUpdate(TableIndex t, std::uint8_t* record, const RecordValues& values);

} // namespace ledgrin
