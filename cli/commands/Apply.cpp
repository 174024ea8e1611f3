// apply ARCHIVE FILE: the changes of a patch carried into an archive.
#include "cli/CliText.h"
#include "cli/Command.h"
#include "cli/Files.h"
#include "cli/Patch.h"

namespace ledgrin::cli {

namespace {

int RunApply(Invocation& run) {
    const std::string& file = run.operands[1].text;
    std::string text;
    if (!ReadInputFile(run.console, file, text)) return kExitFailure;
    Problem problem;
    const std::optional<Patch> patch = ReadPatch(text, problem);
    if (!patch) {
        run.console.Refuse({problem}, {file});
        return kExitFailure;
    }
    if (!run.Load()) return kExitFailure;
    Session& session = run.archive();
    for (const PatchChange& change : patch->changes)
        if (const std::optional<TableIndex> t = FindTableByName(change.table); t && !session.Require(*t))
            return kExitFailure;
    const ApplyPlan plan = PlanPatch(session.store(), *patch);
    if (!plan.problems.empty()) {
        run.console.Refuse(plan.problems, {file});
        return kExitFailure;
    }
    for (const PatchUnmatched& u : patch->unmatched)
        run.console.Out("Not applied: " + u.table + " TypeID " + Decimal(u.typeId) + " " +
                        QuotedText(u.name) + " is only in the " + (u.inNew ? "new" : "old") +
                        " archive of the patch.\n");
    const bool skip = run.options.skipConflicts;
    std::string changes, conflicts;
    for (std::size_t i = 0; i < patch->changes.size(); ++i) {
        const PatchChange& c = patch->changes[i];
        const ChangeOutcome& o = plan.outcomes[i];
        if (o.outcome == Outcome::Make && session.dryRun())
            changes +=
                "  " + ChangeLabel(c) + ": " + ValueText(c.oldValue) + " -> " + ValueText(c.newValue) + "\n";
        if (o.outcome == Outcome::Conflict)
            conflicts += std::string(skip ? "Skipped: " : "Conflict: ") + ChangeLabel(c) + ": expected " +
                         ValueText(c.oldValue) + ", found " + o.found + ", wanted " + ValueText(c.newValue) +
                         "\n";
    }
    const std::size_t conflicting = plan.Count(Outcome::Conflict);
    if (conflicting > 0 && !skip) {
        run.console.ErrorLine(conflicts.substr(0, conflicts.size() - 1));
        run.console.Error(Plural(conflicting, "conflicting change", "conflicting changes") +
                          "; nothing was written");
        return kExitFailure;
    }
    run.console.Out(conflicts + changes);
    const std::string counts = ", " + std::to_string(plan.Count(Outcome::Already)) + " already present, " +
                               std::to_string(conflicting) + " conflicting.\n";
    const std::size_t make = plan.Count(Outcome::Make);
    if (session.dryRun()) {
        run.console.Out("Patch: " + Plural(make, "change", "changes") + " to make" + counts +
                        "Dry run: nothing written.\n");
        return kExitOk;
    }
    for (TableIndex t : ApplyPatch(session.store(), *patch, plan))
        session.MarkChanged(t);
    if (!session.Commit()) return kExitFailure;
    run.console.Out("Patch: " + Plural(make, "change", "changes") + " made" + counts);
    return kExitOk;
}

} // namespace

extern const CommandDef kApplyCommand = {
    "apply",
    "carry the changes of a patch into an archive",
    {"ARCHIVE FILE"},
    "Applies a patch written by diff --patch to ARCHIVE, for instance a new release of\n"
    "the game's archive. Each change finds its record by table and TypeID, wherever it\n"
    "now stands. The field holding \"new\" already: nothing to do. Holding \"old\": the\n"
    "change is made (a missing description whose \"old\" is null is appended). Anything\n"
    "else is a conflict, and so is a TypeID that no record or several records hold.\n"
    "With any conflict nothing is written and every conflict is listed with its\n"
    "expected, found and wanted values (exit code 1). Records the patch lists as\n"
    "unmatched are reported and left alone. Only the patch's fields are written.\n"
    "--dry-run lists the changes that would be made.\n",
    {&kSkipConflictsOption},
    Loads::Archive,
    Needs::Nothing,
    TableKind::AnyTable,
    Access::Writes,
    RunApply,
};

} // namespace ledgrin::cli
