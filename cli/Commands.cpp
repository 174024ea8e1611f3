#include "cli/Commands.h"

#include "records/RecordHead.h"
#include "cli/ArchiveDiff.h"
#include "cli/ArchiveFiles.h"
#include "cli/BatchEdit.h"
#include "cli/CliText.h"
#include "cli/CommandArgs.h"
#include "cli/CommandHelp.h"
#include "cli/Csv.h"
#include "cli/Export.h"
#include "cli/ImportPlan.h"
#include "cli/Json.h"
#include "cli/Patch.h"
#include "cli/Refs.h"
#include "cli/TableList.h"
#include "cli/Verify.h"

#include <cstdio>
#include <new>
#include <optional>

namespace ledgrin::cli {

namespace {

constexpr std::size_t kMaxErrorsShown = 50;

struct Command;
using Handler = int (*)(const Command& command, const ParsedArgs& args);

struct Command {
    const char* name;
    const CommandHelp& help;
    std::vector<OptionDef> options;
    Handler run;
};

// --- output ---------------------------------------------------------------------------

void Out(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void Err(const std::string& text) {
    std::fputs(("ledgrin-cli: " + text + "\n").c_str(), stderr);
}

int UsageError(const Command& command, const std::string& message) {
    Err(command.name + std::string(": ") + message);
    std::fprintf(stderr, "%sTry 'ledgrin-cli %s --help'.\n", command.help.usage, command.name);
    return kExitUsage;
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::remove(path.c_str());
    return ok;
}

bool ReadFile(const std::string& path, std::string& text) {
    const bool standardInput = path == "-";
    std::FILE* file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, n);
    const bool ok = !std::ferror(file);
    if (!standardInput) std::fclose(file);
    return ok;
}

// "FILE:LINE: message" (with ":COLUMN" after the line for a syntax error) for a file,
// "set: argument N: message" for the command line, "FILE: message" without a line.
void PrintErrors(const std::vector<InputError>& errors, const std::string& source, bool fromArguments) {
    for (std::size_t i = 0; i < errors.size() && i < kMaxErrorsShown; ++i) {
        const InputError& e = errors[i];
        std::string where = source + (fromArguments ? ": argument " : ":") + std::to_string(e.line);
        if (e.column > 0) where += ":" + std::to_string(e.column);
        if (e.line == 0) where = source;
        std::fputs((where + ": " + e.message + "\n").c_str(), stderr);
    }
    if (errors.size() > kMaxErrorsShown)
        std::fprintf(stderr, "... and %lu more errors\n",
                     static_cast<unsigned long>(errors.size() - kMaxErrorsShown));
}

// --- shared steps ---------------------------------------------------------------------

// A line on standard error for each table that did not load; true when there was one.
bool ReportDamaged(const std::string& path, const LoadedArchive& archive) {
    bool damaged = false;
    for (TableIndex t = 0; t < kTableCount; ++t) {
        if (archive.results[t] == kLoaded) continue;
        Err(path + ": " + EntryName(t) + ": " + LoadProblem(archive, t));
        damaged = true;
    }
    return damaged;
}

// What a command that writes was told: its backup, how long it waits for another
// writer's lock, and whether it only shows what it would do.
struct WriteOptions {
    BackupPolicy backup;
    double waitSeconds = 10;
    bool dryRun = false;
};

// Loads the archive and checks that the tables a command needs are there. For a write
// (not a dry run) the archive's write lock is taken first and held by the result.
std::optional<LoadedArchive> Load(const std::string& path, std::initializer_list<TableIndex> needed,
                                  const WriteOptions* write = nullptr) {
    LoadedArchive archive;
    const LockResult locked = write && !write->dryRun ? LoadArchiveLocked(path, write->waitSeconds, archive)
                                                      : (archive = LoadArchive(path), LockResult::Locked);
    if (locked == LockResult::Busy) {
        Err(path + " is being written by another process; nothing was written");
        return std::nullopt;
    }
    if (locked == LockResult::CannotLock) {
        Err(path + ": cannot open its lock file " + ArchiveLockPath(path) + "; nothing was written");
        return std::nullopt;
    }
    if (!archive.opened) {
        Err(archive.openWhy);
        return std::nullopt;
    }
    for (TableIndex t : needed) {
        if (archive.results[t] == kLoaded) continue;
        Err(path + ": " + EntryName(t) + ": " + LoadProblem(archive, t));
        return std::nullopt;
    }
    return archive;
}

std::optional<TableIndex> TableArgument(const Command& command, const std::string& name, bool itemOnly,
                                        int& status) {
    std::optional<TableIndex> t = FindTableByName(name);
    if (!t)
        status = UsageError(command, "unknown table " + QuotedText(name));
    else if (itemOnly && !IsItemTable(*t))
        status = UsageError(command, std::string(EntryName(*t)) + " is not an item table; descriptions are " +
                                         "changed through the Description column of their items");
    return t && (!itemOnly || IsItemTable(*t)) ? t : std::nullopt;
}

bool EndsWithJson(const std::string& path) {
    return path.size() >= 5 && NamesEqualNoCase(std::string_view(path).substr(path.size() - 5), ".json");
}

std::optional<FileFormat> FormatArgument(const Command& command, const ParsedArgs& args,
                                         const std::string& path, int& status) {
    if (!args.Has("--format")) return EndsWithJson(path) ? FileFormat::Json : FileFormat::Csv;
    const std::string value = args.Value("--format");
    if (value == "csv") return FileFormat::Csv;
    if (value == "json") return FileFormat::Json;
    status = UsageError(command, "--format is csv or json, not " + QuotedText(value));
    return std::nullopt;
}

// Seconds as --wait takes them: digits, with an optional fraction.
bool ParseSeconds(const std::string& text, double& seconds) {
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point),
                      fraction = point == std::string::npos ? "0" : text.substr(point + 1);
    const auto digits = [](const std::string& s) {
        return !s.empty() && s.size() <= 9 && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digits(whole) || !digits(fraction)) return false;
    seconds = std::stod(text);
    return true;
}

// The options of a writing command: --no-backup, --keep-backups N (at least 1), --wait
// SECONDS, --dry-run.
std::optional<WriteOptions> WriteArgument(const Command& command, const ParsedArgs& args, int& status) {
    WriteOptions options;
    options.backup.enabled = !args.Has("--no-backup");
    options.dryRun = args.Has("--dry-run");
    std::uint32_t keep = 0;
    if (args.Has("--keep-backups") &&
        (ParseUnsigned(args.Value("--keep-backups"), keep) != NumberParse::Ok || keep == 0)) {
        status = UsageError(command, "--keep-backups takes a number from 1 up; --no-backup keeps none");
        return std::nullopt;
    }
    if (keep > 0) options.backup.keep = keep;
    if (args.Has("--wait") && !ParseSeconds(args.Value("--wait"), options.waitSeconds)) {
        status = UsageError(command, "--wait takes a number of seconds, such as 10 or 0.5");
        return std::nullopt;
    }
    return options;
}

// The message of a failed write; the archive is unchanged in every case.
void SaveFailed(const std::string& path, SaveAllResult result) {
    Err(path + (result == SaveAllResult::CannotBackUp ? ": the backup could not be made; nothing was written"
                : result == SaveAllResult::Changed
                    ? " changed since it was read; nothing was written"
                    : ": the archive could not be rewritten; it is unchanged"));
}

// Prints a plan without errors, or (unless dryRun) writes it into the archive at path.
int WritePlan(const std::string& path, LoadedArchive& archive, const ImportPlan& plan,
              const WriteOptions& write) {
    if (write.dryRun || plan.rows.empty()) {
        Out(FormatPlanDetails(plan) + FormatPlanSummary(plan, false));
        if (write.dryRun) Out("Dry run: nothing written.\n");
        return kExitOk;
    }
    if (ApplyImport(archive.store, plan) != ApplyResult::Applied) {
        Err("out of memory; nothing was written");
        return kExitFailure;
    }
    std::vector<TableIndex> tables;
    if (plan.RecordCount() > 0) tables.push_back(plan.table);
    if (plan.DescCount(DescAction::Rewrite) + plan.DescCount(DescAction::Append) > 0)
        tables.push_back(kDescTable);
    if (const SaveAllResult saved = SaveTables(archive, tables, write.backup);
        saved != SaveAllResult::Saved) {
        SaveFailed(path, saved);
        return kExitFailure;
    }
    Out(FormatPlanSummary(plan, true));
    return kExitOk;
}

// Checks, plans and (unless dryRun) writes rows into item table t of the archive at path.
int ImportRows(const std::string& path, LoadedArchive& archive, TableIndex t, const InputRows& input,
               const WriteOptions& write, const std::string& source, bool fromArguments) {
    const ImportPlan plan = PlanImport(archive.store, t, input.rows, input.header);
    if (!plan.errors.empty()) {
        PrintErrors(plan.errors, source, fromArguments);
        Err("nothing was written");
        return kExitFailure;
    }
    return WritePlan(path, archive, plan, write);
}

// Errors of a batch edit, whose lines are record indexes + 1: every one, under its record.
int BatchErrors(const LoadedArchive& archive, TableIndex t, const std::vector<InputError>& errors) {
    for (const InputError& e : errors) {
        const std::size_t index = static_cast<std::size_t>(e.line - 1);
        const std::uint8_t* record = archive.store.Record(t, index);
        std::fputs((std::string(EntryName(t)) + " record " + std::to_string(index) + ", TypeID " +
                    Decimal(RecordTypeId(record)) + " " + QuotedText(RecordName(record)) + ": " + e.message +
                    "\n")
                       .c_str(),
                   stderr);
    }
    Err("nothing was written");
    return kExitFailure;
}

// set ARCHIVE TABLE --where COND... ASSIGNMENT...
int RunBatchSet(const Command& command, const ParsedArgs& args, TableIndex t, const WriteOptions& write) {
    if (args.positional.size() < 3) return UsageError(command, "expected ARCHIVE, TABLE and ASSIGNMENT");
    const std::vector<Column> columns = TableColumns(t);
    std::vector<Condition> conditions;
    for (const std::string& text : args.Values("--where")) {
        const std::string why = ParseCondition(columns, text, conditions.emplace_back());
        if (!why.empty()) return UsageError(command, "--where " + QuotedText(text) + ": " + why);
    }
    std::vector<Assignment> assignments;
    for (std::size_t i = 2; i < args.positional.size(); ++i) {
        const std::string why = ParseAssignment(columns, args.positional[i], assignments.emplace_back());
        if (!why.empty()) return UsageError(command, QuotedText(args.positional[i]) + ": " + why);
    }
    const std::string& path = args.positional[0];
    std::optional<LoadedArchive> archive = Load(path, {t, kDescTable}, &write);
    if (!archive) return kExitFailure;
    const BatchRows batch = PlanBatch(archive->store, t, conditions, assignments);
    if (batch.matched.empty()) {
        Err(path + ": no record of " + EntryName(t) + " matches the --where conditions; nothing was written");
        return kExitFailure;
    }
    if (!batch.errors.empty()) return BatchErrors(*archive, t, batch.errors);
    ImportPlan plan = PlanImport(archive->store, t, batch.rows);
    if (!plan.errors.empty()) return BatchErrors(*archive, t, plan.errors);
    for (RowPlan& row : plan.rows)
        row.line = 0; // record indexes, already in each row's heading
    return WritePlan(path, *archive, plan, write);
}

// --- the commands ---------------------------------------------------------------------

int RunTables(const Command& command, const ParsedArgs& args) {
    if (args.positional.size() != 1) return UsageError(command, "expected ARCHIVE");
    LoadedArchive archive = LoadArchive(args.positional[0]);
    if (!archive.opened) {
        Err(archive.openWhy);
        return kExitFailure;
    }
    Out(FormatTableList(archive));
    return ReportDamaged(args.positional[0], archive) ? kExitFailure : kExitOk;
}

int RunExport(const Command& command, const ParsedArgs& args) {
    if (args.positional.size() != 2) return UsageError(command, "expected ARCHIVE and TABLE");
    int status = kExitOk;
    const std::string output = args.Value("-o");
    std::optional<TableIndex> t = TableArgument(command, args.positional[1], false, status);
    std::optional<FileFormat> format = t ? FormatArgument(command, args, output, status) : std::nullopt;
    if (!t || !format) return status;
    std::optional<LoadedArchive> archive = Load(args.positional[0], {*t, kDescTable});
    if (!archive) return kExitFailure;
    const std::string text = ExportTable(archive->store, *t, *format);
    if (output.empty() || output == "-") {
        Out(text);
        if (std::fflush(stdout) == 0) return kExitOk;
        Err("cannot write standard output");
        return kExitFailure;
    }
    if (WriteFile(output, text)) return kExitOk;
    Err(output + ": cannot write the file");
    return kExitFailure;
}

int RunImport(const Command& command, const ParsedArgs& args) {
    if (args.positional.size() != 3) return UsageError(command, "expected ARCHIVE, TABLE and FILE");
    const std::string& file = args.positional[2];
    int status = kExitOk;
    std::optional<TableIndex> t = TableArgument(command, args.positional[1], true, status);
    std::optional<FileFormat> format = t ? FormatArgument(command, args, file, status) : std::nullopt;
    std::optional<WriteOptions> write = format ? WriteArgument(command, args, status) : std::nullopt;
    if (!t || !format || !write) return status;
    std::string text;
    if (!ReadFile(file, text)) {
        Err(file + ": cannot read the file");
        return kExitFailure;
    }
    std::optional<LoadedArchive> archive = Load(args.positional[0], {*t, kDescTable}, &*write);
    if (!archive) return kExitFailure;
    const InputRows input = *format == FileFormat::Json ? ReadJson(text) : ReadCsv(text);
    if (!input.errors.empty()) {
        PrintErrors(input.errors, file, false);
        Err("nothing was written");
        return kExitFailure;
    }
    return ImportRows(args.positional[0], *archive, *t, input, *write, file, false);
}

int RunSet(const Command& command, const ParsedArgs& args) {
    int status = kExitOk;
    std::optional<TableIndex> t =
        args.positional.size() < 2 ? std::nullopt : TableArgument(command, args.positional[1], true, status);
    std::optional<WriteOptions> write = t ? WriteArgument(command, args, status) : std::nullopt;
    if (write && args.Has("--where")) return RunBatchSet(command, args, *t, *write);
    if (args.positional.size() < 4 && status == kExitOk)
        return UsageError(command, "expected ARCHIVE, TABLE, TYPEID and FIELD=VALUE");
    if (!write) return status;
    // The row's "lines" are argument positions, so errors point at the argument.
    InputRow row{3, {{"TypeID", args.positional[2], 3}}};
    for (std::size_t i = 3; i < args.positional.size(); ++i) {
        const std::string& assignment = args.positional[i];
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0)
            return UsageError(command, QuotedText(assignment) + " is not FIELD=VALUE");
        row.cells.push_back(
            {assignment.substr(0, equals), assignment.substr(equals + 1), static_cast<int>(i + 1)});
    }
    std::optional<LoadedArchive> archive = Load(args.positional[0], {*t, kDescTable}, &*write);
    if (!archive) return kExitFailure;
    InputRows input;
    input.rows.push_back(std::move(row));
    return ImportRows(args.positional[0], *archive, *t, input, *write, "ledgrin-cli set", true);
}

int RunVerify(const Command& command, const ParsedArgs& args) {
    if (args.positional.size() != 1) return UsageError(command, "expected ARCHIVE");
    LoadedArchive archive = LoadArchive(args.positional[0]);
    if (!archive.opened) {
        Err(archive.openWhy);
        return kExitFailure;
    }
    const VerifyReport report = VerifyArchive(archive);
    Out(report.text);
    return ReportDamaged(args.positional[0], archive) ? kExitFailure : kExitOk;
}

int RunDiff(const Command& command, const ParsedArgs& args) {
    if (args.positional.size() != 2 && args.positional.size() != 3)
        return UsageError(command, "expected ARCHIVE_A, ARCHIVE_B and optionally TABLE");
    int status = kExitOk;
    std::optional<TableIndex> only;
    if (args.positional.size() == 3 && !(only = TableArgument(command, args.positional[2], false, status)))
        return status;
    const bool toPatch = args.Has("--patch");
    if (toPatch && args.Value("--patch").empty()) return UsageError(command, "--patch needs a FILE");
    std::optional<LoadedArchive> a = Load(args.positional[0], {});
    std::optional<LoadedArchive> b = a ? Load(args.positional[1], {}) : std::nullopt;
    if (!a || !b) return kExitFailure;
    std::string out;
    for (TableIndex t = 0; t < kTableCount; ++t) {
        if (only && t != *only) continue;
        for (const LoadedArchive* side : {&*a, &*b}) {
            if (side->results[t] == kLoaded) continue;
            Err(args.positional[side == &*a ? 0 : 1] + ": " + EntryName(t) + ": " + LoadProblem(*side, t));
            status = kExitFailure;
        }
        if (!toPatch && a->results[t] == kLoaded && b->results[t] == kLoaded)
            out += DiffTable(a->store, b->store, t);
    }
    if (!toPatch) {
        Out(out);
        return status;
    }
    // A patch of part of the tables would look complete; a damaged table stops it.
    if (status != kExitOk) {
        Err("no patch was written");
        return status;
    }
    const Patch patch = MakePatch(a->store, b->store, only);
    const std::string file = args.Value("--patch");
    if (!WriteFile(file, FormatPatch(patch))) {
        Err(file + ": cannot write the file");
        return kExitFailure;
    }
    Out("Wrote " + file + ": " + std::to_string(patch.changes.size()) + " changes, " +
        std::to_string(patch.unmatched.size()) + " records in only one archive.\n");
    return kExitOk;
}

int RunApply(const Command& command, const ParsedArgs& args) {
    if (args.positional.size() != 2) return UsageError(command, "expected ARCHIVE and FILE");
    int status = kExitOk;
    const std::optional<WriteOptions> write = WriteArgument(command, args, status);
    if (!write) return status;
    const std::string &path = args.positional[0], &file = args.positional[1];
    std::string text;
    if (!ReadFile(file, text)) {
        Err(file + ": cannot read the file");
        return kExitFailure;
    }
    InputError error;
    const std::optional<Patch> patch = ReadPatch(text, error);
    if (!patch) {
        PrintErrors({error}, file, false);
        Err("nothing was written");
        return kExitFailure;
    }
    std::optional<LoadedArchive> archive = Load(path, {}, &*write);
    if (!archive) return kExitFailure;
    for (const PatchChange& change : patch->changes) {
        std::optional<TableIndex> t = FindTableByName(change.table);
        if (!t || archive->results[*t] == kLoaded) continue;
        Err(path + ": " + EntryName(*t) + ": " + LoadProblem(*archive, *t));
        return kExitFailure;
    }
    const ApplyPlan plan = PlanPatch(archive->store, *patch);
    if (!plan.errors.empty()) {
        PrintErrors(plan.errors, file, false);
        Err("nothing was written");
        return kExitFailure;
    }
    for (const PatchUnmatched& u : patch->unmatched)
        Out("Not applied: " + u.table + " TypeID " + Decimal(u.typeId) + " " + QuotedText(u.name) +
            " is only in the " + (u.inNew ? "new" : "old") + " archive of the patch.\n");
    const bool skip = args.Has("--skip-conflicts"), dryRun = write->dryRun;
    std::string changes, conflicts;
    for (std::size_t i = 0; i < patch->changes.size(); ++i) {
        const PatchChange& c = patch->changes[i];
        const ChangeOutcome& o = plan.outcomes[i];
        if (o.outcome == Outcome::Make && dryRun)
            changes +=
                "  " + ChangeLabel(c) + ": " + ValueText(c.oldValue) + " -> " + ValueText(c.newValue) + "\n";
        if (o.outcome == Outcome::Conflict)
            conflicts += std::string(skip ? "Skipped: " : "Conflict: ") + ChangeLabel(c) + ": expected " +
                         ValueText(c.oldValue) + ", found " + o.found + ", wanted " + ValueText(c.newValue) +
                         "\n";
    }
    const std::size_t conflicting = plan.Count(Outcome::Conflict);
    if (conflicting > 0 && !skip) {
        std::fputs(conflicts.c_str(), stderr);
        Err(std::to_string(conflicting) +
            (conflicting == 1 ? " conflicting change" : " conflicting changes") + "; nothing was written");
        return kExitFailure;
    }
    Out(conflicts + changes);
    const std::size_t make = plan.Count(Outcome::Make);
    const std::string counts = ", " + std::to_string(plan.Count(Outcome::Already)) + " already present, " +
                               std::to_string(conflicting) + " conflicting.\n";
    if (dryRun) {
        Out("Patch: " + std::to_string(make) + " changes to make" + counts + "Dry run: nothing written.\n");
        return kExitOk;
    }
    const std::vector<TableIndex> tables = ApplyPatch(archive->store, *patch, plan);
    const SaveAllResult saved =
        tables.empty() ? SaveAllResult::Saved : SaveTables(*archive, tables, write->backup);
    if (saved != SaveAllResult::Saved) {
        SaveFailed(path, saved);
        return kExitFailure;
    }
    Out("Patch: " + std::to_string(make) + " changes made" + counts);
    return kExitOk;
}

int RunRefs(const Command& command, const ParsedArgs& args) {
    std::uint32_t typeId = 0;
    if (args.positional.size() != 2) return UsageError(command, "expected ARCHIVE and TYPEID");
    if (ParseUnsigned(args.positional[1], typeId) != NumberParse::Ok)
        return UsageError(command, "TYPEID " + QuotedText(args.positional[1]) + " is not an unsigned number");
    std::optional<LoadedArchive> archive =
        Load(args.positional[0], {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
    if (!archive) return kExitFailure;
    std::string text;
    if (!FormatRefs(archive->store, typeId, text)) {
        Err(args.positional[0] + ": no item and no description holds TypeID " + Decimal(typeId));
        return kExitFailure;
    }
    Out(text);
    return kExitOk;
}

const OptionDef kKeepBackups = {"--keep-backups", true}, kNoBackup = {"--no-backup", false},
                kWait = {"--wait", true};

const Command kCommands[] = {
    {"tables", kTablesHelp, {}, RunTables},
    {"export", kExportHelp, {{"--format", true}, {"-o", true}}, RunExport},
    {"import",
     kImportHelp,
     {{"--format", true}, {"--dry-run", false}, kKeepBackups, kNoBackup, kWait},
     RunImport},
    {"set", kSetHelp, {{"--dry-run", false}, {"--where", true}, kKeepBackups, kNoBackup, kWait}, RunSet},
    {"verify", kVerifyHelp, {}, RunVerify},
    {"diff", kDiffHelp, {{"--patch", true}}, RunDiff},
    {"refs", kRefsHelp, {}, RunRefs},
    {"apply",
     kApplyHelp,
     {{"--dry-run", false}, {"--skip-conflicts", false}, kKeepBackups, kNoBackup, kWait},
     RunApply},
};

const Command* FindCommand(const std::string& name) {
    for (const Command& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
}

std::string OverallHelp() {
    std::string text = std::string(kOverallUsage) + kOverallIntro + "\nCommands:\n";
    for (const Command& command : kCommands) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-8s %s\n", command.name, command.help.summary);
        text += line;
    }
    return text + kOverallNotes;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fputs(kOverallUsage, stderr);
        return kExitUsage;
    }
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || (first == "help" && args.size() == 1)) {
        Out(OverallHelp());
        return kExitOk;
    }
    const bool helpFor = first == "help";
    const Command* command = FindCommand(helpFor ? args[1] : first);
    if (!command) {
        Err("unknown command " + QuotedText(helpFor ? args[1] : first));
        std::fputs(kOverallUsage, stderr);
        return kExitUsage;
    }
    const ParsedArgs parsed =
        ParseArgs(std::vector<std::string>(args.begin() + 1, args.end()), command->options);
    if (helpFor || parsed.help) {
        Out(std::string(command->help.usage) + "\n" + command->help.details);
        return kExitOk;
    }
    if (!parsed.error.empty()) return UsageError(*command, parsed.error);
    return command->run(*command, parsed);
}

} // namespace

int RunCommandLine(const std::vector<std::string>& args) noexcept {
    try {
        return Run(args);
    } catch (const std::bad_alloc&) {
        // No message that allocates: memory is what ran out.
        std::fputs("ledgrin-cli: out of memory; nothing was written\n", stderr);
        return kExitFailure;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ledgrin-cli: unexpected failure (%s); nothing was written\n", e.what());
        return kExitFailure;
    }
}

} // namespace ledgrin::cli
