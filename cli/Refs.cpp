#include "cli/Refs.h"

#include "records/RecordHead.h"
#include "records/SetMembers.h"
#include "cli/CliText.h"
#include "cli/TableColumns.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace ledgrin::cli {

namespace {

using Place = std::pair<TableIndex, std::size_t>;

std::string Item(const TableStore& store, Place p) {
    return std::string(EntryName(p.first)) + " record " + std::to_string(p.second) + " " +
           QuotedText(RecordName(store.Record(p.first, p.second)));
}

} // namespace

bool FormatRefs(const TableStore& store, std::uint32_t typeId, std::string& out) {
    std::unordered_map<std::uint32_t, std::vector<Place>> items;
    for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t)
        for (std::size_t i = 0; i < store[t].RecordCount; ++i)
            items[RecordTypeId(store.Record(t, i))].push_back({t, i});
    std::string descriptions;
    for (std::size_t i = 0; i < store[kDescTable].RecordCount; ++i) {
        const std::uint8_t* record = store.Record(kDescTable, i);
        if (FieldValue(kDescTable, record, "TypeID") == typeId)
            descriptions += "  " + std::string(EntryName(kDescTable)) + " record " + std::to_string(i) +
                            ": " + QuotedText(StoredDescText(record)) + "\n";
    }
    const auto self = items.find(typeId);
    if (self == items.end() && descriptions.empty()) return false;

    out = "TypeID " + Decimal(typeId) + ":\n";
    if (self == items.end()) out += "  no item holds this TypeID\n";
    for (const Place& p : self == items.end() ? std::vector<Place>{} : self->second)
        out += "  " + Item(store, p) + "\n";
    out += "Descriptions:\n" + (descriptions.empty() ? "  none\n" : descriptions);

    std::string sets, members;
    for (std::size_t i = 0; i < store[kSetItemTable].RecordCount; ++i) {
        const std::uint8_t* set = store.Record(kSetItemTable, i);
        const bool isSelf = RecordTypeId(set) == typeId;
        std::size_t position = 0;
        for (const SetMember& m : ListSetMembers(set)) {
            ++position;
            const std::string quantity = " (quantity " + Decimal(m.shownQuantity) + ")";
            if (m.typeId == typeId)
                sets += "  " + Item(store, {kSetItemTable, i}) + ", TypeID " + Decimal(RecordTypeId(set)) +
                        ", member " + std::to_string(position) + quantity + "\n";
            if (!isSelf) continue;
            members += "  " + std::to_string(position) + ". TypeID " + Decimal(m.typeId);
            const auto found = items.find(m.typeId);
            if (found == items.end()) members += ": no item holds this TypeID";
            for (const Place& p : found == items.end() ? std::vector<Place>{} : found->second)
                members += ", " + Item(store, p);
            members += quantity + "\n";
        }
        if (isSelf && members.empty()) members = "  none\n";
    }
    out += "Member of sets:\n" + (sets.empty() ? "  none\n" : sets);
    if (!members.empty()) out += "Set members:\n" + members;
    return true;
}

} // namespace ledgrin::cli
