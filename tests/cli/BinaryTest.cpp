// The built ledgrin-cli program itself: its exit codes (what each stream carries is checked
// in-process).
#include "CliTestSupport.h"

#include <cstdlib>
#include <sys/wait.h>

using namespace ledgrin::clitest;

using Binary = CliTest;

TEST_F(Binary, ExitCodesAndStreams) {
    ASSERT_TRUE(WriteFileText(dir / "bad.csv", "TypeID,Price\r\n1,2\r\n"));
    const std::string before = ReadFileText(archive);
    // Runs the program with standard output and error in files; returns the exit code.
    auto run = [&](const std::string& arguments) {
        const std::string command =
            "'" LEDGRIN_CLI_PATH "' " + arguments + " >'" + (dir / "out") + "' 2>'" + (dir / "err") + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("--help"), 0);
    EXPECT_EQ(ReadFileText(dir / "out").rfind("Usage: ledgrin-cli COMMAND", 0), 0u);
    EXPECT_EQ(run("export '" + archive + "' Nonsense"), 2);
    EXPECT_EQ(run("import '" + archive + "' Part '" + (dir / "bad.csv") + "'"), 1);
    EXPECT_TRUE(Contains(ReadFileText(dir / "err"), "bad.csv:2: TypeID 1 is held by no record"));
    EXPECT_TRUE(ReadFileText(archive) == before);
}
