#include "cli/Refs.h"

#include "cli/CliText.h"
#include "cli/RecordIndex.h"
#include "cli/TableColumns.h"
#include "records/RecordHead.h"
#include "records/SetMembers.h"

#include <utility>
#include <vector>

namespace ledgrin::cli {

namespace {

using Place = std::pair<TableIndex, std::size_t>;

std::string Item(const TableStore& store, Place p) {
    return std::string(EntryName(p.first)) + " record " + std::to_string(p.second) + " " +
           QuotedText(RecordName(store.Record(p.first, p.second)));
}

// The item records of every table by TypeID.
class ItemIndex {
  public:
    explicit ItemIndex(const TableStore& store) {
        for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t)
            tables_.emplace_back(store, t);
    }
    std::vector<Place> Find(std::uint32_t typeId) const {
        std::vector<Place> places;
        for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t)
            for (std::size_t i : tables_[t - kFirstItemTable].Find(typeId))
                places.push_back({t, i});
        return places;
    }

  private:
    std::vector<TypeIdIndex> tables_;
};

} // namespace

bool FormatRefs(const TableStore& store, std::uint32_t typeId, std::string& out) {
    const ItemIndex items(store);
    std::string descriptions;
    for (std::size_t i = 0; i < store[kDescTable].RecordCount; ++i) {
        const std::uint8_t* record = store.Record(kDescTable, i);
        if (TypeIdOf(kDescTable, record) == typeId)
            descriptions += "  " + std::string(EntryName(kDescTable)) + " record " + std::to_string(i) +
                            ": " + QuotedText(StoredDescText(record)) + "\n";
    }
    const std::vector<Place> self = items.Find(typeId);
    if (self.empty() && descriptions.empty()) return false;

    out = "TypeID " + Decimal(typeId) + ":\n";
    if (self.empty()) out += "  no item holds this TypeID\n";
    for (const Place& p : self)
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
            const std::vector<Place> found = items.Find(m.typeId);
            if (found.empty()) members += ": no item holds this TypeID";
            for (const Place& p : found)
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
