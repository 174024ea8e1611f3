// history and restore: backups newest first with what each write changed; a restore that
// brings the archive back byte for byte and can itself be undone.
#include "tests/cli/CliTestSupport.h"

#include <filesystem>

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

using HistoryTest = CliTest;

} // namespace

TEST_F(HistoryTest, ARestoreRestoresAndCanBeUndone) {
    CliRun none = RunCli({"history", archive});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "No backups of " + archive + ".\n");

    const std::string original = ReadFileText(archive);
    ASSERT_EQ(RunCli({"set", archive, "Part", "--where", "Index<3", "Price+=1"}).status, 0);
    const std::string changed = ReadFileText(archive);
    const CliRun history = RunCli({"history", archive});
    EXPECT_EQ(history.status, 0);
    EXPECT_TRUE(Contains(history.out, "  Part.iff: 3 records changed\n")) << history.out;

    const CliRun restore = RunCli({"restore", archive});
    ASSERT_EQ(restore.status, 0) << restore.err;
    EXPECT_TRUE(Contains(restore.out, "  Part.iff: 3 records changed\nRestored " + archive + " from "))
        << restore.out;
    EXPECT_TRUE(ReadFileText(archive) == original);
    // The archive the restore replaced is the newest backup now: restoring it undoes the restore.
    std::vector<std::string> backups;
    for (const auto& [name, bytes] : Snapshot(dir.path()))
        if (name.size() > 4 && name.substr(name.size() - 4) == ".bak") backups.push_back(name);
    ASSERT_EQ(backups.size(), 2u);
    const CliRun undo = RunCli({"restore", archive});
    ASSERT_EQ(undo.status, 0) << undo.err;
    EXPECT_TRUE(ReadFileText(archive) == changed);

    // Refused: a file that is no backup of the archive, and a backup whose table is damaged.
    const std::string before = ReadFileText(archive);
    ASSERT_TRUE(WriteFileText(dir / "other.iff", original));
    CliRun refused = RunCli({"restore", archive, dir / "other.iff"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "ledgrin-cli: " + dir / "other.iff" + " is not a backup of " + archive +
                               "; nothing was written\n");
    const std::string damaged = dir / "tarvik_gb.iff.20200101-000000.bak";
    ASSERT_TRUE(WriteDemoTables(damaged, demo, kCardTable, [](Bytes& b) { b.resize(20); }));
    refused = RunCli({"restore", archive, damaged});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Contains(refused.err, damaged + ": Card.iff: ")) << refused.err;
    EXPECT_TRUE(ReadFileText(archive) == before);
}
