// The archive tests' fixture: a scratch folder of the test's own holding a program folder
// (where the temporary archive goes) apart from the game folder. The archive holds a
// large stored file and a Part table; the Part slot has two records.
#pragma once

#include "archive/TableLoad.h"
#include "archive/TableSave.h"
#include "demo/ZipWriter.h"
#include "tests/support/TestArchives.h"

#include <gtest/gtest.h>

namespace ledgrin::test {

inline ZipEntry Entry(const std::string& name, const Bytes& bytes, ZipMethod method = ZipMethod::Deflate) {
    ZipEntry e;
    e.name = name;
    e.bytes = bytes;
    e.method = method;
    return e;
}

inline Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ArchiveTest : public testing::Test {
  protected:
    ScratchDir scratch;
    fs::path dir = scratch.path(), exe = dir / "exe", game = dir / "game";
    std::string archive = (game / "tarvik_gb.iff").string();
    Bytes notes = Pattern(200000, 22); // stored: more than a 64 KB folder can take
    TableStore store;

    void SetUp() override {
        fs::create_directories(exe);
        fs::create_directories(game);
        WriteArchive({Entry("notes.bin", notes, ZipMethod::Stored),
                      Entry("Part.iff", TableEntryBytes(1, 0, 13, Pattern(544, 23)))});
        store[kPartTable] = {2, 0x0202, 13, AsTableBytes(Pattern(2 * 544, 21))};
    }
    void WriteArchive(const std::vector<ZipEntry>& entries, const std::string& comment = "") {
        ASSERT_EQ(WriteZipFile(archive, entries, comment), ZipWriteResult::Written);
    }
    std::string why; // LoadTable's reason after the last Load

    // Loads or saves table t with the diagnostic lines captured; returns them.
    std::string Load(TableIndex t, LoadResult expected) {
        testing::internal::CaptureStdout();
        why.clear();
        EXPECT_EQ(LoadTable(store, t, archive, &why), expected) << EntryName(t);
        return testing::internal::GetCapturedStdout();
    }
    std::string Save(TableIndex t, SaveResult expected) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(SaveTable(store, t, archive, exe.string()), expected) << EntryName(t);
        return testing::internal::GetCapturedStdout();
    }
};

} // namespace ledgrin::test
