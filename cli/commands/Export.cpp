// export ARCHIVE TABLE: one table as CSV or JSON.
#include "cli/Export.h"
#include "cli/Command.h"
#include "cli/Files.h"

namespace ledgrin::cli {

namespace {

int RunExport(Invocation& run) {
    if (!run.Load()) return kExitFailure;
    const std::string& output = run.options.output;
    const bool toFile = !output.empty() && output != "-";
    BlockWriter out;
    if (out.Open(run.console, output)) {
        ExportTable(run.archive().store(), *run.table, FileFormatFor(run.options, output), out);
        if (out.Finish()) return kExitOk;
    }
    run.console.Error(toFile ? output + ": cannot write the file" : "cannot write standard output");
    return kExitFailure;
}

} // namespace

extern const CommandDef kExportCommand = {
    "export",
    "write one table as CSV or JSON",
    {"ARCHIVE TABLE"},
    "Writes one row per record of TABLE, in record order: Index, every named field under\n"
    "its name (Enabled, TypeID, Name, Level, Price, ... and the table's own fields),\n"
    "read-only columns decoded from the TypeID and the label lists (char,\n"
    "CharacterLabel, RankLabel, ...) and the item's Description.\n"
    "\n"
    "CSV as RFC 4180 writes it (CR LF after each record, line feeds inside quotes), or a\n"
    "JSON array with one object per line. Texts are written byte for byte: in CSV as\n"
    "they are, in JSON with each byte from 0x80 up as \\u0080 to \\u00FF (a tool that\n"
    "rewrites the file must keep those escapes, as Python's json module does by\n"
    "default). Desc exports as Index, TypeID and Description and cannot be imported.\n",
    {&kFormatOption, &kOutputOption},
    Loads::Archive,
    Needs::TableOperand,
    TableKind::AnyTable,
    Access::Reads,
    RunExport,
};

} // namespace ledgrin::cli
