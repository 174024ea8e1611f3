// tables ARCHIVE: one line per table, a damaged one with its problem.
#include "cli/Command.h"
#include "cli/TableList.h"

namespace ledgrin::cli {

namespace {

int RunTables(Invocation& run) {
    if (!run.Load()) return kExitFailure;
    run.console.Out(FormatTableList(run.archive().archive()));
    return kExitOk;
}

} // namespace

extern const CommandDef kTablesCommand = {
    "tables",
    "list the fourteen tables with their record counts and header words",
    {"ARCHIVE"},
    "Lists the fourteen tables: entry name, record count, record size, HeaderWord2,\n"
    "Version and the size of the table's entry (header and records). A table that did\n"
    "not load is listed with the reason (not in the archive, shorter than its header,\n"
    "fewer bytes than its header promises, a CRC mismatch, an unsupported method or\n"
    "version ...), which standard error repeats, and the exit code is then 1.\n",
    {},
    Loads::Archive,
    Needs::ReportAll,
    TableKind::AnyTable,
    Access::Reads,
    RunTables,
};

} // namespace ledgrin::cli
