// A table entry compressed whole in memory with libdeflate, and a libzip source that hands
// it to libzip in that form: libzip writes the bytes as they are, without compressing them
// again or computing their CRC a second time.
#pragma once

#include "records/TableBytes.h"

#include <zip.h>

#include <cstddef>
#include <cstdint>

namespace ledgrin {

struct PreparedEntry {
    TableBytes stored;      // the bytes as the archive stores them
    std::uint64_t size = 0; // uncompressed
    std::uint32_t crc = 0;  // of the uncompressed bytes
};

// Deflates the data in one piece at the level for its size (method 8 always, also when the
// output comes out larger than the data). Throws std::bad_alloc when memory runs out.
PreparedEntry PrepareEntry(const std::uint8_t* data, std::size_t size);

// A source for zip_file_add that reports the entry's method, sizes and CRC and reads its
// stored bytes; it takes `entry` over. nullptr when memory runs out.
zip_source_t* CreatePreparedSource(zip_t* za, PreparedEntry entry);

} // namespace ledgrin
