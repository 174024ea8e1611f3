// import ARCHIVE TABLE FILE: an item table changed from a CSV or JSON file, all or nothing.
#include "cli/Command.h"
#include "cli/Csv.h"
#include "cli/Files.h"
#include "cli/Json.h"
#include "cli/PlanWrite.h"

#include <optional>

namespace ledgrin::cli {

namespace {

// The plan of a file's rows, or its problems; the file's text, the rows and the indexes
// go before the plan is written, so they do not add to the memory the save needs.
std::optional<ImportPlan> PlanFile(Invocation& run, const std::string& file, std::string text) {
    const TableStore& store = run.archive().store();
    if (FileFormatFor(run.options, file) == FileFormat::Json) {
        const InputRows input = ReadJson(text);
        if (!input.problems.empty()) {
            run.console.Refuse(input.problems, {file});
            return std::nullopt;
        }
        return PlanImport(store, *run.table, input.rows, input.header);
    }
    // A row at a time: a file of a full table held as cells would be several times its size.
    CsvReader csv(text);
    RowPlanner planner(store, *run.table, csv.header());
    InputRow row;
    while (csv.Next(row))
        planner.Add(row);
    if (!csv.problems().empty()) {
        run.console.Refuse(csv.problems(), {file});
        return std::nullopt;
    }
    return planner.Finish();
}

int RunImport(Invocation& run) {
    const std::string& file = run.operands[2].text;
    std::string text;
    if (!ReadInputFile(run.console, file, text)) return kExitFailure;
    if (!run.Load()) return kExitFailure;
    std::optional<ImportPlan> plan = PlanFile(run, file, std::move(text));
    return plan ? WritePlan(run, std::move(*plan), {file}) : kExitFailure;
}

} // namespace

extern const CommandDef kImportCommand = {
    "import",
    "change a table from a CSV or JSON file, all or nothing",
    {"ARCHIVE TABLE FILE"},
    "Changes the records of the item table TABLE from FILE, as export writes it (\"-\"\n"
    "reads standard input). Rows are matched to records by TypeID, and by Index where\n"
    "records share a TypeID. Columns left out keep the archive's values; column names\n"
    "match in any letter case, and the decoded columns (labels) are checked, not written.\n"
    "\n"
    "A row whose values all equal the archive's changes nothing, so importing an\n"
    "unchanged export changes no byte. A changed row is written with the editor's Update\n"
    "rules: Name (at most 39 bytes), Level, prices, shop and marker bits, stats and\n"
    "slots; PriceCopy, MonthlyPrice and StatCopy follow their rules, and so do the bonus\n"
    "rates and EffectTime. A changed Description rewrites the item's first description\n"
    "or appends one (at most 512 bytes; carriage returns are dropped).\n"
    "\n"
    "Everything is checked before anything is written: an unknown or repeated TypeID,\n"
    "text that is not a number, a value too wide for its field, a changed read-only\n"
    "field, or a value that the Update's rules would store differently is reported with\n"
    "its line, and nothing changes. Then the table and Desc.iff are written, and the\n"
    "archive is replaced in one step.\n",
    {&kFormatOption},
    Loads::Archive,
    Needs::TableOperand,
    TableKind::ItemTable,
    Access::Writes,
    RunImport,
};

} // namespace ledgrin::cli
