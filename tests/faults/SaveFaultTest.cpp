// Saving while the file system fails underneath: folders that fill up at every point of
// the rewrite, read-only folders and protected files. After every case the archive is
// whole and holds the old or the new table; whenever the save reports failure every file
// below the scratch folder is as it was, and no temporary archive is ever left.
#include "tests/faults/FaultSupport.h"

#include <cstdlib>

using namespace ledgrin;
using namespace ledgrin::faults;

namespace {

class SaveFaultTest : public FaultTest {
  protected:
    TableStore edited = original;
    Bytes archiveBytes;

    void SetUp() override {
        FaultTest::SetUp();
        archiveBytes = ReadFileBytes(archive);
        Put(edited[kPartTable].Records, 3 * 544 + 0x5C, 4, 0x00C0FFEE); // a Part record's price
    }
    std::size_t ArchiveKib() const { return archiveBytes.size() / 1024 + 1; }

    void ExpectNotSaved(const std::string& output, const fs::path& exeDirectory) {
        const auto before = Snapshot(scratch.path());
        std::string printed;
        EXPECT_EQ(Save(edited, kPartTable, exeDirectory, &printed), kNotSaved);
        EXPECT_EQ(printed, output);
        EXPECT_EQ(Snapshot(scratch.path()), before);
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
            const auto before = Snapshot(scratch.path());
            const SaveResult result = Save(edited, kPartTable, exeDirectory);
            EXPECT_EQ(ExpectOldOrNew(edited, kPartTable), result == kSaved);
            const auto after = Snapshot(scratch.path());
            if (result != kSaved) {
                EXPECT_EQ(after, before);
            }
            EXPECT_EQ(after.size(), before.size()) << "a file was left behind or lost";
            (result == kSaved ? saved : failed)++;
        }
        EXPECT_GT(failed, 0);
        EXPECT_GT(saved, 0);
    }
};

} // namespace

TEST_F(SaveFaultTest, AFolderThatFillsUpAtAnyPointOfTheRewriteCostsNothing) {
    const std::size_t kib = ArchiveKib();
    // The temporary archive in a small file system beside the program; the new archive,
    // complete in the program folder, copied onto the archive's own small file system; and
    // both on one small file system, as in a game folder on a nearly full drive.
    SaveIntoFillingFolder(exe, exe, 4, kib + 16);
    SaveIntoFillingFolder(game, exe, kib + 4, 2 * kib + 16);
    SaveIntoFillingFolder(game, game, kib + 4, 2 * kib + 16);
}

TEST_F(SaveFaultTest, ReadOnlyFoldersKeepEverythingAsItWas) {
    for (bool programFolder : {true, false}) {
        SCOPED_TRACE(programFolder ? "program folder" : "archive folder");
        TmpfsMount m(programFolder ? exe : game, 1024);
        SKIP_UNLESS_MOUNTED(m);
        ASSERT_TRUE(WriteFileBytes(archive, archiveBytes));
        ASSERT_TRUE(m.MakeReadOnly());
        ExpectNotSaved(
            programFolder ? "Writing Part.iff\ncant create tarvik_gb1.iff.\n" : "Writing Part.iff\n", exe);
    }
}

// Root ignores file modes, but not the immutable attribute (chattr +i): neither a
// protected old temporary archive nor a protected archive is replaced.
TEST_F(SaveFaultTest, ProtectedFilesAreNotReplaced) {
    const std::string temporary = (exe / "tarvik_gb1.iff").string();
    ASSERT_TRUE(WriteFileText(temporary, "old"));
    for (const std::string& path : {temporary, archive}) {
        if (std::system(("chattr +i '" + path + "' 2>/dev/null").c_str()) != 0)
            GTEST_SKIP() << "cannot make a file immutable (needs root and chattr)";
        ExpectNotSaved(
            path == archive ? "Writing Part.iff\n" : "Writing Part.iff\ncant create tarvik_gb1.iff.\n", exe);
        EXPECT_EQ(std::system(("chattr -i '" + path + "'").c_str()), 0);
        fs::remove(temporary); // the second round starts without it
    }
}

TEST_F(SaveFaultTest, TheArchiveKeepsItsPermissionsOnOneOrTwoFileSystems) {
    struct stat st;
    for (mode_t mode : {0604, 0640}) {
        std::optional<TmpfsMount> m;
        if (mode == 0640) { // the temporary archive on another file system
            m.emplace(exe, 8192);
            SKIP_UNLESS_MOUNTED(*m);
        }
        ASSERT_EQ(chmod(archive.c_str(), mode), 0);
        Put(edited[kPartTable].Records, 0x5C, 4, mode);
        EXPECT_EQ(Save(edited, kPartTable, exe), kSaved);
        EXPECT_TRUE(ExpectOldOrNew(edited, kPartTable));
        EXPECT_TRUE(stat(archive.c_str(), &st) == 0 && (st.st_mode & 07777) == mode)
            << std::oct << st.st_mode;
        EXPECT_TRUE(fs::is_empty(exe));
    }
}
