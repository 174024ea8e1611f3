// Shared by the archive tests: a raw reader of ZIP headers that does not go through
// libzip, and the fixture with its scratch folders.
#pragma once

#include "archive/TableLoad.h"
#include "archive/TableSave.h"
#include "tests/support/TestFiles.h"
#include "tools/ZipWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace ledgrin::test {

// Bytes that differ from record to record and from offset to offset.
Bytes Pattern(std::size_t n, std::uint8_t seed);
ZipEntry Entry(const std::string& name, const Bytes& bytes, ZipMethod method = ZipMethod::Deflate);
Bytes Concat(Bytes a, const Bytes& b);

// Every file and folder below dir with its bytes (folders as "name/" with none).
std::map<std::string, Bytes> Snapshot(const fs::path& dir);

// One entry as the file stores it.
struct RawEntry {
    std::string name, comment;
    std::uint16_t flags = 0, method = 0;
    Bytes central; // the central record, its local-header offset zeroed
    Bytes local;   // the local header with name, extra field and compressed data
};

struct RawArchive {
    bool ok = false; // false when the headers could not be followed
    std::vector<RawEntry> entries;
    std::string comment;
};

RawArchive ReadRawArchive(const std::string& path);
// Expects `after` to be `before` copied in its stored form, every header byte the same.
void ExpectSameStoredEntry(const RawEntry& before, const RawEntry& after);

// The uncompressed bytes of the entry named exactly `name`, read with libzip; empty when
// there is none.
Bytes EntryData(const std::string& archivePath, const std::string& name);

// A scratch folder of the test's own, removed at the end, holding a program folder (where
// the temporary archive goes) apart from the game folder. The archive holds a large stored
// file and a Part table; the Part slot has two records.
class ArchiveTest : public testing::Test {
  protected:
    ScratchDir scratch;
    fs::path dir = scratch.path(), exe = dir / "exe", game = dir / "game";
    std::string archive = (game / "tarvik_gb.iff").string();
    Bytes notes = Pattern(200000, 22); // more than a 64 KB folder can take
    TableStore store;
    std::string why; // LoadTable's reason after the last Load

    void SetUp() override;
    void WriteArchive(const std::vector<ZipEntry>& entries, const std::string& comment = "");
    // Loads or saves table t with the diagnostic lines captured; returns them.
    std::string Load(TableIndex t, LoadResult expected);
    std::string Save(TableIndex t, SaveResult expected);
    // Saving Part fails with these lines, and no file below dir changes.
    void ExpectPartNotSaved(const std::string& output);
};

} // namespace ledgrin::test
