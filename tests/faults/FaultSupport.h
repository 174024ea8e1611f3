// Shared by the fault-injection tests: a tmpfs mount that is always taken down again, and
// a fixture with the small demo archive in a game folder apart from the program folder.
// Mounts and file attributes need root: without it the tests that need them skip and say
// why.
#pragma once

#include "archive/TableSave.h"
#include "tests/support/TestArchives.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace ledgrin::faults {

using namespace test;

// A tmpfs of the given size (in KiB) over a folder, unmounted when it goes out of scope,
// also after a failed assertion. `error` says why it could not be mounted.
struct TmpfsMount {
    const fs::path dir;
    const std::string error;
    TmpfsMount(const fs::path& d, std::size_t kib)
        : dir(d),
          error(mount("tmpfs", d.c_str(), "tmpfs", 0, ("size=" + std::to_string(kib) + "k").c_str()) == 0
                    ? ""
                    : std::strerror(errno)) {}
    ~TmpfsMount() {
        if (error.empty()) umount2(dir.c_str(), MNT_DETACH);
    }
    bool MakeReadOnly() { return mount("tmpfs", dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }
};
#define SKIP_UNLESS_MOUNTED(m)                                                                               \
    if (!(m).error.empty()) GTEST_SKIP() << "cannot mount a tmpfs (needs root): " << (m).error

class FaultTest : public testing::Test {
  protected:
    ScratchDir scratch;
    fs::path exe = scratch.path() / "exe", game = scratch.path() / "game";
    std::string archive = (game / "tarvik_gb.iff").string();
    TableStore original = SmallDemoTables(); // what the archive holds now

    void SetUp() override {
        fs::create_directories(exe);
        fs::create_directories(game);
        ASSERT_TRUE(WriteDemoTables(archive, original));
    }
    // Saves table t of store with exeDirectory as the program folder; returns the result and,
    // if wanted, the lines printed.
    SaveResult Save(const TableStore& store, TableIndex t, const fs::path& exeDirectory,
                    std::string* output = nullptr) {
        testing::internal::CaptureStdout();
        const SaveResult result = SaveTable(store, t, archive, exeDirectory.string());
        const std::string printed = testing::internal::GetCapturedStdout();
        if (output) *output = printed;
        return result;
    }
    // The archive is whole (every local header agrees with the directory) and holds
    // `original` in every table but t, and in t either `original`'s or `next`'s table.
    // Returns true when it holds the new one.
    bool ExpectOldOrNew(const TableStore& next, TableIndex t) {
        EXPECT_TRUE(ZipReader(archive, ZIP_RDONLY | ZIP_CHECKCONS).za) << archive << " is missing or damaged";
        TableStore loaded;
        EXPECT_TRUE(LoadAll(archive, loaded)) << "a table does not load";
        for (TableIndex u = 0; u < kTableCount; ++u)
            EXPECT_TRUE(u == t || SameSlot(loaded[u], original[u])) << EntryName(u) << " changed";
        const bool isNew = SameSlot(loaded[t], next[t]);
        EXPECT_TRUE(isNew || SameSlot(loaded[t], original[t])) << EntryName(t) << " is neither old nor new";
        return isNew;
    }
};

} // namespace ledgrin::faults
