// Loading one table of the archive into its slot of the store.
#pragma once

#include "archive/TableStore.h"

#include <memory>
#include <string>

namespace ledgrin {

enum LoadResult : int {
    kLoaded = 0,
    kArchiveNotFound = 1,    // "tarvik_gb.iff File not found."
    kUnsupportedVersion = 2, // "Unsupported version."
    kMissingOrDamaged = 3,   // "Missing or damaged %s." (also when memory runs out)
};

// Opens the archive at archivePath, extracts table t's entry (entry names compared
// whole, A to Z folded; the first match in directory order) and fills store[t]. Prints
// the loader's diagnostic lines. On any result but kLoaded store[t] holds no records;
// its header fields keep what was read, if the header could be read.
// Why LoadTable did not return kLoaded: one line, without a trailing newline, naming the archive or the table
// entry and the cause with its numbers, e.g. "Part.iff: 5 bytes, shorter than its 8-byte header". Empty
// after kLoaded.
LoadResult LoadTable(TableStore& store, TableIndex t, const std::string& archivePath,
                     std::string* why = nullptr);

// LoadTable for several tables of one archive, which is opened once: the deflated bytes of
// every table pass through one buffer, reused from table to table.
class TableReader {
  public:
    explicit TableReader(const std::string& archivePath);
    ~TableReader();
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;

    LoadResult Load(TableStore& store, TableIndex t, std::string* why = nullptr);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace ledgrin
