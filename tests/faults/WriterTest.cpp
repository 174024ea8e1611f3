// Writers at once and archives behind links, with the real ledgrin-cli in processes of its
// own: no writer reports a change that is not in the archive, a killed lock holder blocks
// nobody, a change made by a program that takes no lock is never written over, and a write
// through a symbolic link changes the file it points to and keeps the link.
#include "cli/ArchiveFiles.h"
#include "demo/DemoArchive.h"
#include "tests/faults/FaultSupport.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ledgrin;
using namespace ledgrin::faults;

namespace {

constexpr std::size_t kPrice = 0x5C;
const std::string kBusy = " is being written by another process; nothing was written\n";

struct Writer {
    pid_t pid;
    std::string errFile;
    std::uint32_t price;
};

// ledgrin-cli with args in a process of its own, standard error into errFile.
pid_t Spawn(const std::vector<std::string>& args, const std::string& errFile) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
              nul = open("/dev/null", O_WRONLY);
    dup2(err, STDERR_FILENO);
    dup2(nul, STDOUT_FILENO);
    std::vector<char*> argv{const_cast<char*>(LEDGRIN_CLI)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(LEDGRIN_CLI, argv.data());
    _exit(127);
}

int ExitCode(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::uint32_t PriceOf(const TableStore& store, std::size_t index) {
    return Get(store.Record(kPartTable, index) + kPrice, 4);
}

class WriterTest : public FaultTest {
  protected:
    // One `set` of Part's Price per writer, record i for writer i, all started at once;
    // then every writer that reported success must have its price in the archive and
    // every other must have said why and changed nothing.
    void WritersAtOnce(std::size_t writers, std::uint32_t firstPrice, const std::vector<std::string>& options,
                       std::size_t* succeeded = nullptr) {
        const TableStore before = cli::LoadArchive(archive).store;
        std::vector<Writer> running;
        for (std::size_t i = 0; i < writers; ++i) {
            const std::uint32_t price = firstPrice + static_cast<std::uint32_t>(i);
            std::vector<std::string> args = {"set", archive, "Part",
                                             std::to_string(RecordTypeIdOf(before, i)),
                                             "Price=" + std::to_string(price)};
            args.insert(args.end(), options.begin(), options.end());
            const std::string err = (scratch.path() / ("writer" + std::to_string(i) + ".err")).string();
            running.push_back({Spawn(args, err), err, price});
        }
        std::vector<int> codes;
        for (const Writer& w : running)
            codes.push_back(ExitCode(w.pid));
        const TableStore after = cli::LoadArchive(archive).store;
        std::size_t ok = 0;
        for (std::size_t i = 0; i < writers; ++i) {
            if (codes[i] == 0) {
                ++ok;
                EXPECT_EQ(PriceOf(after, i), running[i].price)
                    << "writer " << i << " reported a change that was lost";
            } else {
                EXPECT_EQ(codes[i], 1) << "writer " << i;
                EXPECT_EQ(ReadFileText(running[i].errFile), "ledgrin-cli: " + archive + kBusy)
                    << "writer " << i;
                EXPECT_EQ(PriceOf(after, i), PriceOf(before, i)) << "writer " << i;
            }
        }
        if (succeeded) *succeeded = ok;
    }
    // A process of its own that holds the archive's lock, until it is killed (micros -1) or
    // for that many microseconds, after which it leaves the file `released` and ends. It has
    // the lock when this returns; -1 when it could not take it.
    const std::string released = (scratch.path() / "released").string();
    pid_t HoldLock(long micros) {
        int ready[2];
        if (pipe(ready) != 0) return -1;
        const pid_t holder = fork();
        if (holder == 0) {
            ArchiveLock lock;
            const char held = lock.Acquire(archive, 0) == ArchiveLock::Result::kLocked ? 'y' : 'n';
            if (write(ready[1], &held, 1) != 1) _exit(1);
            if (micros < 0) pause();
            usleep(static_cast<useconds_t>(micros));
            _exit(WriteFileText(released, "") ? 0 : 1);
        }
        char held = 0;
        const bool ok = read(ready[0], &held, 1) == 1 && held == 'y';
        close(ready[0]);
        close(ready[1]);
        return ok ? holder : -1;
    }
    static std::uint32_t RecordTypeIdOf(const TableStore& store, std::size_t index) {
        return Get(store.Record(kPartTable, index) + 4, 4);
    }
};

} // namespace

TEST_F(WriterTest, ManyWritersAtOnceLoseNoReportedChange) {
    std::size_t succeeded = 0;
    WritersAtOnce(20, 1000, {}, &succeeded);
    EXPECT_EQ(succeeded, 20u);                // ten seconds is time enough for all of them
    WritersAtOnce(20, 2000, {"--wait", "0"}); // some give up at once, with the message
}

TEST_F(WriterTest, TwoWritersAtTheFormatsLimitLoseNoReportedChange) {
    ASSERT_EQ(WriteDemoArchive(archive, {DemoSize::Max, 1}), DemoResult::Done);
    std::size_t succeeded = 0;
    WritersAtOnce(2, 7, {"--wait", "600", "--no-backup"}, &succeeded);
    EXPECT_EQ(succeeded, 2u);
}

TEST_F(WriterTest, AKilledLockHolderBlocksNobody) {
    const pid_t holder = HoldLock(-1);
    ASSERT_GT(holder, 0);
    const std::string err = (scratch.path() / "writer.err").string();
    const std::string id = std::to_string(RecordTypeIdOf(original, 0));
    EXPECT_EQ(ExitCode(Spawn({"set", archive, "Part", id, "Price=5", "--wait", "0.2"}, err)), 1);
    EXPECT_EQ(ReadFileText(err), "ledgrin-cli: " + archive + kBusy);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    EXPECT_EQ(ExitCode(Spawn({"set", archive, "Part", id, "Price=5", "--wait", "0"}, err)), 0)
        << ReadFileText(err);
    EXPECT_EQ(PriceOf(cli::LoadArchive(archive).store, 0), 5u);
}

// The editor's save waits for the lock: a holder that makes its mark and then lets go is
// always done before the save is.
TEST_F(WriterTest, TheEditorsSaveWaitsForTheLock) {
    const pid_t holder = HoldLock(300000);
    ASSERT_GT(holder, 0);
    testing::internal::CaptureStdout();
    const SaveResult result = SaveTableLocked(original, kPartTable, archive, exe.string());
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, kSaved);
    EXPECT_TRUE(fs::exists(released)) << "the save did not wait for the lock";
    EXPECT_EQ(ExitCode(holder), 0);
}

// A program that takes no lock (an editor, the game's tools) replaced the archive after
// the load: the write is refused and leaves that program's archive and no backup.
TEST_F(WriterTest, AnArchiveChangedSinceTheLoadIsNotWrittenOver) {
    cli::LoadedArchive loaded = cli::LoadArchive(archive);
    Put(loaded.store[kPartTable].Records, kPrice, 4, 1);
    TableStore other = original;
    Put(other[kCardTable].Records, kPrice, 4, 2);
    const std::string elsewhere = (scratch.path() / "other.iff").string();
    ASSERT_TRUE(WriteDemoTables(elsewhere, other));
    fs::rename(elsewhere, archive);
    const auto before = Snapshot(game);
    EXPECT_EQ(cli::SaveTables(loaded, {kPartTable}, {true, 10, -1}), cli::SaveAllResult::Changed);
    EXPECT_TRUE(Snapshot(game) == before);
}

TEST_F(WriterTest, AWriteThroughALinkChangesItsFileAndKeepsTheLink) {
    const fs::path data = scratch.path() / "data", real = data / "items.iff", link = game / "linked.iff";
    fs::create_directories(data);
    fs::rename(archive, real);
    fs::create_symlink(real, link);
    const Bytes old = ReadFileBytes(real.string());
    const std::string id = std::to_string(RecordTypeIdOf(original, 0)),
                      err = (scratch.path() / "w.err").string();
    ASSERT_EQ(ExitCode(Spawn({"set", link.string(), "Part", id, "Price=6"}, err)), 0) << ReadFileText(err);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), real);
    EXPECT_EQ(PriceOf(cli::LoadArchive(real.string()).store, 0), 6u);
    // The backup is a file of its own beside the file written, which a later write leaves alone.
    std::vector<fs::path> backups;
    for (const auto& [name, bytes] : Snapshot(data))
        if (name.rfind("items.iff.", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".bak")
            backups.push_back(data / name);
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_FALSE(fs::is_symlink(backups[0]));
    EXPECT_TRUE(ReadFileBytes(backups[0].string()) == old);
    ASSERT_EQ(ExitCode(Spawn({"set", link.string(), "Part", id, "Price=7", "--no-backup"}, err)), 0);
    EXPECT_TRUE(ReadFileBytes(backups[0].string()) == old);
    EXPECT_EQ(Snapshot(game).size(), 1u); // nothing beside the link but the link

    // The editor's save follows the link too.
    testing::internal::CaptureStdout();
    const SaveResult saved = SaveTableLocked(original, kPartTable, link.string(), exe.string());
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(saved, kSaved);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(PriceOf(cli::LoadArchive(real.string()).store, 0), PriceOf(original, 0));
}
