// The commands of ledgrin-cli, in the order --help lists them. A new command is a file
// under commands/ defining its CommandDef, and a line here.
#include "cli/Command.h"

namespace ledgrin::cli {

extern const CommandDef kTablesCommand, kExportCommand, kImportCommand, kSetCommand, kVerifyCommand,
    kDiffCommand, kRefsCommand, kApplyCommand;

const std::vector<const CommandDef*>& CommandList() {
    static const std::vector<const CommandDef*> commands = {
        &kTablesCommand, &kExportCommand, &kImportCommand, &kSetCommand,
        &kVerifyCommand, &kDiffCommand,   &kRefsCommand,   &kApplyCommand,
    };
    return commands;
}

} // namespace ledgrin::cli
