#include "cli/RecordIndex.h"

#include "cli/TableColumns.h"

#include "records/DescRecord.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"
#include <algorithm>
#include <new>
#include <stdexcept>

namespace ledgrin::cli {

std::uint32_t TypeIdOf(TableIndex t, const std::uint8_t* record) {
    static const FieldDef* const kDescTypeId = FindField(kDescTable, "TypeID");
    return t == kDescTable ? GetField(record, *kDescTypeId) : RecordTypeId(record);
}

TypeIdMap::TypeIdMap(std::size_t expected) {
    std::size_t capacity = 16;
    for (shift_ = 60; capacity < 2 * expected; --shift_)
        capacity *= 2;
    slots_.resize(capacity);
}

std::size_t TypeIdMap::Slot(std::uint32_t typeId) const {
    // Fibonacci hashing, the slot from the product's top bits: those depend on every bit
    // of the TypeID, and TypeIDs differ mostly in their high bits.
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = static_cast<std::size_t>((typeId * 0x9E3779B97F4A7C15ull) >> shift_);
    while (slots_[slot].value != kAbsent && slots_[slot].typeId != typeId)
        slot = (slot + 1) & mask;
    return slot;
}

std::uint32_t TypeIdMap::Find(std::uint32_t typeId) const {
    return slots_[Slot(typeId)].value;
}

std::uint32_t& TypeIdMap::Insert(std::uint32_t typeId, std::uint32_t value) {
    std::size_t slot = Slot(typeId);
    if (slots_[slot].value == kAbsent) {
        if (2 * (size_ + 1) > slots_.size()) {
            Grow();
            slot = Slot(typeId);
        }
        slots_[slot] = {typeId, value};
        ++size_;
    }
    return slots_[slot].value;
}

void TypeIdMap::Grow() {
    TypeIdMap bigger(slots_.size());
    ForEach([&](std::uint32_t key, std::uint32_t value) { bigger.Insert(key, value); });
    *this = std::move(bigger);
}

TypeIdIndex::TypeIdIndex(const TableStore& store, TableIndex t) {
    // A table that did not load keeps its header's count but no records.
    const std::size_t count =
        std::min<std::size_t>(store[t].RecordCount, store[t].Records.size() / RecordSize(t));
    lists_ = TypeIdMap(count);
    // Counted first (the map holding each TypeID's number meanwhile), then placed.
    std::vector<std::uint32_t> listOf(count);
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t list =
            lists_.Insert(TypeIdOf(t, store.Record(t, i)), static_cast<std::uint32_t>(sizes.size()));
        if (list == sizes.size()) sizes.push_back(0);
        ++sizes[list];
        listOf[i] = list;
    }
    std::vector<std::uint32_t> start(sizes.size());
    std::size_t next = 0;
    for (std::size_t list = 0; list < sizes.size(); ++list) {
        start[list] = static_cast<std::uint32_t>(next);
        next += 1 + sizes[list];
    }
    records_.assign(next, 0);
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t* list = records_.data() + start[listOf[i]];
        list[1 + list[0]++] = i;
    }
    lists_.ChangeEach([&](std::uint32_t& value) { value = start[value]; });
}

RecordList TypeIdIndex::Find(std::uint32_t typeId) const {
    const std::uint32_t at = lists_.Find(typeId);
    return at == TypeIdMap::kAbsent ? RecordList() : ListAt(at);
}

void TypeIdIndex::Add(std::uint32_t typeId, std::size_t index) {
    // The list moves to the end, where it has room to grow; its old place is left unused.
    const std::uint32_t end = static_cast<std::uint32_t>(records_.size());
    std::uint32_t& at = lists_.Insert(typeId, end);
    const std::size_t size = at == end ? 0 : records_[at];
    records_.push_back(size + 1);
    for (std::size_t k = 0; k < size; ++k) {
        const std::size_t record = records_[at + 1 + k]; // not a reference: the vector may move
        records_.push_back(record);
    }
    records_.push_back(index);
    at = end;
}

std::vector<std::pair<std::uint32_t, RecordList>> TypeIdIndex::All() const {
    std::vector<std::pair<std::uint32_t, RecordList>> all;
    all.reserve(lists_.size());
    lists_.ForEach([&](std::uint32_t typeId, std::uint32_t at) { all.emplace_back(typeId, ListAt(at)); });
    return all;
}

RecordPairs PairByTypeId(const TableStore& a, const TableStore& b, TableIndex t) {
    RecordPairs pairs;
    const std::size_t countA = a[t].RecordCount, countB = b[t].RecordCount;
    // Usually the records stand in the same order in both: each pairs with its own index.
    bool sameOrder = countA == countB;
    for (std::size_t i = 0; sameOrder && i < countA; ++i)
        sameOrder = TypeIdOf(t, a.Record(t, i)) == TypeIdOf(t, b.Record(t, i));
    if (sameOrder) {
        pairs.partner.resize(countA);
        for (std::size_t i = 0; i < countA; ++i)
            pairs.partner[i] = i;
        return pairs;
    }
    const TypeIdIndex inB(b, t);
    TypeIdMap seen(countA); // records of each TypeID in a so far
    std::vector<bool> paired(countB, false);
    pairs.partner.assign(countA, RecordPairs::kUnpaired);
    for (std::size_t i = 0; i < countA; ++i) {
        const std::uint32_t typeId = TypeIdOf(t, a.Record(t, i));
        const RecordList candidates = inB.Find(typeId);
        const std::size_t occurrence = seen.Insert(typeId, 0)++;
        if (occurrence >= candidates.size()) continue;
        pairs.partner[i] = candidates[occurrence];
        paired[candidates[occurrence]] = true;
    }
    for (std::size_t j = 0; j < paired.size(); ++j)
        if (!paired[j]) pairs.onlyB.push_back(j);
    return pairs;
}

DescIndex::DescIndex(const TableStore& store) : store_(store), first_(store[kDescTable].RecordCount) {
    for (std::size_t i = 0; i < store[kDescTable].RecordCount; ++i) // keeps the first
        first_.Insert(TypeIdOf(kDescTable, store.Record(kDescTable, i)), static_cast<std::uint32_t>(i));
}

std::size_t DescIndex::Find(std::uint32_t typeId) const {
    const std::uint32_t i = first_.Find(typeId);
    return i == TypeIdMap::kAbsent ? kNoDescription : i;
}

std::string_view DescIndex::TextOf(std::uint32_t typeId) const {
    std::size_t i = Find(typeId);
    return i == kNoDescription ? std::string_view() : StoredDescView(store_.Record(kDescTable, i));
}

void AppendPlannedDescription(TableStore& store, DescIndex& index, std::uint32_t typeId,
                              std::string_view text) {
    TableSlot& desc = store[kDescTable];
    switch (AppendDescription(desc.Records, desc.RecordCount, typeId, text)) {
    case AppendResult::Appended: index.Add(typeId, desc.RecordCount - 1u); return;
    case AppendResult::TableFull: throw std::logic_error("Desc.iff is full, although the plan found room");
    case AppendResult::OutOfMemory: throw std::bad_alloc();
    }
}

} // namespace ledgrin::cli
