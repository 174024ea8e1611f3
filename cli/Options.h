// The options of ledgrin-cli as data: each one a row with its name, the name of its value,
// its help and the setter that takes its value into Options. Commands list the rows they
// accept; groups shared by several commands (the write options) are defined once. The
// parser, the usage lines and --help are all made from these rows.
#pragma once

#include "cli/ArchiveFiles.h"
#include "cli/Export.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace ledgrin::cli {

// What a command that writes was told: its backup, how long it waits for another
// writer's lock, and whether it only shows what it would do.
struct WriteOptions {
    BackupPolicy backup{true};
    double waitSeconds = 10;
    bool dryRun = false;
};

// Everything the options of any command can set.
struct Options {
    WriteOptions write;
    std::optional<FileFormat> format; // --format; otherwise from the file's name
    std::string output;               // -o FILE; empty: standard output
    std::vector<std::string> where;   // --where, each time given
    std::optional<std::string> patch; // --patch FILE
    bool skipConflicts = false;
    std::optional<std::string> like, newTypeId; // add: --like TYPEID, --typeid NEW
};

struct OptionDef {
    const char* name;      // "--keep-backups", "-o"
    const char* valueName; // "N", "FILE"; nullptr for a switch
    const char* help;      // for --help; lines after the first start with a space
    // Takes the value (empty for a switch) into options; returns why it is refused, or "".
    std::string (*set)(Options& options, const std::string& value);
};
using OptionList = std::vector<const OptionDef*>;

extern const OptionDef kFormatOption, kOutputOption, kWhereOption, kPatchOption, kSkipConflictsOption,
    kLikeOption, kTypeIdOption;
// --dry-run, --keep-backups N, --no-backup and --wait SECONDS: every command that writes.
extern const OptionList kWriteOptions;

// The words of a command line after the command's name: options by their rows, the rest
// operands with their word positions (from 1). "--name=value" and "--name value" both
// give a value; "--" ends the options; a lone "-" is an operand (standard input or output).
struct Operand {
    std::string text;
    int word = 0;
};
struct ParsedLine {
    Options options;
    std::vector<Operand> operands;
    std::set<std::string> given; // the names of the options given
    bool help = false;           // --help or -h
    std::string error;           // non-empty: a usage error
};
ParsedLine ParseLine(const std::vector<std::string>& words, const OptionList& accepted);

// The format --format names, else JSON for a file whose name ends in .json, else CSV.
FileFormat FileFormatFor(const Options& options, const std::string& path);

// " [--name VALUE]" for each option, in list order.
std::string OptionSynopsis(const OptionList& options);
// The "Options:" block of --help: one entry per option with its help.
std::string OptionHelp(const OptionList& options);

} // namespace ledgrin::cli
