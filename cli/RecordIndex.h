// Records found by TypeID, each index built once per table: a scan per row or per change
// would make a command over a full table take quadratic time.
#pragma once

#include "archive/TableStore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ledgrin::cli {

// The TypeID of a record of table t (offset 0 in Desc, 4 in the item tables).
std::uint32_t TypeIdOf(TableIndex t, const std::uint8_t* record);

// TypeIDs to small numbers in one flat table: an index of a full table would otherwise
// allocate a node for each of its 65,535 records.
class TypeIdMap {
  public:
    static constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;

    explicit TypeIdMap(std::size_t expected = 0);
    // The value of typeId, or kAbsent.
    std::uint32_t Find(std::uint32_t typeId) const;
    // The value of typeId, made `value` first when it has none (value must not be kAbsent).
    std::uint32_t& Insert(std::uint32_t typeId, std::uint32_t value);
    std::size_t size() const { return size_; }
    // Calls visit(typeId, value) for every entry, in no particular order.
    template <typename Visit> void ForEach(Visit visit) const {
        for (const Entry& entry : slots_)
            if (entry.value != kAbsent) visit(entry.typeId, entry.value);
    }
    // Calls change(value) for every entry, to give it another value (not kAbsent).
    template <typename Change> void ChangeEach(Change change) {
        for (Entry& entry : slots_)
            if (entry.value != kAbsent) change(entry.value);
    }

  private:
    struct Entry {
        std::uint32_t typeId = 0;
        std::uint32_t value = kAbsent; // kAbsent: a free slot
    };
    std::size_t Slot(std::uint32_t typeId) const;
    void Grow();

    std::vector<Entry> slots_; // key and value side by side: one cache line per probe
    std::size_t size_ = 0;
    int shift_ = 60; // 64 less the bits of a slot number
};

// The records of one TypeID, in index order; valid until the index changes.
class RecordList {
  public:
    RecordList(const std::size_t* begin = nullptr, std::size_t size = 0) : begin_(begin), size_(size) {}
    const std::size_t* begin() const { return begin_; }
    const std::size_t* end() const { return begin_ + size_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t front() const { return begin_[0]; }
    std::size_t operator[](std::size_t i) const { return begin_[i]; }

  private:
    const std::size_t* begin_;
    std::size_t size_;
};

// Every record of one table by TypeID, in index order.
class TypeIdIndex {
  public:
    TypeIdIndex(const TableStore& store, TableIndex t);
    // The records holding typeId, in index order; empty when none does.
    RecordList Find(std::uint32_t typeId) const;
    // A record appended to the table, so the index stays current.
    void Add(std::uint32_t typeId, std::size_t index);
    // Every TypeID with its records, in no particular order.
    std::vector<std::pair<std::uint32_t, RecordList>> All() const;

  private:
    RecordList ListAt(std::uint32_t at) const { return {records_.data() + at + 1, records_[at]}; }

    TypeIdMap lists_; // TypeID -> where its list starts in records_
    // Each TypeID's records as a list: how many, then their indexes. A lookup reads the
    // map and then one place here, as most TypeIDs have one record.
    std::vector<std::size_t> records_;
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
    // The text of an item's first description, in the store; empty when it has none.
    std::string_view TextOf(std::uint32_t typeId) const;
    // A description appended to Desc, so the index stays current.
    void Add(std::uint32_t typeId, std::size_t index) {
        first_.Insert(typeId, static_cast<std::uint32_t>(index));
    }

  private:
    const TableStore& store_;
    TypeIdMap first_;
};

// Appends a description for typeId at the end of Desc and to `index`. A plan checks the
// room first, so a full table is a fault (std::logic_error); memory that runs out throws
// std::bad_alloc, and Desc is then left as it was.
void AppendPlannedDescription(TableStore& store, DescIndex& index, std::uint32_t typeId,
                              std::string_view text);

} // namespace ledgrin::cli
