// Shared by the ledgrin-cli tests: a scratch folder holding the small demo archive,
// little-endian record access at offsets the tests write out, and in-process runs.
#pragma once

#include "archive/TableStore.h"
#include "tests/support/TestArchives.h"
#include "cli/ArchiveFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ledgrin::clitest {

using namespace ledgrin::test;

inline std::uint32_t Get(const TableStore& store, TableIndex t, std::size_t index, std::size_t offset,
                         std::size_t width) {
    return test::Get(store.Record(t, index) + offset, width);
}
inline void Put(TableStore& store, TableIndex t, std::size_t index, std::size_t offset, std::size_t width,
                std::uint32_t value) {
    test::Put(store[t].Records, index * RecordSize(t) + offset, width, value);
}
// The TypeID (offset 4) of an item record, as a row or an argument writes it.
inline std::string IdOf(const TableStore& store, TableIndex t, std::size_t index) {
    return std::to_string(Get(store, t, index, 0x04, 4));
}

struct CliRun {
    int status;
    std::string out, err;
};
// ledgrin-cli run in-process with the given arguments (after the program name).
CliRun RunCli(const std::vector<std::string>& args);

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A scratch folder holding the small demo archive (seed 1) as tarvik_gb.iff.
class CliTest : public testing::Test {
  protected:
    ScratchDir dir;
    std::string archive = dir / "tarvik_gb.iff";
    const TableStore demo = SmallDemoTables();

    void SetUp() override { Write(demo); }
    // The archive rewritten from other tables, by the generator rather than the code under test.
    void Write(const TableStore& store) { ASSERT_TRUE(WriteDemoTables(archive, store)); }
    TableStore Load() const { return cli::LoadArchive(archive).store; }
};

} // namespace ledgrin::clitest
