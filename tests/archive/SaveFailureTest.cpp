#include "ArchiveTestSupport.h"
#include "archive/TableLoad.h"
#include "archive/TableSave.h"
#include "tools/ZipWriter.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::test;

namespace {

// The program folder (where the temporary archive goes) and the game folder are apart,
// so "nothing left behind" means: the program folder is as it was.
class SaveFailureTest : public testing::Test {
  protected:
    ScratchDir dir{testing::UnitTest::GetInstance()->current_test_info()->name()};
    fs::path exe = dir.path() / "exe";
    fs::path game = dir.path() / "game";
    std::string archive = (game / "tarvik_gb.iff").string();
    Bytes notes = Pattern(3000, 11);
    TableStore store;

    void SetUp() override {
        fs::create_directories(exe);
        fs::create_directories(game);
        WriteArchive({Entry("notes.bin", notes, ZipMethod::Stored),
                      Entry("Part.iff", TableEntryBytes(1, 0, 13, Pattern(544, 12)))});
        store[kPartTable] = {2, 0, 13, Pattern(2 * 544, 13)};
    }
    void WriteArchive(const std::vector<ZipEntry>& entries) {
        ASSERT_EQ(WriteZipFile(archive, entries), ZipWriteResult::Written);
    }
    std::string Save(SaveResult expected) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(SaveTable(store, kPartTable, archive, exe.string()), expected);
        return testing::internal::GetCapturedStdout();
    }
};

} // namespace

// --- the old archive cannot be read ----------------------------------------------------

TEST_F(SaveFailureTest, AnArchiveRemovedAfterLoadingIsReportedAndNotRecreated) {
    testing::internal::CaptureStdout();
    ASSERT_EQ(LoadTable(store, kPartTable, archive), kLoaded);
    testing::internal::GetCapturedStdout();
    fs::remove(archive);

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\ntarvik_gb.iff File not found.\n");
    EXPECT_TRUE(ListDir(game).empty());
    EXPECT_TRUE(ListDir(exe).empty());
}

TEST_F(SaveFailureTest, ACorruptCentralDirectoryLeavesTheFileAsItWas) {
    Bytes file = ReadFileBytes(archive);
    const Bytes central = {'P', 'K', 1, 2};
    auto at = std::search(file.begin(), file.end(), central.begin(), central.end());
    ASSERT_NE(at, file.end());
    at[3] = 9; // the first central record no longer starts with its signature
    WriteFileBytes(archive, file);

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\ntarvik_gb.iff File not found.\n");
    EXPECT_EQ(ReadFileBytes(archive), file);
    EXPECT_TRUE(ListDir(exe).empty());
}

// --- the temporary archive cannot be created -------------------------------------------

TEST_F(SaveFailureTest, AFolderNamedLikeTheTemporaryArchiveIsLeftAlone) {
    Bytes before = ReadFileBytes(archive);
    fs::create_directory(exe / "tarvik_gb1.iff");

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\ncant create tarvik_gb1.iff.\n");
    EXPECT_EQ(ReadFileBytes(archive), before);
    EXPECT_TRUE(fs::is_directory(exe / "tarvik_gb1.iff"));
    EXPECT_TRUE(fs::is_empty(exe / "tarvik_gb1.iff"));
}

TEST_F(SaveFailureTest, AnArchiveNamedLikeTheTemporaryArchiveIsNotWrittenOverItself) {
    // Ledgrin.exe tarvik_gb1.iff, started in its own folder.
    archive = (exe / "tarvik_gb1.iff").string();
    WriteArchive({Entry("Part.iff", TableEntryBytes(1, 0, 13, Pattern(544, 12)))});
    Bytes before = ReadFileBytes(archive);

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\ncant create tarvik_gb1.iff.\n");
    EXPECT_EQ(ReadFileBytes(archive), before);
    EXPECT_EQ(ListDir(exe), std::vector<std::string>{"tarvik_gb1.iff"});
}

// --- the new archive cannot be completed -----------------------------------------------

TEST_F(SaveFailureTest, AnEntryThatCannotBeCopiedLeavesTheOldArchive) {
    // notes.bin is stored; one changed byte makes its CRC fail while it is copied.
    Bytes file = ReadFileBytes(archive);
    auto at = std::search(file.begin(), file.end(), notes.begin(), notes.end());
    ASSERT_NE(at, file.end());
    at[1500] ^= 0x40;
    WriteFileBytes(archive, file);

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\n");
    EXPECT_EQ(ReadFileBytes(archive), file);
    EXPECT_TRUE(ListDir(exe).empty());
}

TEST_F(SaveFailureTest, ASlotWhoseBufferDoesNotMatchItsCountIsNotWritten) {
    Bytes before = ReadFileBytes(archive);
    store[kPartTable].RecordCount = 3; // the buffer holds two records

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\n");
    EXPECT_EQ(ReadFileBytes(archive), before);
    EXPECT_TRUE(ListDir(exe).empty());
}
