// All fourteen tables in memory, loaded at start-up and kept until shutdown.
#pragma once

#include "records/TableBytes.h"
#include "records/TableInfo.h"

#include <array>
#include <cstdint>

namespace ledgrin {

struct TableSlot {
    std::uint16_t RecordCount = 0;
    std::uint16_t HeaderWord2 = 0; // not interpreted; written back as read
    std::uint32_t Version = 0;
    TableBytes Records; // RecordCount x record size bytes, back to back

    std::uint8_t* Record(std::size_t index, std::size_t recordSize) {
        return Records.data() + index * recordSize;
    }
    const std::uint8_t* Record(std::size_t index, std::size_t recordSize) const {
        return Records.data() + index * recordSize;
    }
};

struct TableStore {
    std::array<TableSlot, kTableCount> slots;

    TableSlot& operator[](TableIndex t) { return slots[static_cast<std::size_t>(t)]; }
    const TableSlot& operator[](TableIndex t) const { return slots[static_cast<std::size_t>(t)]; }

    // Record `index` of table `t`; the caller keeps index below RecordCount.
    std::uint8_t* Record(TableIndex t, std::size_t index) { return (*this)[t].Record(index, RecordSize(t)); }
    const std::uint8_t* Record(TableIndex t, std::size_t index) const {
        return (*this)[t].Record(index, RecordSize(t));
    }
};

} // namespace ledgrin
