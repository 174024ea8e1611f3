// Shared by the fault-injection tests and the model check: tmpfs mounts that are always
// taken down again, the small demo archive, and the check that an archive on disk is
// complete and holds exactly the expected tables.
#pragma once

#include "archive/TableStore.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ledgrin::faults {

using test::Bytes;
using test::ReadFileBytes;
using test::ScratchDir;
using test::WriteFileBytes;
namespace fs = std::filesystem;

// A tmpfs of the given size (in KiB) over a folder; unmounted when it goes out of scope,
// also after a failed assertion. Mounting needs root (CI runs as root); without it the
// test skips.
class TmpfsMount {
  public:
    TmpfsMount(const fs::path& dir, std::size_t kib);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& error() const { return error_; }
    bool MakeReadOnly();

  private:
    fs::path dir_;
    bool mounted_ = false;
    std::string error_;
};

#define SKIP_UNLESS_MOUNTED(m)                                                                               \
    if (!(m).mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root): " << (m).error()

// The small demo archive's tables (a few records per table, 40 Part records).
TableStore SmallDemoTables();
// Writes the tables as the demo archive does: the fourteen tables and three other entries.
void WriteDemoArchive(const std::string& path, const TableStore& store);

// Loads all fourteen tables; false (with a failure) when any does not load.
bool LoadAll(const std::string& path, TableStore& store);

// The archive at path is whole (every local header agrees with the directory) and holds
// exactly `expected` in every table but t, and in t either `before` or `after`.
// Returns true when t holds `after`.
bool ExpectOldOrNew(const std::string& path, const TableStore& expected, TableIndex t,
                    const TableSlot& before, const TableSlot& after);

// Names directly inside dir, sorted.
std::vector<std::string> ListDir(const fs::path& dir);

} // namespace ledgrin::faults
