// The command line of ledgrin-demo and the text of its --summary.
#pragma once

#include "archive/TableStore.h"
#include "demo/DemoArchive.h"

#include <string>
#include <vector>

namespace ledgrin {

constexpr const char* kDemoUsage = "Usage: ledgrin-demo [--size small|realistic|max] [--seed N] [-o FILE]\n"
                                   "       ledgrin-demo --summary FILE\n"
                                   "       ledgrin-demo --version\n";

enum class DemoAction { Write, Summary, Help, Version };

struct DemoCommand {
    DemoAction action = DemoAction::Write;
    DemoOptions options;                // Write only
    std::string path = "tarvik_gb.iff"; // the archive written, or the one summarised
};

// Reads the arguments after the program name; false on a usage error (unknown option,
// missing or bad value, --summary mixed with the options of a write).
bool ParseDemoCommand(const std::vector<std::string>& args, DemoCommand& command);

// One aligned line per table: entry name, RecordCount, HeaderWord2 (hex) and Version,
// below a header line.
std::string FormatTableSummary(const TableStore& store);

} // namespace ledgrin
