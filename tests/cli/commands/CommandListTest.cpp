// The command list and the runner: names, usage lines, help and usage errors.
#include "tests/cli/CliTestSupport.h"

#include "cli/Command.h"

#include <regex>
#include <set>

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

using CommandListTest = CliTest;

} // namespace

TEST_F(CommandListTest, UsageErrorsExitWithTwoAndHelpWithZero) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"frobnicate"},
                                                 {"--version", "tables"},
                                                 {"export", archive, "Parts"},
                                                 {"set", archive, "Part", "1"}}) {
        CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args.back());
        EXPECT_TRUE(run.out.empty() && Contains(run.err, "Usage: ledgrin-cli")) << run.err;
    }
    CliRun help = RunCli({"apply", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: ledgrin-cli apply ", 0), 0u) << help.out;
    // The version as the release package is named: three numbers.
    CliRun version = RunCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("ledgrin-cli [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;
    EXPECT_TRUE(Contains(RunCli({"--help"}).out, "ledgrin-cli --version\n"));
}

// Every command: a unique name, help that exits 0 and begins with its usage lines, and
// usage lines and help that name every option it takes (the write options included).
TEST(CommandList, UniqueNamesAndUsageFromTheirOptions) {
    using namespace ledgrin::cli;
    std::set<std::string> names;
    const std::string overall = RunCli({"--help"}).out;
    for (const CommandDef* command : CommandList()) {
        const std::string name = command->name;
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_TRUE(Contains(overall, "\n  " + name + " ")) << name;
        const CliRun help = RunCli({name, "--help"});
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_EQ(help.err, "") << name;
        EXPECT_EQ(RunCli({"help", name}).out, help.out) << name;
        const std::string usage = UsageLines(*command);
        EXPECT_EQ(help.out.rfind(usage, 0), 0u) << help.out;
        std::vector<std::string> expected;
        for (const OptionDef* option : command->options)
            expected.push_back(option->name);
        if (command->access == Access::Writes)
            expected.insert(expected.end(), {"--dry-run", "--keep-backups", "--no-backup", "--wait"});
        for (const std::string& option : expected) {
            EXPECT_TRUE(Contains(usage, " [" + option) || Contains(usage, " " + option + " "))
                << name << " " << option;
            EXPECT_TRUE(Contains(help.out, "\n  " + option)) << name << " " << option;
        }
    }
    EXPECT_EQ(names.size(), 11u);
}
