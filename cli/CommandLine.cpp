#include "cli/Command.h"

#include "cli/CliText.h"
#include "resources/Version.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace ledgrin::cli {

namespace {

const char* const kOverallUsage = "Usage: ledgrin-cli COMMAND ARGUMENTS...\n"
                                  "       ledgrin-cli COMMAND --help\n"
                                  "       ledgrin-cli --help\n"
                                  "       ledgrin-cli --version\n";

const char* const kOverallIntro = "\n"
                                  "Reads, checks and changes the item tables of a Tarvik item archive\n"
                                  "(tarvik_gb.iff) with the same rules as the Ledgrin editor.\n";

const char* const kOverallNotes =
    "\n"
    "TABLE is an entry name (\"Part.iff\") or a bare name (\"Part\"), in any letter case.\n"
    "\n"
    "Commands that write (import, set, add, apply, restore) keep the archive they replace\n"
    "beside it as ARCHIVE.YYYYMMDD-HHMMSS.bak (local time; -2, -3, ... within one second),\n"
    "a hard link where the file system allows, else a copy, and the newest 10 of those\n"
    "backups; history lists them and restore brings one back.\n"
    "  --keep-backups N  keep the newest N backups instead.\n"
    "  --no-backup       make no backup.\n"
    "--dry-run writes nothing, not even a backup.\n"
    "\n"
    "They write one at a time: each holds a lock on ARCHIVE.lock from its load to its\n"
    "replace, and checks before the replace that no other program changed the archive.\n"
    "  --wait SECONDS    wait this long for another writer's lock (default 10), then\n"
    "                    exit 1 with nothing written.\n"
    "A symbolic link is followed: the file it points to is rewritten, its backups and its\n"
    "lock file lie beside that file, and the link stays a link.\n"
    "\n"
    "Exit codes: 0 success, 1 failure, 2 usage error. Errors go to standard error.\n";

// A form's words: operands, and option words with their values ("--where COND...").
std::vector<std::string> Words(const char* form) {
    std::vector<std::string> words;
    std::string text(form);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// A form's operands: its words less the option words and the values that follow them.
std::vector<std::string> FormOperands(const char* form) {
    std::vector<std::string> operands;
    const std::vector<std::string> words = Words(form);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].rfind("--", 0) == 0)
            ++i;
        else
            operands.push_back(words[i]);
    }
    return operands;
}

bool Optional(const std::string& operand) {
    return operand.front() == '[';
}
std::string WithoutBrackets(const std::string& operand) {
    return Optional(operand) ? operand.substr(1, operand.size() - 2) : operand;
}
bool Repeated(const std::string& operand) {
    const std::string bare = WithoutBrackets(operand);
    return bare.size() > 3 && bare.compare(bare.size() - 3, 3, "...") == 0;
}
std::string Bare(const std::string& operand) {
    const std::string bare = WithoutBrackets(operand);
    return Repeated(operand) ? bare.substr(0, bare.size() - 3) : bare;
}

// The form that fits the options given: the last whose option words were all given.
const char* ChosenForm(const CommandDef& command, const ParsedLine& line) {
    const char* chosen = command.forms.front();
    for (const char* form : command.forms) {
        bool fits = true;
        for (const std::string& word : Words(form))
            if (word.rfind("--", 0) == 0) fits = fits && line.given.count(word);
        if (fits) chosen = form;
    }
    return chosen;
}

// "expected ARCHIVE, TABLE and FILE", or an empty text when the count fits the form.
std::string OperandCountError(const char* form, std::size_t given) {
    const std::vector<std::string> operands = FormOperands(form);
    std::size_t required = 0;
    bool unbounded = false;
    std::string list;
    for (std::size_t i = 0; i < operands.size(); ++i) {
        required += !Optional(operands[i]);
        unbounded = unbounded || Repeated(operands[i]);
        list += (i == 0                     ? ""
                 : i + 1 == operands.size() ? " and "
                                            : ", ") +
                std::string(Optional(operands[i]) ? "optionally " : "") + Bare(operands[i]);
    }
    if (given >= required && (unbounded || given <= operands.size())) return "";
    return "expected " + list;
}

int Help(Console& console, const CommandDef& command) {
    const OptionList options = AcceptedOptions(command);
    console.Out(UsageLines(command) + "\n" + command.details +
                (options.empty() ? "" : "\n" + OptionHelp(options)));
    return kExitOk;
}

std::string OverallHelp() {
    std::string text = std::string(kOverallUsage) + kOverallIntro + "\nCommands:\n";
    for (const CommandDef* command : CommandList()) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-8s %s\n", command->name, command->summary);
        text += line;
    }
    return text + kOverallNotes;
}

const CommandDef* FindCommand(const std::string& name) {
    for (const CommandDef* command : CommandList())
        if (name == command->name) return command;
    return nullptr;
}

// The checks of the command line every command shares; an exit code, or -1 to go on.
int Prepare(Invocation& run, const ParsedLine& line) {
    const CommandDef& command = run.command;
    const char* form = ChosenForm(command, line);
    if (const std::string error = OperandCountError(form, run.operands.size()); !error.empty())
        return run.UsageError(error);
    const std::vector<std::string> operands = FormOperands(form);
    for (std::size_t i = 0; i < operands.size() && i < run.operands.size(); ++i) {
        if (Bare(operands[i]) != "TABLE") continue;
        const std::string& name = run.operands[i].text;
        run.table = FindTableByName(name);
        if (!run.table) return run.UsageError("unknown table " + QuotedText(name));
        if (command.tableKind == TableKind::ItemTable && !IsItemTable(*run.table))
            return run.UsageError(std::string(EntryName(*run.table)) +
                                  " is not an item table; descriptions are " +
                                  "changed through the Description column of their items");
    }
    return -1;
}

int Run(const std::vector<std::string>& args, Console& console) {
    if (args.empty()) {
        console.ErrorLine(std::string(kOverallUsage).substr(0, std::string(kOverallUsage).size() - 1));
        return kExitUsage;
    }
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || (first == "help" && args.size() == 1)) {
        console.Out(OverallHelp());
        return kExitOk;
    }
    if (first == "--version" && args.size() == 1) {
        console.Out("ledgrin-cli " LEDGRIN_VERSION "\n");
        return kExitOk;
    }
    const bool helpFor = first == "help";
    const CommandDef* command = FindCommand(helpFor ? args[1] : first);
    if (!command) {
        console.Error("unknown command " + QuotedText(helpFor ? args[1] : first));
        console.ErrorLine(std::string(kOverallUsage).substr(0, std::string(kOverallUsage).size() - 1));
        return kExitUsage;
    }
    const ParsedLine line =
        ParseLine(std::vector<std::string>(args.begin() + 1, args.end()), AcceptedOptions(*command));
    if (helpFor || line.help) return Help(console, *command);
    Invocation run{*command, console, line.options, line.operands, std::nullopt, {}};
    if (!line.error.empty()) return run.UsageError(line.error);
    const int prepared = Prepare(run, line);
    if (prepared >= 0) return prepared;
    const int status = command->run(run);
    const bool damaged =
        status == kExitOk && command->needs == Needs::ReportAll && run.archive().ReportDamaged();
    return damaged ? kExitFailure : status;
}

} // namespace

int Invocation::UsageError(const std::string& message) {
    console.Error(std::string(command.name) + ": " + message);
    console.ErrorLine(UsageLines(command) + "Try 'ledgrin-cli " + command.name + " --help'.");
    return kExitUsage;
}

bool Invocation::Load() {
    const std::size_t count = command.loads == Loads::TwoArchives ? 2
                              : command.loads == Loads::Archive   ? 1
                                                                  : 0;
    for (std::size_t i = 0; i < count; ++i) {
        Session& session = archives.emplace_back(operands[i].text, console);
        if (!session.Open(command.access == Access::Writes ? &options.write : nullptr)) return false;
    }
    if (command.needs == Needs::AllTables)
        for (TableIndex t = 0; t < kTableCount; ++t)
            if (!archive().Require(t)) return false;
    return command.needs != Needs::TableOperand || !table ||
           (archive().Require(*table) && archive().Require(kDescTable));
}

OptionList AcceptedOptions(const CommandDef& command) {
    OptionList options = command.options;
    if (command.access == Access::Writes)
        options.insert(options.end(), kWriteOptions.begin(), kWriteOptions.end());
    return options;
}

std::string UsageLines(const CommandDef& command) {
    OptionList rest; // the options no form spells out itself (--where belongs to set's second form)
    for (const OptionDef* option : AcceptedOptions(command)) {
        bool spelled = false;
        for (const char* form : command.forms) {
            const std::vector<std::string> words = Words(form);
            spelled = spelled || std::find(words.begin(), words.end(), option->name) != words.end();
        }
        if (!spelled) rest.push_back(option);
    }
    std::string text;
    for (const char* form : command.forms)
        text += std::string(text.empty() ? "Usage: " : "       ") + "ledgrin-cli " + command.name + " " +
                form + OptionSynopsis(rest) + "\n";
    return text;
}

int RunCommandLine(const std::vector<std::string>& args, Console& console) noexcept {
    const char* const outcome = "; nothing was written";
    try {
        return Run(args, console);
    } catch (const std::bad_alloc&) {
        // No message that allocates: memory is what ran out.
        console.ErrorLine(console.archiveReplaced ? "ledgrin-cli: out of memory after the archive was written"
                                                  : "ledgrin-cli: out of memory; nothing was written");
        return kExitFailure;
    } catch (const std::exception& e) {
        console.Error("unexpected failure (" + std::string(e.what()) + ")" +
                      (console.archiveReplaced ? " after the archive was written" : outcome));
        return kExitFailure;
    }
}

} // namespace ledgrin::cli
