// Planning a patch against an archive and making what the plan allows.
#include "cli/CliText.h"
#include "cli/Patch.h"
#include "cli/PatchTargets.h"
#include "cli/RecordIndex.h"
#include "cli/TableColumns.h"
#include "records/DescRecord.h"
#include "records/RecordHead.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace ledgrin::cli {

std::size_t ApplyPlan::Count(Outcome outcome) const {
    std::size_t n = 0;
    for (const std::vector<ChangeOutcome>* list : {&outcomes, &added})
        for (const ChangeOutcome& o : *list)
            n += o.outcome == outcome;
    return n;
}

namespace {

// Where an added record stands against the archive: its table without the TypeID (make
// it), the same bytes there (already), or another record there (a conflict); its
// description likewise.
void PlanAdded(const TableStore& store, const PatchAdded& a, std::size_t i,
               std::map<TableIndex, TypeIdIndex>& byTypeId, const DescIndex& descriptions,
               std::array<std::size_t, kTableCount>& appends, ApplyPlan& plan) {
    ChangeOutcome& o = plan.added.emplace_back();
    const auto problem = [&](const std::string& why) {
        plan.problems.push_back(
            {a.line > 0 ? Position::Line(a.line) : Position{},
             "added record " + std::to_string(i + 1) + " (" + AddedLabel(a) + "): " + why});
    };
    const std::optional<TableIndex> t = FindTableByName(a.table);
    if (!t) return problem("unknown table " + QuotedText(a.table));
    if (a.record.size() != RecordSize(*t))
        return problem("the record has " + std::to_string(a.record.size()) + " bytes; those of " +
                       EntryName(*t) + " have " + std::to_string(RecordSize(*t)));
    if (TypeIdOf(*t, a.record.data()) != a.typeId)
        return problem("the record holds TypeID " + Decimal(TypeIdOf(*t, a.record.data())));
    if (a.description &&
        (a.description->size() > kDescTextSize || a.description->find('\0') != std::string::npos))
        return problem("the description does not fit a Desc record");
    const RecordList holders =
        *t == kDescTable ? byTypeId.try_emplace(kDescTable, store, kDescTable).first->second.Find(a.typeId)
                         : byTypeId.try_emplace(*t, store, *t).first->second.Find(a.typeId);
    if (holders.empty()) {
        o.outcome = Outcome::Make;
        ++appends[*t];
    } else if (holders.size() == 1 &&
               std::equal(a.record.begin(), a.record.end(), store.Record(*t, holders[0]))) {
        o.outcome = Outcome::Already;
    } else {
        o.found = holders.size() == 1 ? EntryName(*t) + std::string(" record ") + std::to_string(holders[0]) +
                                            " holds this TypeID with other bytes"
                                      : std::to_string(holders.size()) + " records hold this TypeID";
        return;
    }
    if (!a.description) return;
    const std::size_t d = descriptions.Find(a.typeId);
    if (d == kNoDescription) {
        o.outcome = Outcome::Make;
        ++appends[kDescTable];
    } else if (StoredDescText(store.Record(kDescTable, d)) != *a.description) {
        o.outcome = Outcome::Conflict;
        o.found = "its description " + QuotedText(StoredDescText(store.Record(kDescTable, d)));
    }
}

} // namespace

ApplyPlan PlanPatch(const TableStore& store, const Patch& patch) {
    ApplyPlan plan;
    std::map<TableIndex, TypeIdIndex> byTypeId; // built for the tables the patch names
    std::optional<DescIndex> descIndex;         // made when a change or an added record needs it
    const auto descriptions = [&]() -> const DescIndex& {
        if (!descIndex) descIndex.emplace(store);
        return *descIndex;
    };
    std::array<std::size_t, kTableCount> appends{}; // records each table is to gain
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        const PatchChange& c = patch.changes[i];
        std::string why;
        const Resolved r = Resolve(c, why);
        ChangeOutcome& o = plan.outcomes.emplace_back();
        if (r.target == Target::None) {
            plan.problems.push_back(
                {c.line > 0 ? Position::Line(c.line) : Position{},
                 "change " + std::to_string(i + 1) + " (" + ChangeLabel(c) + "): " + why});
            continue;
        }
        PatchValue current;
        if (r.target == Target::Description) {
            const std::size_t d = descriptions().Find(c.typeId);
            if (d != kNoDescription) current = Text(StoredDescText(store.Record(kDescTable, d)));
        } else {
            const RecordList found =
                byTypeId.try_emplace(r.table, store, r.table).first->second.Find(c.typeId);
            if (found.size() != 1) {
                o.found = found.empty() ? "no record holds this TypeID"
                                        : std::to_string(found.size()) + " records hold this TypeID";
                continue;
            }
            o.record = found[0];
            const std::uint8_t* record = store.Record(r.table, found[0]);
            current =
                r.target == Target::Name ? Text(RecordName(record)) : Number(GetField(record, *r.field));
        }
        o.outcome = current == c.newValue   ? Outcome::Already
                    : current == c.oldValue ? Outcome::Make
                                            : Outcome::Conflict;
        o.found = ValueText(current);
        appends[kDescTable] += o.outcome == Outcome::Make && current.kind == PatchValue::Null;
    }
    for (std::size_t i = 0; i < patch.added.size(); ++i)
        PlanAdded(store, patch.added[i], i, byTypeId, descriptions(), appends, plan);
    for (TableIndex t = 0; t < kTableCount; ++t)
        if (appends[t] > kMaxRecordCount - store[t].RecordCount)
            plan.problems.push_back({{},
                                     std::string(EntryName(t)) + " has no room for " +
                                         Plural(appends[t], "more record", "more records") + "; it holds " +
                                         std::to_string(store[t].RecordCount) + " of " +
                                         std::to_string(kMaxRecordCount)});
    return plan;
}

std::vector<TableIndex> ApplyPatch(TableStore& store, const Patch& patch, const ApplyPlan& plan) {
    std::vector<bool> written(kTableCount, false);
    // Made when a description is first written; appends go to the end, so found indexes
    // stay valid.
    std::optional<DescIndex> descIndex;
    const auto descriptions = [&]() -> DescIndex& {
        if (!descIndex) descIndex.emplace(store);
        return *descIndex;
    };
    std::map<TableIndex, TypeIdIndex> byTypeId;
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        if (plan.outcomes[i].outcome != Outcome::Make) continue;
        const PatchChange& c = patch.changes[i];
        std::string why;
        const Resolved r = Resolve(c, why);
        written[r.table] = true;
        if (r.target == Target::Description) {
            const std::size_t d = descriptions().Find(c.typeId);
            if (d != kNoDescription)
                WriteDescText(store.Record(kDescTable, d), c.newValue.text);
            else
                AppendPlannedDescription(store, descriptions(), c.typeId, c.newValue.text);
            continue;
        }
        // The plan made it only where one record holds the TypeID, and found that record.
        std::uint8_t* record = store.Record(r.table, plan.outcomes[i].record);
        if (r.target == Target::Name)
            SetRecordName(record, c.newValue.text);
        else
            SetField(record, *r.field, c.newValue.number);
    }
    for (std::size_t i = 0; i < patch.added.size(); ++i) {
        if (plan.added[i].outcome != Outcome::Make) continue;
        const PatchAdded& a = patch.added[i];
        const TableIndex t = *FindTableByName(a.table);
        TypeIdIndex& index = byTypeId.try_emplace(t, store, t).first->second;
        if (index.Find(a.typeId).empty()) {
            // The plan found room, so the count cannot wrap.
            TableSlot& slot = store[t];
            slot.Records.Append(a.record.data(), a.record.size());
            index.Add(a.typeId, slot.RecordCount++);
            if (t == kDescTable) descriptions().Add(a.typeId, slot.RecordCount - 1u);
            written[t] = true;
        }
        if (a.description && descriptions().Find(a.typeId) == kNoDescription) {
            AppendPlannedDescription(store, descriptions(), a.typeId, *a.description);
            written[kDescTable] = true;
        }
    }
    std::vector<TableIndex> tables;
    for (TableIndex t = 0; t < kTableCount; ++t)
        if (written[t]) tables.push_back(t);
    return tables;
}

} // namespace ledgrin::cli
