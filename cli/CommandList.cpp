// The commands of ledgrin-cli, in the order --help lists them. A new command is a file
// under commands/ defining its CommandDef, and a line here.
#include "cli/Command.h"

namespace ledgrin::cli {

extern const CommandDef kTablesCommand, kExportCommand, kImportCommand, kSetCommand, kAddCommand,
    kVerifyCommand, kDiffCommand, kRefsCommand, kApplyCommand, kHistoryCommand, kRestoreCommand;

const std::vector<const CommandDef*>& CommandList() {
    static const std::vector<const CommandDef*> commands = {
        &kTablesCommand,  // tables ARCHIVE
        &kExportCommand,  // export ARCHIVE TABLE
        &kImportCommand,  // import ARCHIVE TABLE FILE
        &kSetCommand,     // set ARCHIVE TABLE TYPEID FIELD=VALUE...
        &kAddCommand,     // add ARCHIVE TABLE --like TYPEID --typeid NEW
        &kVerifyCommand,  // verify ARCHIVE
        &kDiffCommand,    // diff ARCHIVE_A ARCHIVE_B [TABLE]
        &kRefsCommand,    // refs ARCHIVE TYPEID
        &kApplyCommand,   // apply ARCHIVE FILE...
        &kHistoryCommand, // history ARCHIVE
        &kRestoreCommand, // restore ARCHIVE [BACKUP]
    };
    return commands;
}

} // namespace ledgrin::cli
