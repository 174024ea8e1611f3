// diff ARCHIVE_A ARCHIVE_B [TABLE]: record by record, or as a patch.
#include "cli/ArchiveDiff.h"
#include "cli/CliText.h"
#include "cli/Command.h"
#include "cli/Files.h"
#include "cli/Patch.h"

#include <array>

namespace ledgrin::cli {

namespace {

int RunDiff(Invocation& run) {
    if (!run.Load()) return kExitFailure;
    Session &a = run.archives[0], &b = run.archives[1];
    int status = kExitOk;
    std::array<bool, kTableCount> compare{};
    for (TableIndex t = 0; t < kTableCount; ++t) {
        if (run.table && t != *run.table) continue;
        const bool loadedA = a.Require(t), loadedB = b.Require(t);
        if (!loadedA || !loadedB) status = kExitFailure;
        compare[t] = loadedA && loadedB;
    }
    if (!run.options.patch) {
        // Every table's problems are said before the first difference is written.
        BlockWriter out;
        out.Open(run.console, "-");
        for (TableIndex t = 0; t < kTableCount; ++t)
            if (compare[t]) DiffTable(a.store(), b.store(), t, out);
        out.Finish();
        return status;
    }
    // A patch of part of the tables would look complete; a damaged table stops it.
    if (status != kExitOk) {
        run.console.Error("no patch was written");
        return status;
    }
    const Patch patch = MakePatch(a.store(), b.store(), run.table);
    const std::string& file = *run.options.patch;
    if (!WriteWholeFile(file, FormatPatch(patch))) {
        run.console.Error(file + ": cannot write the file");
        return kExitFailure;
    }
    run.console.Out("Wrote " + file + ": " + Plural(patch.changes.size(), "change", "changes") + ", " +
                    Plural(patch.added.size(), "record", "records") + " added, " +
                    std::to_string(patch.removed.size()) + " removed.\n");
    return kExitOk;
}

} // namespace

extern const CommandDef kDiffCommand = {
    "diff",
    "compare two archives record by record, or write a patch",
    {"ARCHIVE_A ARCHIVE_B [TABLE]"},
    "Compares the tables of two archives, or only TABLE. Records are matched by TypeID\n"
    "(records that share a TypeID in index order) and reported as added, removed or\n"
    "changed. A changed record lists each changed field by name with its old and new\n"
    "value, a changed name or description, and changed byte ranges that no field names.\n"
    "Header words that differ are reported too. No output: the tables are the same.\n"
    "\n"
    "With --patch the changes are written as a JSON patch for apply: one change per\n"
    "field {\"table\", \"typeid\", \"field\", \"old\", \"new\"} (descriptions: table \"Desc\",\n"
    "field \"Description\", \"old\" null when there was none), and the records found in\n"
    "only one archive under \"unmatched\". Bytes that no field names are not carried.\n",
    {&kPatchOption},
    Loads::TwoArchives,
    Needs::Nothing,
    TableKind::AnyTable,
    Access::Reads,
    RunDiff,
};

} // namespace ledgrin::cli
