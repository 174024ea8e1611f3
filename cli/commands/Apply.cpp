// apply ARCHIVE FILE...: the changes and added records of patches carried into an archive,
// each patch applied in memory to what the ones before it made, then one write.
#include "cli/CliText.h"
#include "cli/Command.h"
#include "cli/Files.h"
#include "cli/Patch.h"

#include <map>

namespace ledgrin::cli {

namespace {

struct PatchFile {
    std::string path;
    Patch patch;
};

// What the last patch did, and the changes a dry run lists for all of them so far.
struct PatchResult {
    std::size_t made = 0, already = 0, conflicting = 0;
    std::string out;
};

// Plans one patch against the store as the patches before it left it and makes its
// changes there; setBy remembers which patch last set each field, for the messages. The
// records it does not carry and its conflicts are written as they are found (conflicts to
// standard error unless skipped), since a patch of a full table has a line for every
// record. False when the patch cannot be planned at all.
bool ApplyOne(Invocation& run, const PatchFile& file, bool several, std::map<std::string, std::string>& setBy,
              PatchResult& result) {
    Session& session = run.archive();
    const Patch& patch = file.patch;
    const ApplyPlan plan = PlanPatch(session.store(), patch);
    if (!plan.problems.empty()) {
        run.console.Refuse(plan.problems, {file.path});
        return false;
    }
    const bool skip = run.options.skipConflicts;
    const std::string in = several ? file.path + ": " : "";
    for (const PatchUnmatched& u : patch.unmatched)
        run.console.Out("Not applied: " + u.table + " TypeID " + Decimal(u.typeId) + " " +
                        QuotedText(u.name) + " is only in the " + (u.inNew ? "new" : "old") +
                        " archive of the patch.\n");
    for (const PatchRemoved& r : patch.removed)
        run.console.Out("not removed: " + r.table + " TypeID " + Decimal(r.typeId) + " " +
                        QuotedText(r.name) + "\n");
    const auto conflict = [&](const std::string& what, const std::string& key, const std::string& wanted) {
        const auto by = setBy.find(key);
        const std::string line = std::string(skip ? "Skipped: " : "Conflict: ") + in + what +
                                 (by == setBy.end() ? "" : ", set by " + by->second) + wanted + "\n";
        skip ? run.console.Out(line) : run.console.ErrorText(line);
    };
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        const PatchChange& c = patch.changes[i];
        const ChangeOutcome& o = plan.outcomes[i];
        if (o.outcome == Outcome::Make && session.dryRun()) {
            result.out += "  ";
            AppendChangeLabel(result.out, c);
            result.out += ": ";
            AppendValueText(result.out, c.oldValue);
            result.out += " -> ";
            AppendValueText(result.out, c.newValue);
            result.out += '\n';
        }
        if (o.outcome == Outcome::Make && several) setBy[TargetKey(c)] = file.path;
        if (o.outcome != Outcome::Conflict) continue;
        conflict(ChangeLabel(c) + ": expected " + ValueText(c.oldValue) + ", found " + o.found, TargetKey(c),
                 ", wanted " + ValueText(c.newValue));
    }
    for (std::size_t i = 0; i < patch.added.size(); ++i) {
        const PatchAdded& a = patch.added[i];
        const ChangeOutcome& o = plan.added[i];
        if (o.outcome == Outcome::Make && session.dryRun()) result.out += "  Add: " + AddedLabel(a) + "\n";
        if (o.outcome == Outcome::Make && several) setBy[TargetKey(a)] = file.path;
        if (o.outcome != Outcome::Conflict) continue;
        conflict("added " + AddedLabel(a) + ": found " + o.found, TargetKey(a), "");
    }
    result.made = plan.Count(Outcome::Make);
    result.already = plan.Count(Outcome::Already);
    result.conflicting = plan.Count(Outcome::Conflict);
    for (TableIndex t : ApplyPatch(session.store(), patch, plan))
        session.MarkChanged(t);
    return true;
}

int RunApply(Invocation& run) {
    std::vector<PatchFile> files;
    for (std::size_t i = 1; i < run.operands.size(); ++i) {
        PatchFile& file = files.emplace_back();
        file.path = run.operands[i].text;
        std::string text;
        if (!ReadInputFile(run.console, file.path, text)) return kExitFailure;
        Problem problem;
        std::optional<Patch> patch = ReadPatch(text, problem);
        if (!patch) {
            run.console.Refuse({problem}, {file.path});
            return kExitFailure;
        }
        file.patch = std::move(*patch);
    }
    if (!run.Load()) return kExitFailure;
    Session& session = run.archive();
    for (const PatchFile& file : files) {
        // A table the patch writes must have loaded: a damaged one would be replaced by its additions.
        // Each name once where it repeats (a patch names the same table change after change),
        // in the order the patch names them.
        std::vector<std::string_view> tables;
        for (const PatchChange& change : file.patch.changes)
            if (tables.empty() || tables.back() != change.table) tables.push_back(change.table);
        for (const PatchAdded& added : file.patch.added)
            tables.insert(tables.end(), {added.table, "Desc"});
        for (std::string_view name : tables)
            if (const std::optional<TableIndex> t = FindTableByName(name); t && !session.Require(*t))
                return kExitFailure;
    }
    const bool several = files.size() > 1;
    std::map<std::string, std::string> setBy;
    PatchResult result;
    std::string summaries;
    std::size_t conflicting = 0;
    for (const PatchFile& file : files) {
        if (!ApplyOne(run, file, several, setBy, result)) return kExitFailure;
        conflicting += result.conflicting;
        summaries += "Patch" + (several ? " " + file.path : std::string()) + ": " +
                     Plural(result.made, "change", "changes") + (session.dryRun() ? " to make" : " made") +
                     ", " + std::to_string(result.already) + " already present, " +
                     std::to_string(result.conflicting) + " conflicting.\n";
    }
    if (conflicting > 0 && !run.options.skipConflicts) {
        run.console.Error(Plural(conflicting, "conflicting change", "conflicting changes") +
                          "; nothing was written");
        return kExitFailure;
    }
    run.console.Out(result.out);
    if (session.dryRun()) {
        run.console.Out(summaries + "Dry run: nothing written.\n");
        return kExitOk;
    }
    std::vector<PatchFile>().swap(files); // applied: their memory goes before the save needs its own
    if (!session.Commit()) return kExitFailure;
    run.console.Out(summaries);
    return kExitOk;
}

} // namespace

extern const CommandDef kApplyCommand = {
    "apply",
    "carry the changes of patches into an archive",
    {"ARCHIVE FILE..."},
    "Applies patches written by diff --patch to ARCHIVE, for instance a new release of\n"
    "the game's archive, in the order given: each applies to what the ones before it\n"
    "made, all in memory, and the archive is written once, with one backup, and not at\n"
    "all when every change is already there. Each change finds its record by table and\n"
    "TypeID, wherever it now stands. The field holding \"new\" already: nothing to do.\n"
    "Holding \"old\": the change is made (a missing description whose \"old\" is null is\n"
    "appended). Anything else is a conflict, and so is a TypeID that no record or several\n"
    "records hold. An added record is appended to its table, with its description, when\n"
    "no record there holds its TypeID; the same bytes there already count as present;\n"
    "another record there, or its description with another text, is a conflict. Removed\n"
    "records are reported and never deleted. With any conflict nothing is written and\n"
    "every conflict is listed with its expected, found and wanted values and, when an\n"
    "earlier patch set the value found, that patch (exit code 1). Only the patches'\n"
    "fields and records are written. --dry-run lists the changes that would be made.\n",
    {&kSkipConflictsOption},
    Loads::Archive,
    Needs::Nothing,
    TableKind::AnyTable,
    Access::Writes,
    RunApply,
};

} // namespace ledgrin::cli
