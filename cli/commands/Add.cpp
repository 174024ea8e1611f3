// add ARCHIVE TABLE --like TYPEID --typeid NEW [FIELD=VALUE...]: a new item, a copy of an
// existing one under a TypeID of its own, changed with the rules of set.
#include "cli/CliText.h"
#include "cli/Command.h"
#include "cli/PlanWrite.h"
#include "cli/RecordIndex.h"
#include "records/ByteAccess.h"
#include "records/RecordHead.h"

namespace ledgrin::cli {

namespace {

// Where a TypeID is held already, in any table, descriptions included; empty when nowhere.
std::string HeldWhere(const TableStore& store, std::uint32_t typeId) {
    for (TableIndex t : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0}) { // items, then descriptions
        const TypeIdIndex index(store, t);
        if (const RecordList held = index.Find(typeId); !held.empty())
            return EntryName(t) + std::string(" record ") + std::to_string(held.front());
    }
    return "";
}

int RunAdd(Invocation& run) {
    const Options& options = run.options;
    if (!options.like || !options.newTypeId)
        return run.UsageError("--like TYPEID and --typeid NEW are both needed");
    std::uint32_t like = 0, typeId = 0;
    if (ParseUnsigned(*options.like, like) != NumberParse::Ok)
        return run.UsageError("--like " + QuotedText(*options.like) + " is not an unsigned number");
    if (ParseUnsigned(*options.newTypeId, typeId) != NumberParse::Ok)
        return run.UsageError("--typeid " + QuotedText(*options.newTypeId) + " is not an unsigned number");
    InputRows input;
    InputRow& row = input.rows.emplace_back();
    row.cells.push_back({"TypeID", Decimal(typeId), {}});
    if (!ReadAssignments(run, 2, row)) return kExitUsage;
    if (!run.Load()) return kExitFailure;
    const TableIndex t = *run.table;
    TableStore& store = run.archive().store();
    const auto refuse = [&](const std::string& why) {
        run.console.Error(why + "; nothing was written");
        return kExitFailure;
    };
    for (std::size_t i = 1; i < row.cells.size(); ++i)
        if (NamesEqualNoCase(row.cells[i].column, "TypeID"))
            return refuse("argument " + std::to_string(row.cells[i].at.number) +
                          ": the new record's TypeID is given by --typeid");
    if (const std::string where = HeldWhere(store, typeId); !where.empty())
        return refuse("TypeID " + Decimal(typeId) + " is held already, by " + where);
    const TypeIdIndex inTable(store, t);
    const RecordList models = inTable.Find(like);
    if (models.size() != 1)
        return refuse(models.empty()
                          ? "no record of " + std::string(EntryName(t)) + " holds TypeID " + Decimal(like)
                          : std::to_string(models.size()) + " records of " + EntryName(t) + " hold TypeID " +
                                Decimal(like) + "; copy one with a TypeID of its own");
    TableSlot& slot = store[t];
    if (slot.RecordCount == kMaxRecordCount)
        return refuse(std::string(EntryName(t)) + " already holds " + std::to_string(kMaxRecordCount) +
                      " records, the most a table can");
    // The copy, every byte the model's but its TypeID; then the assignments with set's rules.
    const std::size_t index = slot.RecordCount;
    const std::size_t size = RecordSize(t);
    slot.Records.Append(slot.Records.data() + models[0] * size, size);
    ++slot.RecordCount;
    WriteU32(store.Record(t, index), kTypeIdOffset, typeId);
    row.at = Position::Argument(0);
    ImportPlan plan = PlanImport(store, t, input.rows);
    if (!plan.problems.empty()) {
        run.console.Refuse(plan.problems, {"add"});
        return kExitFailure;
    }
    std::string lines = RecordHeading(t, index, typeId, RecordName(store.Record(t, index))) +
                        " (new, a copy of record " + std::to_string(models[0]) + ", TypeID " + Decimal(like) +
                        "):\n  TypeID: " + Decimal(like) + " -> " + Decimal(typeId) + "\n";
    std::string details;
    AppendPlanDetails(details, store, plan);
    lines += details.substr(std::min(details.size(), details.find('\n') + 1)); // less the plan's heading
    const std::size_t appended = plan.DescCount(DescAction::Append);
    const bool dryRun = run.archive().dryRun();
    run.console.Out(lines + EntryName(t) + (dryRun ? ": 1 record to add; " : ": 1 record added; ") +
                    "Desc.iff: " + Plural(appended, "description", "descriptions") +
                    (dryRun ? " to append.\n" : " appended.\n"));
    if (dryRun) {
        run.console.Out("Dry run: nothing written.\n");
        return kExitOk;
    }
    ApplyImport(store, plan);
    run.archive().MarkChanged(t);
    if (appended > 0) run.archive().MarkChanged(kDescTable);
    return run.archive().Commit() ? kExitOk : kExitFailure;
}

} // namespace

extern const CommandDef kAddCommand = {
    "add",
    "add an item: a copy of another under a TypeID of its own",
    {"ARCHIVE TABLE --like TYPEID --typeid NEW [FIELD=VALUE...]"},
    "Appends to the item table TABLE a copy of the record that holds TYPEID, every byte\n"
    "the same but its TypeID, which becomes NEW. The assignments then change the new\n"
    "record with the rules and checks of set; Description=TEXT gives it a description\n"
    "(without one it has none). Refused, with nothing written: a NEW that any record of\n"
    "any table or any description holds already, a TYPEID no record of TABLE holds (or\n"
    "several do), an assignment to TypeID, a value set would refuse, and a table that\n"
    "holds 65,535 records already.\n",
    {&kLikeOption, &kTypeIdOption},
    Loads::Archive,
    Needs::TableOperand,
    TableKind::ItemTable,
    Access::Writes,
    RunAdd,
};

} // namespace ledgrin::cli
