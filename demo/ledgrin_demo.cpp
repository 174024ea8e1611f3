// ledgrin-demo: writes the demo item archive, or summarises the tables of an archive.
// Exit codes: 0 done, 1 failed, 2 usage error.
#include "archive/TableLoad.h"
#include "demo/DemoArchive.h"
#include "demo/DemoCommand.h"
#include "resources/Version.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace ledgrin;

namespace {

const char* const kDemoResultTexts[] = {
    "done",
    "out of memory",
    "the record layer lacks a field the generator fills",
    "the file could not be written",
};

int RunWrite(const DemoCommand& command) {
    DemoResult result = WriteDemoArchive(command.path, command.options);
    if (result != DemoResult::Done) {
        std::fprintf(stderr, "ledgrin-demo: %s not written: %s\n", command.path.c_str(),
                     kDemoResultTexts[static_cast<int>(result)]);
        return 1;
    }
    std::printf("Wrote %s (seed %lu)\n", command.path.c_str(),
                static_cast<unsigned long>(command.options.seed));
    return 0;
}

int RunSummary(const std::string& path) {
    TableStore store;
    TableReader reader(path);
    for (TableIndex t = 0; t < kTableCount; ++t) {
        LoadResult result = reader.Load(store, t);
        if (result != kLoaded) {
            std::fprintf(stderr, "ledgrin-demo: %s not loaded from %s (result %d)\n", EntryName(t),
                         path.c_str(), static_cast<int>(result));
            return 1;
        }
    }
    std::fputs(FormatTableSummary(store).c_str(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    DemoCommand command;
    if (!ParseDemoCommand(args, command)) {
        std::fputs(kDemoUsage, stderr);
        return 2;
    }
    switch (command.action) {
    case DemoAction::Help: std::fputs(kDemoUsage, stdout); return 0;
    case DemoAction::Version: std::puts("ledgrin-demo " LEDGRIN_VERSION); return 0;
    case DemoAction::Summary: return RunSummary(command.path);
    default: return RunWrite(command);
    }
}
