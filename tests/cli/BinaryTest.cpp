// The built ledgrin-cli program itself: exit codes, and which stream carries what.
#include "CliTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

using namespace ledgrin::clitest;

namespace {

class BinaryTest : public testing::Test {
  protected:
    ScratchDir dir;
    std::string archive = dir / "tarvik_gb.iff";

    void SetUp() override { WriteDemo(archive); }

    // Runs the program with standard output and error in files; returns the exit code.
    int Run(const std::string& arguments) {
        const std::string command = std::string("'") + LEDGRIN_CLI_PATH + "' " + arguments + " >'" +
                                    (dir / "out") + "' 2>'" + (dir / "err") + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Out() const { return ReadText(dir / "out"); }
    std::string Err() const { return ReadText(dir / "err"); }
};

} // namespace

TEST_F(BinaryTest, HelpAndUsageErrors) {
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_EQ(Out().rfind("Usage: ledgrin-cli COMMAND", 0), 0u);
    EXPECT_EQ(Run(""), 2);
    EXPECT_TRUE(Out().empty());
    EXPECT_NE(Err().find("Usage:"), std::string::npos);
    EXPECT_EQ(Run("export '" + archive + "' Nonsense"), 2);
    EXPECT_NE(Err().find("unknown table \"Nonsense\""), std::string::npos) << Err();
}

TEST_F(BinaryTest, ExportGoesToStandardOutputUntouchedByTheLoader) {
    ASSERT_EQ(Run("export '" + archive + "' Card --format json -o '" + (dir / "card.json") + "'"), 0);
    ASSERT_EQ(Run("export '" + archive + "' Card --format json"), 0);
    EXPECT_EQ(Out(), ReadText(dir / "card.json"));
    EXPECT_EQ(Out().rfind("[\n  {\"Index\": 0,", 0), 0u) << Out().substr(0, 80);
    EXPECT_TRUE(Err().empty()) << Err();
}

TEST_F(BinaryTest, AFailedImportNamesFileAndLineOnStandardError) {
    WriteText(dir / "bad.csv", "TypeID,Price\r\n1,2\r\n");
    const Bytes before = ReadBytes(archive);
    EXPECT_EQ(Run("import '" + archive + "' Part '" + (dir / "bad.csv") + "'"), 1);
    EXPECT_TRUE(Out().empty()) << Out();
    EXPECT_NE(Err().find("bad.csv:2: TypeID 1 is held by no record of Part.iff"), std::string::npos) << Err();
    EXPECT_EQ(ReadBytes(archive), before);
}
