// Desc records: the TypeID of the item described (u32 at 0) and a 512-byte text (at 4).
#pragma once

#include "records/TableBytes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ledgrin {

constexpr std::size_t kDescRecordSize = 516;
constexpr std::size_t kDescTextOffset = 4;
constexpr std::size_t kDescTextSize = 512;
constexpr std::size_t kNoDescription = static_cast<std::size_t>(-1);

// Index of the first Desc record whose TypeID equals typeId, or kNoDescription.
std::size_t FindDescription(const std::uint8_t* descRecords, std::size_t count, std::uint32_t typeId);

// The stored text up to its NUL, bounded by 512 bytes, each line feed shown as CR LF
// (at most 1,024 characters). Allocates: may throw std::bad_alloc.
std::string DescTextForDisplay(const std::uint8_t* descRecord);

// Clears the 512 text bytes, then copies text without its carriage returns, stopping
// after a NUL has been copied or 512 bytes have been stored.
void WriteDescText(std::uint8_t* descRecord, std::string_view text);

enum class AppendResult {
    Appended = 0,
    TableFull = 1,   // already 65,535 records: the 16-bit count must not wrap
    OutOfMemory = 2, // the buffer could not grow; it is left as it was
};

// Appends one record {typeId, text} at index count (the buffer is grown to exactly
// count + 1 records) and raises count by one. On TableFull or OutOfMemory nothing changes.
AppendResult AppendDescription(TableBytes& descRecords, std::uint16_t& count, std::uint32_t typeId,
                               std::string_view text);

} // namespace ledgrin
