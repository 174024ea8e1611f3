// The commands of ledgrin-cli as a table: name, usage, help text and handler.
#pragma once

#include <string>
#include <vector>

namespace ledgrin::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitFailure = 1,
    kExitUsage = 2,
};

// Runs the command line after the program name: a command and its arguments, or
// --help. Output goes to standard output, errors to standard error. Never throws.
int RunCommandLine(const std::vector<std::string>& args) noexcept;

} // namespace ledgrin::cli
