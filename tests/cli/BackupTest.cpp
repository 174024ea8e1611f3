// Backups of the archive a write replaces: names, pruning to the newest, the switches
// that change it, and a failed write that must leave neither a backup nor a change.
#include "CliTestSupport.h"

#include <algorithm>
#include <ctime>
#include <regex>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

using Names = std::vector<std::string>;
using BackupTest = CliTest;

} // namespace

TEST_F(BackupTest, WritesKeepTheNewestBackupsAndLeaveOtherFilesAlone) {
    const Names others = {"other.iff.20010101-000000.bak", "tarvik_gb.iff.20010101-000000.bak.txt",
                          "tarvik_gb.iff.notes.bak"};
    for (const std::string& name : others)
        ASSERT_TRUE(WriteFileText(dir / name, name));
    for (int day = 10; day <= 20; ++day) // eleven older backups, the 10th of January 1999 the oldest
        ASSERT_TRUE(WriteFileText(dir / ("tarvik_gb.iff.199901" + std::to_string(day) + "-000000.bak"), ""));
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
        for (const auto& [name, bytes] : Snapshot(dir.path())) {
            if (!std::regex_match(name, backup)) continue;
            backups.push_back(name);
            if (std::regex_match(name, fresh)) made.push_back(name);
        }
        EXPECT_EQ(backups.size(), c.backups) << c.options.size();
        ASSERT_EQ(made.size(), c.fresh) << c.options.size();
        if (c.fresh == 0) {
            EXPECT_TRUE(ReadFileText(archive) == before); // the dry run wrote nothing
        }
        if (c.options.empty()) {
            EXPECT_EQ(backups.front(), "tarvik_gb.iff.19990112-000000.bak"); // the 10th and 11th went
            EXPECT_TRUE(ReadFileText(dir / made.back()) == before);
        }
    }
    for (const std::string& name : others)
        EXPECT_EQ(ReadFileText(dir / name), name);
}

TEST_F(BackupTest, AFailedWriteLeavesNoBackupAndTheArchiveUnchanged) {
    const auto before = Snapshot(dir.path());
    LoadedArchive loaded = LoadArchive(archive);
    loaded.store[kDescTable].Records.resize(loaded.store[kDescTable].Records.size() -
                                            1); // the buffer no longer holds RecordCount records
    EXPECT_EQ(SaveTables(loaded, {kPartTable, kDescTable}, {true, 10, -1}), SaveAllResult::NotSaved);
    EXPECT_TRUE(Snapshot(dir.path()) == before);
}

// Writes in one second are numbered on past every backup of that second, so pruning by
// time and number never takes the backup a write has just made; odd names are no backups.
TEST_F(BackupTest, MoreThanTenWritesInOneSecondKeepTheTenNewest) {
    const Names odd = {"tarvik_gb.iff.20240101-120000-99999999999999999999.bak",
                       "tarvik_gb.iff.20240101-120000-02.bak", "tarvik_gb.iff.20240101-120000-1.bak"};
    for (const std::string& name : odd)
        ASSERT_TRUE(WriteFileText(dir / name, name));
    const std::time_t second = 1700000000;
    std::vector<std::string> replaced; // the archive before each write, oldest first
    for (std::uint32_t price = 1; price <= 12; ++price) {
        LoadedArchive loaded = LoadArchive(archive);
        Put(loaded.store, kPartTable, 0, 0x5C, 4, price); // Price: each archive differs
        replaced.push_back(ReadFileText(archive));
        ASSERT_EQ(SaveTables(loaded, {kPartTable}, {true, 10, second}), SaveAllResult::Saved);
    }
    // By name, oldest first: the time, then the number after it as a number (-10 after -9).
    std::vector<std::pair<std::uint64_t, std::string>> kept;
    const std::regex numbered(R"(tarvik_gb\.iff\.\d{8}-\d{6}(?:-(\d+))?\.bak)");
    for (const auto& [name, bytes] : Snapshot(dir.path())) {
        std::smatch m;
        if (std::find(odd.begin(), odd.end(), name) == odd.end() && std::regex_match(name, m, numbered))
            kept.emplace_back(m[1].matched ? std::stoull(m[1]) : 1, std::string(bytes.begin(), bytes.end()));
    }
    std::sort(kept.begin(), kept.end());
    ASSERT_EQ(kept.size(), 10u);
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_TRUE(kept[i].second == replaced[i + 2]) << "backup " << i << " is not of write " << i + 3;
    for (const std::string& name : odd)
        EXPECT_EQ(ReadFileText(dir / name), name);
}

TEST_F(BackupTest, TheBackupJustMadeStaysWhenTheClockWentBack) {
    const std::string later = dir / "tarvik_gb.iff.29991231-235959.bak";
    ASSERT_TRUE(WriteFileText(later, "from a clock that ran ahead"));
    const std::string before = ReadFileText(archive);
    ASSERT_EQ(
        RunCli({"set", archive, "Part", IdOf(demo, kPartTable, 0), "Price=7", "--keep-backups", "1"}).status,
        0);
    Names backups;
    for (const auto& [name, bytes] : Snapshot(dir.path()))
        if (name != "tarvik_gb.iff" && name != "tarvik_gb.iff.lock") backups.push_back(name);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ReadFileText(dir / backups[0]), before);
}
