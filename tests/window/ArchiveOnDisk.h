// The archive as it lies on disk, read without the code under test: the stored form of
// each entry from its ZIP headers, and an entry's contents through libzip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ledgrin {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFileBytes(const std::string& path);

// One entry as the file stores it.
struct StoredEntry {
    std::string name;
    Bytes central; // its central-directory record, the local-header offset zeroed
    Bytes local;   // its local header, name, extra field and compressed data
};

// The entries in central-directory order; `ok` is false when the headers cannot be
// followed.
struct StoredArchive {
    bool ok = false;
    std::vector<StoredEntry> entries;
};
StoredArchive ReadStoredArchive(const std::string& path);

// The uncompressed contents of the entry named exactly `name`; empty when there is none.
Bytes EntryContents(const std::string& path, const std::string& name);

} // namespace ledgrin
