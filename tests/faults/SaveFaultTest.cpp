// Saving while the file system fails underneath: folders that fill up at every point of
// the rewrite, read-only folders, and an archive that is removed or replaced between load
// and save. After every case the archive is whole and holds the old or the new table (the
// old one, byte for byte, whenever the save reports failure) and no temporary file is left.
#include "archive/TableSave.h"
#include "tests/faults/FaultSupport.h"

#include <gtest/gtest.h>

using namespace ledgrin;
using namespace ledgrin::faults;

namespace {

class SaveFaultTest : public testing::Test {
  protected:
    ScratchDir scratch;
    fs::path exe = scratch.path() / "exe";
    fs::path game = scratch.path() / "game";
    std::string archive = (game / "tarvik_gb.iff").string();
    TableStore original = SmallDemoTables(); // what the archive on disk holds
    TableStore edited;                       // the same with Part record 3 changed in memory
    Bytes archiveBytes;

    void SetUp() override {
        fs::create_directories(exe);
        fs::create_directories(game);
        ASSERT_NO_FATAL_FAILURE(WriteDemoArchive(archive, original));
        archiveBytes = ReadFileBytes(archive);
        edited = original;
        std::uint8_t* record = edited[kPartTable].Records.data() + 3 * 544;
        record[0x5C] = 0xEE; // Price (u32 at 0x5C) becomes 0x00C0FFEE
        record[0x5D] = 0xFF;
        record[0x5E] = 0xC0;
        record[0x5F] = 0x00;
    }

    std::size_t ArchiveKib() const { return archiveBytes.size() / 1024 + 1; }

    SaveResult Save(const fs::path& exeDirectory, std::string* output = nullptr) {
        testing::internal::CaptureStdout();
        SaveResult result = SaveTable(edited, kPartTable, archive, exeDirectory.string());
        std::string printed = testing::internal::GetCapturedStdout();
        if (output) *output = printed;
        return result;
    }

    // The outcome of one save: a failure left the archive byte for byte as it was, a
    // success put the new table in, and either way no temporary archive is left anywhere.
    void ExpectOutcome(SaveResult result, const fs::path& exeDirectory) {
        bool isNew = ExpectOldOrNew(archive, original, kPartTable, original[kPartTable], edited[kPartTable]);
        EXPECT_EQ(isNew, result == kSaved);
        if (result != kSaved) {
            EXPECT_EQ(ReadFileBytes(archive), archiveBytes);
        }
        EXPECT_EQ(ListDir(game), std::vector<std::string>{"tarvik_gb.iff"});
        if (exeDirectory != game) {
            EXPECT_TRUE(ListDir(exeDirectory).empty());
        }
    }

    // Saves once under every tmpfs size from firstKib to lastKib (in 4 KiB steps) mounted
    // over `full`, each round from the old archive, so the write stops at a different point
    // each time; the sizes must reach both a failed and a finished save.
    void SaveIntoFillingFolder(const fs::path& full, const fs::path& exeDirectory, std::size_t firstKib,
                               std::size_t lastKib) {
        int saved = 0, failed = 0;
        for (std::size_t kib = firstKib; kib <= lastKib; kib += 4) {
            SCOPED_TRACE("tmpfs of " + std::to_string(kib) + " KiB");
            TmpfsMount m(full, kib);
            SKIP_UNLESS_MOUNTED(m);
            ASSERT_TRUE(WriteFileBytes(archive, archiveBytes));
            SaveResult result = Save(exeDirectory);
            ExpectOutcome(result, exeDirectory);
            (result == kSaved ? saved : failed)++;
        }
        EXPECT_GT(failed, 0);
        EXPECT_GT(saved, 0);
    }
};

} // namespace

// --- a folder fills up part-way through the rewrite ------------------------------------------

// The temporary archive is written into a small file system beside the program; from too
// small for anything to just big enough, the write stops at a different point each time.
TEST_F(SaveFaultTest, AProgramFolderThatFillsUpAtAnyPointCostsNothing) {
    SaveIntoFillingFolder(exe, exe, 4, ArchiveKib() + 16);
}

// The new archive is complete in the program folder but must be copied onto the archive's
// own (small) file system before it can replace the old one.
TEST_F(SaveFaultTest, AnArchiveFolderThatFillsUpDuringTheCopyKeepsTheOldArchive) {
    SaveIntoFillingFolder(game, exe, ArchiveKib() + 4, 2 * ArchiveKib() + 16);
}

// The program and the archive share one small file system, as in a game folder on a
// nearly full drive: the temporary archive is written beside the old one.
TEST_F(SaveFaultTest, ASharedFolderThatFillsUpKeepsTheOldArchive) {
    SaveIntoFillingFolder(game, game, ArchiveKib() + 4, 2 * ArchiveKib() + 16);
}

// --- read-only folders -----------------------------------------------------------------------

TEST_F(SaveFaultTest, AReadOnlyArchiveFolderKeepsTheOldArchive) {
    TmpfsMount m(game, 1024);
    SKIP_UNLESS_MOUNTED(m);
    ASSERT_TRUE(WriteFileBytes(archive, archiveBytes));
    ASSERT_TRUE(m.MakeReadOnly());

    std::string output;
    SaveResult result = Save(exe, &output);
    EXPECT_EQ(result, kNotSaved);
    EXPECT_EQ(output, "Writing Part.iff\n");
    ExpectOutcome(result, exe);
}

TEST_F(SaveFaultTest, AReadOnlySharedFolderCannotTakeTheTemporaryArchive) {
    TmpfsMount m(game, 1024);
    SKIP_UNLESS_MOUNTED(m);
    ASSERT_TRUE(WriteFileBytes(archive, archiveBytes));
    ASSERT_TRUE(m.MakeReadOnly());

    std::string output;
    SaveResult result = Save(game, &output);
    EXPECT_EQ(result, kNotSaved);
    EXPECT_EQ(output, "Writing Part.iff\ncant create tarvik_gb1.iff.\n");
    ExpectOutcome(result, game);
}

// --- the archive changes between load and save -----------------------------------------------

TEST_F(SaveFaultTest, AnArchiveReplacedByAFolderIsLeftAlone) {
    fs::remove(archive);
    fs::create_directory(archive);
    ASSERT_TRUE(WriteFileBytes(archive + "/keep.txt", {'k', 'e', 'e', 'p'}));

    std::string output;
    EXPECT_EQ(Save(exe, &output), kNotSaved);
    EXPECT_EQ(output, "Writing Part.iff\ntarvik_gb.iff File not found.\n");
    EXPECT_TRUE(fs::is_directory(archive));
    EXPECT_EQ(ReadFileBytes(archive + "/keep.txt"), (Bytes{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(ListDir(game), std::vector<std::string>{"tarvik_gb.iff"});
    EXPECT_TRUE(ListDir(exe).empty());
}

// No archive is made from the in-memory table alone: every other entry would be lost.
TEST_F(SaveFaultTest, ARemovedArchiveIsNotRecreated) {
    fs::remove(archive);

    std::string output;
    EXPECT_EQ(Save(exe, &output), kNotSaved);
    EXPECT_EQ(output, "Writing Part.iff\ntarvik_gb.iff File not found.\n");
    EXPECT_FALSE(fs::exists(archive));
    EXPECT_TRUE(ListDir(game).empty());
    EXPECT_TRUE(ListDir(exe).empty());
}

TEST_F(SaveFaultTest, AnArchiveCutShortSinceLoadingIsLeftAsItIs) {
    Bytes half(archiveBytes.begin(), archiveBytes.begin() + archiveBytes.size() / 2);
    ASSERT_TRUE(WriteFileBytes(archive, half));

    EXPECT_EQ(Save(exe), kNotSaved);
    EXPECT_EQ(ReadFileBytes(archive), half);
    EXPECT_TRUE(ListDir(exe).empty());
}
