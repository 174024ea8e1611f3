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
    groups_ = TypeIdMap(count);
    // Counted first, then placed: each TypeID's records stand together in index order.
    std::vector<std::uint32_t> groupOf(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t g =
            groups_.Insert(TypeIdOf(t, store.Record(t, i)), static_cast<std::uint32_t>(group_.size()));
        if (g == group_.size()) group_.emplace_back();
        ++group_[g].count;
        groupOf[i] = g;
    }
    std::size_t next = 0;
    for (Group& g : group_) {
        g.first = next;
        next += g.count;
        g.count = 0;
    }
    records_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        Group& g = group_[groupOf[i]];
        records_[g.first + g.count++] = i;
    }
}

RecordList TypeIdIndex::Find(std::uint32_t typeId) const {
    const std::uint32_t g = groups_.Find(typeId);
    return g == TypeIdMap::kAbsent ? RecordList()
                                   : RecordList(records_.data() + group_[g].first, group_[g].count);
}

void TypeIdIndex::Add(std::uint32_t typeId, std::size_t index) {
    const std::uint32_t g = groups_.Insert(typeId, static_cast<std::uint32_t>(group_.size()));
    if (g == group_.size()) group_.emplace_back();
    // The group moves to the end, where it has room to grow; its old place is left unused.
    Group& group = group_[g];
    const std::size_t first = records_.size();
    for (std::size_t k = 0; k < group.count; ++k)
        records_.push_back(records_[group.first + k]);
    records_.push_back(index);
    group.first = first;
    ++group.count;
}

std::vector<std::pair<std::uint32_t, RecordList>> TypeIdIndex::All() const {
    std::vector<std::pair<std::uint32_t, RecordList>> all;
    all.reserve(groups_.size());
    groups_.ForEach([&](std::uint32_t typeId, std::uint32_t g) {
        all.emplace_back(typeId, RecordList(records_.data() + group_[g].first, group_[g].count));
    });
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
