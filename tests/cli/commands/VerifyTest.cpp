// verify, and every command that reads, on a damaged archive: what the user reads and the
// exit codes.
#include "tests/cli/CliTestSupport.h"

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

using VerifyTest = CliTest;

} // namespace

TEST_F(VerifyTest, VerifyAndEveryCommandSayWhyATableOrTheArchiveCannotBeRead) {
    CliRun good = RunCli({"verify", archive});
    EXPECT_EQ(good.status, 0);
    EXPECT_TRUE(Contains(good.out, "Tables: 14 loaded, 0 damaged\n")) << good.out;

    // Card.iff (360-byte records) cut to half a record: the commands that need it refuse,
    // and the other tables still export.
    ASSERT_TRUE(WriteDemoTables(archive, demo, kCardTable, [](Bytes& b) { b.resize(8 + 360 / 2); }));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"verify", archive}, {"export", archive, "Card"}, {"refs", archive, "1"}}) {
        CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_TRUE(Contains(run.err, "ledgrin-cli: " + archive +
                                          ": Card.iff: the header promises 16 records of 360 bytes "
                                          "(5,768 bytes with the header) but the entry holds 188\n"))
            << run.err;
    }
    EXPECT_EQ(RunCli({"export", archive, "Part"}).status, 0);
}
