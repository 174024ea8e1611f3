// Backups of the archive a write replaces: names, pruning to the newest, the switches
// that change it, and a failed write that must leave neither a backup nor a change.
#include "CliTestSupport.h"

#include "archive/FileReplace.h"

#include <ctime>
#include <regex>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

using Names = std::vector<std::string>;

class BackupTest : public CliTest {
  protected:
    void Touch(const std::string& name) { ASSERT_TRUE(WriteFileText(dir / name, name)); }
};

} // namespace

TEST_F(BackupTest, WritesKeepTheNewestBackupsAndLeaveOtherFilesAlone) {
    const Names others = {"other.iff.20010101-000000.bak", "tarvik_gb.iff.20010101-000000.bak.txt",
                          "tarvik_gb.iff.notes.bak"};
    for (const std::string& name : others)
        Touch(name);
    for (int day = 10; day <= 20; ++day) // eleven older backups, the 10th of January 1999 the oldest
        Touch("tarvik_gb.iff.199901" + std::to_string(day) + "-000000.bak");
    const std::regex backup(R"(tarvik_gb\.iff\.\d{8}-\d{6}(-\d+)?\.bak)"), fresh(R"(tarvik_gb\.iff\.20.*)");
    const struct {
        std::vector<std::string> options;
        std::size_t backups; // of tarvik_gb.iff afterwards
        std::size_t fresh;   // of them made by these runs
    } cases[] = {
        {{"--dry-run"}, 11, 0},
        {{}, 10, 1},
        {{"--no-backup"}, 10, 1},
        {{"--keep-backups", "2"}, 2, 2},
    };
    int price = 100;
    for (const auto& c : cases) {
        const std::string before = ReadFileText(archive);
        std::vector<std::string> args = {"set", archive, "Part", IdOf(demo, kPartTable, 0),
                                         "Price=" + std::to_string(++price)};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(RunCli(args).status, 0);
        Names backups, made;
        for (const std::string& name : Files()) {
            if (!std::regex_match(name, backup)) continue;
            backups.push_back(name);
            if (std::regex_match(name, fresh)) made.push_back(name);
        }
        EXPECT_EQ(backups.size(), c.backups) << c.options.size();
        ASSERT_EQ(made.size(), c.fresh) << c.options.size();
        if (c.options.empty()) {
            EXPECT_EQ(backups.front(), "tarvik_gb.iff.19990112-000000.bak"); // the 10th and 11th went
            EXPECT_TRUE(ReadFileText(dir / made.back()) == before);
        }
    }
    for (const std::string& name : others)
        EXPECT_EQ(ReadFileText(dir / name), name);
}

TEST_F(BackupTest, BackupsOfOneSecondTakeSuffixesAndPruneInTheirOrder) {
    const std::time_t when = 1700000000;
    char stamp[32];
    ASSERT_EQ(std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&when)), 15u);
    const std::string base = "tarvik_gb.iff." + std::string(stamp);
    Touch(base + ".bak");
    for (int n = 2; n <= 9; ++n)
        Touch(base + "-" + std::to_string(n) + ".bak");
    fs::create_hard_link(archive, dir / "mine");
    ASSERT_EQ(SaveTables(demo, {kPartTable}, archive, {true, 2, when}), SaveAllResult::Saved);
    EXPECT_EQ(Files(), (Names{"mine", "tarvik_gb.iff", base + "-10.bak", base + "-9.bak"}));
#ifndef _WIN32
    EXPECT_TRUE(IsSameFile(dir / "mine", dir / (base + "-10.bak"))); // a hard link, not a copy
#endif
}

TEST_F(BackupTest, AFailedWriteLeavesNoBackupAndTheArchiveUnchanged) {
    const std::string before = ReadFileText(archive);
    TableStore store = demo;
    store[kDescTable].Records.pop_back(); // the buffer no longer holds RecordCount records
    EXPECT_EQ(SaveTables(store, {kPartTable, kDescTable}, archive, {true, 10, -1}), SaveAllResult::NotSaved);
    EXPECT_TRUE(ReadFileText(archive) == before);
    EXPECT_EQ(Files(), (Names{"tarvik_gb.iff"}));
}
