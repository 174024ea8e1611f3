// tables: every table listed, a damaged one with its problem and exit code 1, and an
// archive that cannot be opened.
#include "tests/cli/CliTestSupport.h"

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

using TablesTest = CliTest;

} // namespace

TEST_F(TablesTest, ADamagedTableIsListedWithItsProblemAndFailsTheRun) {
    CliRun good = RunCli({"tables", archive});
    EXPECT_EQ(good.status, 0);
    EXPECT_TRUE(Contains(good.out, "Part.iff             40         544      0x1234      13")) << good.out;
    EXPECT_EQ(good.err, "");

    ASSERT_TRUE(WriteDemoTables(archive, demo, kCardTable, [](Bytes& b) { b.resize(8 + 360 / 2); }));
    CliRun damaged = RunCli({"tables", archive});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_TRUE(Contains(damaged.out, "Card.iff        missing or damaged: the header promises 16 records"));
    EXPECT_TRUE(Contains(damaged.out, "Part.iff             40")) << damaged.out;
    EXPECT_EQ(damaged.err,
              "ledgrin-cli: " + archive +
                  ": Card.iff: the header promises 16 records of 360 bytes (5,768 bytes with the "
                  "header) but the entry holds 188\n");

    const std::string missing = dir / "nothing.iff";
    CliRun run = RunCli({"tables", missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty() && Contains(run.err, "ledgrin-cli: cannot open " + missing + ": "))
        << run.err;
}
