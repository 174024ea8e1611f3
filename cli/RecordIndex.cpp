#include "cli/RecordIndex.h"

#include "cli/TableColumns.h"

#include "records/DescRecord.h"
#include "records/RecordHead.h"
#include <algorithm>
#include <new>
#include <stdexcept>

namespace ledgrin::cli {

std::uint32_t TypeIdOf(TableIndex t, const std::uint8_t* record) {
    return t == kDescTable ? FieldValue(kDescTable, record, "TypeID") : RecordTypeId(record);
}

TypeIdIndex::TypeIdIndex(const TableStore& store, TableIndex t) {
    // A table that did not load keeps its header's count but no records.
    const std::size_t count = std::min<std::size_t>(store[t].RecordCount, store[t].Records.size() / RecordSize(t));
    for (std::size_t i = 0; i < count; ++i)
        records_[TypeIdOf(t, store.Record(t, i))].push_back(i);
}

const std::vector<std::size_t>& TypeIdIndex::Find(std::uint32_t typeId) const {
    static const std::vector<std::size_t> kNone;
    const auto it = records_.find(typeId);
    return it == records_.end() ? kNone : it->second;
}

RecordPairs PairByTypeId(const TableStore& a, const TableStore& b, TableIndex t) {
    const TypeIdIndex inB(b, t);
    std::unordered_map<std::uint32_t, std::size_t> seen; // records of each TypeID in a so far
    std::vector<bool> paired(b[t].RecordCount, false);
    RecordPairs pairs;
    pairs.partner.assign(a[t].RecordCount, RecordPairs::kUnpaired);
    for (std::size_t i = 0; i < a[t].RecordCount; ++i) {
        const std::uint32_t typeId = TypeIdOf(t, a.Record(t, i));
        const std::vector<std::size_t>& candidates = inB.Find(typeId);
        const std::size_t occurrence = seen[typeId]++;
        if (occurrence >= candidates.size()) continue;
        pairs.partner[i] = candidates[occurrence];
        paired[candidates[occurrence]] = true;
    }
    for (std::size_t j = 0; j < paired.size(); ++j)
        if (!paired[j]) pairs.onlyB.push_back(j);
    return pairs;
}

DescIndex::DescIndex(const TableStore& store) : store_(store) {
    for (std::size_t i = 0; i < store[kDescTable].RecordCount; ++i)
        first_.emplace(TypeIdOf(kDescTable, store.Record(kDescTable, i)), i); // keeps the first
}

std::size_t DescIndex::Find(std::uint32_t typeId) const {
    auto it = first_.find(typeId);
    return it == first_.end() ? kNoDescription : it->second;
}

std::string DescIndex::TextOf(std::uint32_t typeId) const {
    std::size_t i = Find(typeId);
    return i == kNoDescription ? std::string() : StoredDescText(store_.Record(kDescTable, i));
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
