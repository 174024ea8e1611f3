// A save killed with SIGKILL at a random moment, a hundred times over: whatever the moment,
// the archive is whole and holds the old or the new table. At least half of the kills must
// land while the temporary archive exists, or the test did not test the rewrite.
#include "tests/faults/FaultSupport.h"

#include <algorithm>
#include <chrono>
#include <climits>
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

class KillDuringSaveTest : public FaultTest {
  protected:
    const std::string temporary = (exe / "tarvik_gb1.iff").string();

    bool MadeTemporary() const { return fs::exists(temporary); }
    // Whether the child still runs; an ended child is left to be reaped.
    static bool Running(pid_t pid) {
        siginfo_t info{};
        return waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
    }
    // Polls until the temporary archive holds at least `bytes`, or the child has ended.
    void AwaitTemporary(pid_t pid, std::uintmax_t bytes) const {
        std::error_code error;
        while (!(MadeTemporary() && fs::file_size(temporary, error) >= bytes && !error) && Running(pid))
            usleep(20);
    }

    // Saves Part in a child process, which exits with 0 when the save succeeded.
    pid_t StartSave(const TableStore& store) {
        std::fflush(stdout);
        const pid_t pid = fork();
        if (pid == 0) {
            if (!std::freopen("/dev/null", "w", stdout)) _exit(3);
            _exit(SaveTable(store, kPartTable, archive, exe.string()) == kSaved ? 0 : 1);
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

    // How long a whole save takes in a child process, fork included: the fastest of five
    // (a loaded machine makes a save slower, never faster).
    long SaveMicroseconds() {
        long fastest = LONG_MAX;
        for (int i = 0; i < 5; ++i) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_FALSE(WaitForSave(StartSave(original)));
            const auto took = std::chrono::steady_clock::now() - start;
            fastest =
                std::min<long>(fastest, std::chrono::duration_cast<std::chrono::microseconds>(took).count());
        }
        return fastest;
    }
};

} // namespace

TEST_F(KillDuringSaveTest, AKilledSaveLeavesTheOldOrTheNewArchive) {
    // A quarter of the kills at any moment up to the length of a save, so every stage is
    // cut short and a few saves finish; the others once the temporary archive has reached a
    // random size up to that of the whole archive: during the rewrite, whatever the speed
    // of the machine.
    const long saveTime = SaveMicroseconds();
    std::mt19937 random(kDelaySeed);
    std::uniform_int_distribution<long> anyMoment(0, saveTime);
    std::uniform_int_distribution<std::uintmax_t> written(0, fs::file_size(archive));
    int duringRewrite = 0, tookNew = 0;

    for (int i = 0; i < kKills && !HasFailure(); ++i) {
        SCOPED_TRACE("kill " + std::to_string(i));
        fs::remove(temporary); // a leftover of an earlier kill would count as this save's
        TableStore next = original;
        Put(next[kPartTable].Records, i % 40 * 544 + 0x5C, 4, 1000 + i); // a Part record's price
        const pid_t pid = StartSave(next);
        ASSERT_GT(pid, 0);
        if (i % 4 == 0)
            usleep(static_cast<useconds_t>(anyMoment(random)));
        else
            AwaitTemporary(pid, written(random));
        kill(pid, SIGKILL);
        const bool killed = WaitForSave(pid);
        duringRewrite += killed && MadeTemporary();

        const bool isNew = ExpectOldOrNew(next, kPartTable);
        EXPECT_EQ(Snapshot(game).size(), 1u);
        if (!killed) {
            EXPECT_TRUE(isNew);
            EXPECT_TRUE(fs::is_empty(exe));
        }
        if (isNew) original = next;
        tookNew += isNew;
    }
    std::printf("[          ] %d kills: %d while the temporary archive existed, %d had the new table\n",
                kKills, duringRewrite, tookNew);
    EXPECT_GE(duringRewrite, kKills / 2);
}
