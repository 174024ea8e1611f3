// verify ARCHIVE: inconsistencies across the tables, with counts and examples.
#include "cli/Verify.h"
#include "cli/Command.h"

namespace ledgrin::cli {

namespace {

int RunVerify(Invocation& run) {
    if (!run.Load()) return kExitFailure;
    run.console.Out(VerifyArchive(run.archive().archive()));
    return kExitOk;
}

} // namespace

extern const CommandDef kVerifyCommand = {
    "verify",
    "look for inconsistencies across the tables",
    {"ARCHIVE"},
    "Loads all fourteen tables and reports, with counts and up to five examples each:\n"
    "damaged or missing tables, duplicate TypeIDs within a table, TypeIDs held by items\n"
    "of several tables, descriptions whose TypeID no item has, TypeIDs with several\n"
    "descriptions, set members that refer to no item, sets with a MemberCount above 10,\n"
    "codes without a label (characters, card volumes, level indexes), items with both\n"
    "\" Avail. in Shop\" and \" Display only\" set, and names without a NUL.\n"
    "The exit code is 1 when a table is damaged or missing; other findings are reported\n"
    "only.\n",
    {},
    Loads::Archive,
    Needs::ReportAll,
    TableKind::AnyTable,
    Access::Reads,
    RunVerify,
};

} // namespace ledgrin::cli
