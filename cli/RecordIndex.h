// Records found by TypeID, each index built once per table: a scan per row or per change
// would make a command over a full table take quadratic time.
#pragma once

#include "archive/TableStore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ledgrin::cli {

// The TypeID of a record of table t (offset 0 in Desc, 4 in the item tables).
std::uint32_t TypeIdOf(TableIndex t, const std::uint8_t* record);

// Every record of one table by TypeID, in index order.
class TypeIdIndex {
  public:
    TypeIdIndex(const TableStore& store, TableIndex t);
    // The records holding typeId, in index order; empty when none does.
    const std::vector<std::size_t>& Find(std::uint32_t typeId) const;
    // A record appended to the table, so the index stays current.
    void Add(std::uint32_t typeId, std::size_t index) { records_[typeId].push_back(index); }
    // Every TypeID with its records, in no particular order.
    const std::unordered_map<std::uint32_t, std::vector<std::size_t>>& All() const { return records_; }

  private:
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> records_;
};

// The records of one table in two stores paired by TypeID: the k-th record holding a
// TypeID in `a` with the k-th holding it in `b`; the rest are in one store only.
struct RecordPairs {
    static constexpr std::size_t kUnpaired = static_cast<std::size_t>(-1);
    std::vector<std::size_t> partner; // for each record of a: its record in b, or kUnpaired
    std::vector<std::size_t> onlyB;   // the records of b without a partner, in index order
};
RecordPairs PairByTypeId(const TableStore& a, const TableStore& b, TableIndex t);

// The first Desc record of each TypeID: the description an item shows.
class DescIndex {
  public:
    explicit DescIndex(const TableStore& store);
    // Index of the first Desc record with typeId, or kNoDescription.
    std::size_t Find(std::uint32_t typeId) const;
    // The text of an item's first description; empty when it has none.
    std::string TextOf(std::uint32_t typeId) const;
    // A description appended to Desc, so the index stays current.
    void Add(std::uint32_t typeId, std::size_t index) { first_.emplace(typeId, index); }

  private:
    const TableStore& store_;
    std::unordered_map<std::uint32_t, std::size_t> first_;
};

// Appends a description for typeId at the end of Desc and to `index`. A plan checks the
// room first, so a full table is a fault (std::logic_error); memory that runs out throws
// std::bad_alloc, and Desc is then left as it was.
void AppendPlannedDescription(TableStore& store, DescIndex& index, std::uint32_t typeId,
                              std::string_view text);

} // namespace ledgrin::cli
