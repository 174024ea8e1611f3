// A save killed with SIGKILL at a random moment, a hundred times over: whatever the moment,
// the archive is whole and holds the old or the new table. A killed save may leave its
// temporary archive behind; the next save that runs to its end overwrites and removes it.
#include "archive/TableSave.h"
#include "tests/faults/FaultSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace ledgrin;
using namespace ledgrin::faults;

namespace {

constexpr int kKills = 100;
constexpr std::uint32_t kDelaySeed = 20240607; // the same delays on every run

// Saves table t in a child process, which exits with 0 when the save succeeded.
pid_t StartSave(const TableStore& store, TableIndex t, const std::string& archive, const fs::path& exe) {
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        if (!std::freopen("/dev/null", "w", stdout)) _exit(3);
        _exit(SaveTable(store, t, archive, exe.string()) == kSaved ? 0 : 1);
    }
    return pid;
}

// Waits for the child; true when it was killed before it could finish.
bool WaitForSave(pid_t pid) {
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    if (WIFSIGNALED(status)) return true;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "an unhindered save failed";
    return false;
}

// The same tables with one Part record's price (u32 at 0x5C) set to `price`.
TableStore WithPartPrice(const TableStore& store, std::size_t record, std::uint32_t price) {
    TableStore next = store;
    std::uint8_t* p = next[kPartTable].Records.data() + record * 544 + 0x5C;
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(price >> (8 * i));
    return next;
}

class KillDuringSaveTest : public testing::Test {
  protected:
    ScratchDir scratch;
    fs::path exe = scratch.path() / "exe";
    fs::path game = scratch.path() / "game";
    std::string archive = (game / "tarvik_gb.iff").string();
    TableStore current = SmallDemoTables(); // what the archive holds now

    void SetUp() override {
        fs::create_directories(exe);
        fs::create_directories(game);
        ASSERT_NO_FATAL_FAILURE(WriteDemoArchive(archive, current));
    }

    // How long a whole save takes in a child process, fork included (the median of five).
    long SaveMicroseconds() {
        std::vector<long> times;
        for (int i = 0; i < 5; ++i) {
            auto start = std::chrono::steady_clock::now();
            EXPECT_FALSE(WaitForSave(StartSave(current, kPartTable, archive, exe)));
            times.push_back(static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                  std::chrono::steady_clock::now() - start)
                                                  .count()));
        }
        std::sort(times.begin(), times.end());
        return times[2];
    }
};

} // namespace

TEST_F(KillDuringSaveTest, AKilledSaveLeavesTheOldOrTheNewArchive) {
    const long saveTime = SaveMicroseconds();
    std::mt19937 random(kDelaySeed);
    // Up to the length of a save: most saves are cut short, at every stage, and a few finish.
    std::uniform_int_distribution<long> delay(0, saveTime);
    int keptOld = 0, tookNew = 0, finished = 0;

    for (int i = 0; i < kKills && !HasFailure(); ++i) {
        SCOPED_TRACE("kill " + std::to_string(i));
        TableStore next = WithPartPrice(current, static_cast<std::size_t>(i) % 40, 1000 + i);
        pid_t pid = StartSave(next, kPartTable, archive, exe);
        ASSERT_GT(pid, 0);
        usleep(static_cast<useconds_t>(delay(random)));
        kill(pid, SIGKILL);
        bool killed = WaitForSave(pid);

        bool isNew = ExpectOldOrNew(archive, current, kPartTable, current[kPartTable], next[kPartTable]);
        EXPECT_EQ(ListDir(game), std::vector<std::string>{"tarvik_gb.iff"});
        if (!killed) {
            EXPECT_TRUE(isNew);
            EXPECT_TRUE(ListDir(exe).empty());
            ++finished;
        }
        if (isNew) current = std::move(next);
        (isNew ? tookNew : keptOld)++;
    }
    std::printf("[          ] %d kills: %d kept the old table, %d had the new one (%d saves finished); "
                "a save takes about %ld us\n",
                kKills, keptOld, tookNew, finished, saveTime);

    // A save that runs to its end afterwards leaves nothing behind.
    TableStore last = WithPartPrice(current, 0, 0xFFFFFFFFu);
    testing::internal::CaptureStdout();
    EXPECT_EQ(SaveTable(last, kPartTable, archive, exe.string()), kSaved);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(ExpectOldOrNew(archive, current, kPartTable, current[kPartTable], last[kPartTable]));
    EXPECT_TRUE(ListDir(exe).empty());
}
