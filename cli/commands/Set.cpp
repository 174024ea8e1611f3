// set ARCHIVE TABLE TYPEID FIELD=VALUE..., or every record --where conditions hold.
#include "cli/BatchEdit.h"
#include "cli/CliText.h"
#include "cli/Command.h"
#include "cli/PlanWrite.h"

namespace ledgrin::cli {

namespace {

// Every record of TABLE for which all --where conditions hold.
int RunBatchSet(Invocation& run) {
    const TableIndex t = *run.table;
    const std::vector<Column> columns = TableColumns(t);
    std::vector<Condition> conditions;
    for (const std::string& text : run.options.where)
        if (const std::string why = ParseCondition(columns, text, conditions.emplace_back()); !why.empty())
            return run.UsageError("--where " + QuotedText(text) + ": " + why);
    std::vector<Assignment> assignments;
    for (std::size_t i = 2; i < run.operands.size(); ++i)
        if (const std::string why =
                ParseAssignment(columns, run.operands[i].text, assignments.emplace_back());
            !why.empty())
            return run.UsageError(QuotedText(run.operands[i].text) + ": " + why);
    if (!run.Load()) return kExitFailure;
    const TableStore& store = run.archive().store();
    ImportPlan plan;
    BatchRows batch;
    { // the planner's indexes go before the plan is written
        RowPlanner planner(store, t);
        batch = PlanBatch(store, t, conditions, assignments, [&](const InputRow& row) { planner.Add(row); });
        plan = planner.Finish();
    }
    if (batch.matched == 0) {
        run.console.Error(run.archive().path() + ": no record of " + EntryName(t) +
                          " matches the --where conditions; nothing was written");
        return kExitFailure;
    }
    const ProblemSource records{"set", &store, t};
    if (!batch.problems.empty()) {
        run.console.Refuse(batch.problems, records);
        return kExitFailure;
    }
    return WritePlan(run, std::move(plan), records);
}

int RunSet(Invocation& run) {
    if (!run.options.where.empty()) return RunBatchSet(run);
    const Operand& typeId = run.operands[2];
    InputRows input;
    InputRow& row = input.rows.emplace_back();
    row.at = Position::Argument(typeId.word);
    row.cells.push_back({"TypeID", typeId.text, row.at});
    if (!ReadAssignments(run, 3, row)) return kExitUsage;
    if (!run.Load()) return kExitFailure;
    return WritePlan(run, PlanImport(run.archive().store(), *run.table, input.rows), {"set"});
}

} // namespace

extern const CommandDef kSetCommand = {
    "set",
    "change fields of one item, or of every item that matches",
    {"ARCHIVE TABLE TYPEID FIELD=VALUE...", "ARCHIVE TABLE --where COND... ASSIGNMENT..."},
    "Changes fields of the item TYPEID of the item table TABLE with the rules and checks\n"
    "of import. FIELD is a column name of export (Price, Name, Description, ...);\n"
    "Index=N picks one of several records that share the TypeID. Numbers are decimal,\n"
    "or hexadecimal after 0x. Only the fields whose value changes are written, with the\n"
    "fields the editor's rules derive from them (PriceCopy follows Price, ...).\n"
    "\n"
    "With --where, every record of TABLE for which all conditions hold is changed:\n"
    "  COND        name~TEXT (the name contains TEXT, in any letter case), or\n"
    "              FIELD=V, FIELD!=V, FIELD<V, FIELD<=V, FIELD>V, FIELD>=V on any\n"
    "              numeric column of export (Index, Price, char, ...).\n"
    "  ASSIGNMENT  FIELD=V, FIELD+=N, FIELD-=N or FIELD*=F (F a decimal number such as\n"
    "              1.1; the product is rounded to the nearest integer, halves away\n"
    "              from zero).\n"
    "All or nothing: a result that does not fit its field is reported for every record\n"
    "and nothing is written; so is a --where that matches no record (exit code 1).\n"
    "\n"
    "Examples: ledgrin-cli set tarvik_gb.iff Part 8388610 Price=1500 \"Name=Blue Cap\"\n"
    "          ledgrin-cli set tarvik_gb.iff Part --where name~cap --where \"Price<5000\" \\\n"
    "              \"Price*=1.1\" --dry-run\n",
    {&kWhereOption},
    Loads::Archive,
    Needs::TableOperand,
    TableKind::ItemTable,
    Access::Writes,
    RunSet,
};

} // namespace ledgrin::cli
