// The help texts of ledgrin-cli: the whole program and each command.
#pragma once

namespace ledgrin::cli {

struct CommandHelp {
    const char* usage;   // "Usage: ledgrin-cli ...\n"
    const char* summary; // one line for the list of commands
    const char* details; // the rest of the command's --help
};

extern const char* const kOverallUsage;
extern const char* const kOverallIntro;
extern const char* const kOverallNotes;

extern const CommandHelp kTablesHelp;
extern const CommandHelp kExportHelp;
extern const CommandHelp kImportHelp;
extern const CommandHelp kSetHelp;
extern const CommandHelp kVerifyHelp;
extern const CommandHelp kDiffHelp;
extern const CommandHelp kApplyHelp;
extern const CommandHelp kRefsHelp;

} // namespace ledgrin::cli
