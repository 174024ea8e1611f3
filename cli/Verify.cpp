#include "cli/Verify.h"

#include "cli/CliText.h"
#include "cli/RecordIndex.h"
#include "cli/TableColumns.h"
#include "records/DescRecord.h"
#include "records/Labels.h"
#include "records/RecordCodes.h"
#include "records/RecordHead.h"
#include "records/SetMembers.h"

#include <algorithm>
#include <map>
#include <vector>

namespace ledgrin::cli {

namespace {

constexpr std::size_t kExamples = 5;

// One kind of problem: its heading, how often it was found and the first few cases.
struct Check {
    explicit Check(const char* heading) : title(heading) {}

    const char* title;
    std::size_t count = 0;
    std::vector<std::string> examples;

    void Add(std::string example) {
        ++count;
        if (examples.size() < kExamples) examples.push_back(std::move(example));
    }
};

std::string RecordRef(TableIndex t, std::size_t index, const std::uint8_t* record) {
    return RecordHeading(t, index, RecordTypeId(record), RecordName(record));
}

// The TypeIDs of an index with their records, in TypeID order, as the report lists them.
std::vector<std::pair<std::uint32_t, RecordList>> InTypeIdOrder(const TypeIdIndex& index) {
    std::vector<std::pair<std::uint32_t, RecordList>> sorted = index.All();
    std::sort(sorted.begin(), sorted.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    return sorted;
}

std::string IndexList(const RecordList& indexes) {
    std::string list;
    for (std::size_t i : indexes)
        list += (list.empty() ? "" : ", ") + std::to_string(i);
    return list;
}

class Verifier {
  public:
    explicit Verifier(const LoadedArchive& archive) : a_(archive), store_(archive.store) {}

    std::string Run() {
        for (TableIndex t = 0; t < kTableCount; ++t) {
            if (a_.results[t] == kLoaded) continue;
            damaged_.Add(std::string(EntryName(t)) + ": " + LoadProblem(a_, t));
        }
        CollectItems();
        CheckDescriptions();
        CheckRecords();
        std::string report = "Tables: " + std::to_string(kTableCount - damaged_.count) + " loaded, " +
                             std::to_string(damaged_.count) + " damaged\n";
        for (const Check* check :
             {&damaged_, &duplicates_, &shared_, &orphanDescs_, &repeatedDescs_, &danglingMembers_,
              &memberCounts_, &characters_, &volumes_, &levels_, &shopAndDisplay_, &namesWithoutNul_}) {
            report += std::string(check->title) + ": " + std::to_string(check->count) + "\n";
            for (const std::string& example : check->examples)
                report += "  " + example + "\n";
            if (check->count > check->examples.size())
                report += "  ... and " + std::to_string(check->count - check->examples.size()) + " more\n";
        }
        return report;
    }

  private:
    bool Loaded(TableIndex t) const { return a_.results[t] == kLoaded; }

    // Which item tables hold each TypeID; duplicates within one table are reported here.
    void CollectItems() {
        for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t) {
            if (!Loaded(t)) continue;
            const TypeIdIndex index(store_, t);
            for (const auto& [typeId, indexes] : InTypeIdOrder(index)) {
                if (indexes.size() > 1)
                    duplicates_.Add(std::string(EntryName(t)) + ": TypeID " + Decimal(typeId) +
                                    " at records " + IndexList(indexes));
                tablesOf_[typeId].push_back(t);
            }
        }
        for (const auto& [typeId, tables] : tablesOf_) {
            if (tables.size() < 2) continue;
            std::string list;
            for (TableIndex t : tables)
                list += (list.empty() ? "" : ", ") + std::string(EntryName(t));
            shared_.Add("TypeID " + Decimal(typeId) + " in " + list);
        }
    }

    bool IsItem(std::uint32_t typeId) const { return tablesOf_.count(typeId) != 0; }

    void CheckDescriptions() {
        if (!Loaded(kDescTable)) return;
        for (std::size_t i = 0; i < store_[kDescTable].RecordCount; ++i) {
            const std::uint32_t typeId = TypeIdOf(kDescTable, store_.Record(kDescTable, i));
            if (!IsItem(typeId))
                orphanDescs_.Add("Desc.iff record " + std::to_string(i) + ": TypeID " + Decimal(typeId));
        }
        const TypeIdIndex byTypeId(store_, kDescTable);
        for (const auto& [typeId, indexes] : InTypeIdOrder(byTypeId))
            if (indexes.size() > 1)
                repeatedDescs_.Add("TypeID " + Decimal(typeId) + ": Desc.iff records " + IndexList(indexes) +
                                   " (only the first is shown and rewritten)");
    }

    void CheckRecords() {
        for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t) {
            if (!Loaded(t)) continue;
            for (std::size_t i = 0; i < store_[t].RecordCount; ++i)
                CheckRecord(t, i, store_.Record(t, i));
        }
    }

    void CheckRecord(TableIndex t, std::size_t i, const std::uint8_t* r) {
        int character = RecordCharacterCode(t, r);
        if (character >= 0 && !kCharacterNames.At(static_cast<std::uint32_t>(character)))
            characters_.Add(RecordRef(t, i, r) + ": character code " + std::to_string(character));
        if (t == kCardTable && !kCardVolumeLabels.At(CardVolume(r)))
            volumes_.Add(RecordRef(t, i, r) + ": volume " + std::to_string(CardVolume(r)));
        const std::uint32_t level = RecordLevel(r) & kLevelIndexMask;
        if (!kPlayerRankLabels.At(level))
            levels_.Add(RecordRef(t, i, r) + ": level index " + std::to_string(level));
        const std::uint8_t shop = RecordShopFlags(r);
        if ((shop & kShopAvailable) && (shop & kShopDisplayOnly)) shopAndDisplay_.Add(RecordRef(t, i, r));
        if (RecordName(r).size() == kNameSize) namesWithoutNul_.Add(RecordRef(t, i, r));
        if (t == kSetItemTable) CheckMembers(i, r);
    }

    void CheckMembers(std::size_t i, const std::uint8_t* r) {
        const std::uint32_t stated = FieldValue(kSetItemTable, r, "MemberCount");
        if (stated > kMaxSetMembers)
            memberCounts_.Add(RecordRef(kSetItemTable, i, r) + ": MemberCount " + Decimal(stated));
        const SetMemberList members = ListSetMembers(r);
        for (std::size_t m = 0; m < members.count; ++m)
            if (!IsItem(members.members[m].typeId))
                danglingMembers_.Add(RecordRef(kSetItemTable, i, r) + ": member " + std::to_string(m) +
                                     " TypeID " + Decimal(members.members[m].typeId));
    }

    const LoadedArchive& a_;
    const TableStore& store_;
    std::map<std::uint32_t, std::vector<TableIndex>> tablesOf_;
    Check damaged_{"Damaged or missing tables"};
    Check duplicates_{"Duplicate TypeIDs within a table"};
    Check shared_{"TypeIDs held by items of several tables"};
    Check orphanDescs_{"Descriptions whose TypeID no item has"};
    Check repeatedDescs_{"TypeIDs with several descriptions"};
    Check danglingMembers_{"Set members that refer to no item"};
    Check memberCounts_{"Sets with a MemberCount above 10"};
    Check characters_{"Character codes without a label"};
    Check volumes_{"Card volumes without a label"};
    Check levels_{"Level indexes without a rank"};
    Check shopAndDisplay_{"Both \" Avail. in Shop\" and \" Display only\" set"};
    Check namesWithoutNul_{"Names without a NUL (40 bytes)"};
};

} // namespace

std::string VerifyArchive(const LoadedArchive& archive) {
    return Verifier(archive).Run();
}

} // namespace ledgrin::cli
