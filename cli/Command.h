// A command of ledgrin-cli: its definition (one row of the command list, in the command's
// own file under commands/) and what its handler is given. The runner (CommandLine.cpp)
// reads the options, checks the operands against the usage forms and parses TABLE before
// it calls the handler; the handler checks the rest of its command line and then has the
// runner load what the definition names (Invocation::Load), so a usage error is found
// before any archive is read.
#pragma once

#include "cli/Console.h"
#include "cli/Options.h"
#include "cli/Session.h"

#include <optional>
#include <string>
#include <vector>

namespace ledgrin::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitFailure = 1,
    kExitUsage = 2,
};

// Which archives the runner loads: none, the first operand, or the first two.
enum class Loads { Nothing, Archive, TwoArchives };

// Which tables must have loaded before the handler runs.
enum class Needs {
    Nothing,      // the handler checks what it uses (Session::Require)
    TableOperand, // TABLE and Desc.iff
    AllTables,
    ReportAll, // none; afterwards every table that did not load is reported and the exit code is 1
};

// What TABLE may name, where a form has it.
enum class TableKind { AnyTable, ItemTable };
// Whether the command writes: then it takes the write options, and the write lock unless
// it is a dry run.
enum class Access { Reads, Writes };

struct Invocation;
using Handler = int (*)(Invocation& run);

struct CommandDef {
    const char* name;
    const char* summary; // one line for the list of commands
    // The operands of each usage line ("ARCHIVE TABLE FILE"; "[X]" optional, "X..." one or
    // more; an option word such as "--where COND..." marks the form used when it is given).
    std::vector<const char*> forms;
    const char* details; // the --help text between the usage lines and the options
    OptionList options;  // the write options are added to these when the command writes
    Loads loads;
    Needs needs;
    TableKind tableKind;
    Access access;
    Handler run;
};

struct Invocation {
    const CommandDef& command;
    Console& console;
    Options options;
    std::vector<Operand> operands;
    std::optional<TableIndex> table; // the TABLE operand, where the form has one
    std::vector<Session> archives;   // as the command loads them

    // Loads the archives the definition names and checks the tables it needs; false, after
    // saying why, when one cannot be had.
    bool Load();
    Session& archive() { return archives.front(); }
    // Says what is wrong with the command line, with the usage; returns kExitUsage.
    int UsageError(const std::string& message);
};

// The usage lines of a command: "Usage: ledgrin-cli NAME FORM [OPTIONS]", then one more
// line per further form.
std::string UsageLines(const CommandDef& command);
// Every option a command accepts: its own, then the write options when it writes.
OptionList AcceptedOptions(const CommandDef& command);

// The commands in the order --help lists them.
const std::vector<const CommandDef*>& CommandList();

// Runs the command line after the program name: a command and its arguments, or
// --help. Never throws.
int RunCommandLine(const std::vector<std::string>& args, Console& console) noexcept;

} // namespace ledgrin::cli
