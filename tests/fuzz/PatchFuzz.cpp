// Arbitrary bytes as a patch, planned against the small demo tables and, when the plan
// has no errors, applied to a copy of them. The property: the plan never touches a table,
// record or field that the patch does not name. Every byte that differs afterwards lies
// in the field, name or description text that a change planned as "make" names, in a
// record holding that change's TypeID; the records appended are added records planned as
// "make", byte for byte, and descriptions for TypeIDs a change or an added record names;
// and the tables ApplyPatch reports written are the ones that changed.
#include "cli/CliText.h"
#include "cli/Patch.h"
#include "cli/TableColumns.h"
#include "demo/DemoArchive.h"
#include "records/DescRecord.h"
#include "records/RecordHead.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/TestArchives.h"

#include <algorithm>
#include <set>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::fuzz;

namespace {

const TableStore& DemoTables() {
    static const TableStore store = [] {
        TableStore s;
        FUZZ_CHECK(BuildDemoTables({DemoSize::Small, 1}, s) == DemoResult::Done);
        return s;
    }();
    return store;
}

std::uint32_t TypeIdOf(const TableStore& store, TableIndex t, std::size_t index) {
    return Get(store.Record(t, index) + (t == kDescTable ? 0 : kTypeIdOffset), 4);
}

// The bytes a change may write: per table, a flag for every byte of its records.
using Allowed = std::vector<std::vector<bool>>;

void Allow(Allowed& allowed, const TableStore& store, const PatchChange& c) {
    const std::optional<TableIndex> t = FindTableByName(c.table);
    FUZZ_CHECK(t.has_value());
    std::size_t offset = kDescTextOffset, width = kDescTextSize;
    if (*t != kDescTable) {
        const std::vector<Column> columns = TableColumns(*t);
        const Column* column = FindColumn(columns, c.field);
        FUZZ_CHECK(column && (column->kind == ColumnKind::Name || column->field));
        offset = column->kind == ColumnKind::Name ? kNameOffset : column->field->offset;
        width = column->kind == ColumnKind::Name ? kNameSize : column->field->width;
    }
    for (std::size_t r = 0; r < store[*t].RecordCount; ++r)
        if (TypeIdOf(store, *t, r) == c.typeId)
            for (std::size_t b = 0; b < width; ++b)
                allowed[*t][r * RecordSize(*t) + offset + b] = true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TableStore& demo = DemoTables();
    Problem problem;
    const std::optional<Patch> patch =
        ReadPatch(std::string_view(reinterpret_cast<const char*>(data), size), problem);
    if (!patch) {
        FUZZ_CHECK(!problem.message.empty() && problem.at.number >= 0);
        return 0;
    }
    const ApplyPlan plan = PlanPatch(demo, *patch);
    FUZZ_CHECK(plan.outcomes.size() == patch->changes.size());
    if (!plan.problems.empty()) return 0;

    TableStore store = demo;
    const std::vector<TableIndex> written = ApplyPatch(store, *patch, plan);
    Allowed allowed(kTableCount);
    for (TableIndex t = 0; t < kTableCount; ++t)
        allowed[t].assign(demo[t].Records.size(), false);
    std::set<std::uint32_t> described; // TypeIDs a "make" change or added record gives a description
    std::set<std::pair<TableIndex, Bytes>> addable;
    for (std::size_t i = 0; i < patch->changes.size(); ++i) {
        if (plan.outcomes[i].outcome != Outcome::Make) continue;
        Allow(allowed, demo, patch->changes[i]);
        if (FindTableByName(patch->changes[i].table) == kDescTable)
            described.insert(patch->changes[i].typeId);
    }
    for (std::size_t i = 0; i < patch->added.size(); ++i) {
        if (plan.added[i].outcome != Outcome::Make) continue;
        const PatchAdded& a = patch->added[i];
        addable.insert({*FindTableByName(a.table), a.record});
        if (a.description) described.insert(a.typeId);
    }
    for (TableIndex t = 0; t < kTableCount; ++t) {
        const TableSlot &before = demo[t], &after = store[t];
        FUZZ_CHECK(after.HeaderWord2 == before.HeaderWord2 && after.Version == before.Version);
        FUZZ_CHECK(after.RecordCount >= before.RecordCount);
        FUZZ_CHECK(after.Records.size() == after.RecordCount * RecordSize(t));
        for (std::size_t b = 0; b < before.Records.size(); ++b)
            FUZZ_CHECK(after.Records[b] == before.Records[b] || allowed[t][b]);
        for (std::size_t r = before.RecordCount; r < after.RecordCount; ++r) {
            const std::uint8_t* record = store.Record(t, r);
            const bool added = addable.count({t, Bytes(record, record + RecordSize(t))}) == 1;
            FUZZ_CHECK(added || (t == kDescTable && described.count(TypeIdOf(store, t, r)) == 1));
        }
        const bool changed = !SameSlot(before, after);
        FUZZ_CHECK(changed <= (std::find(written.begin(), written.end(), t) != written.end()));
    }
    return 0;
}
