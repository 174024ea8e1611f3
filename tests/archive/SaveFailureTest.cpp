// After every failure: the result 1, the exact lines, and not one file changed, created
// or removed in the program folder or the game folder.
#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::test;

using SaveFailure = ArchiveTest;

TEST_F(SaveFailure, AnArchiveRemovedAfterLoadingIsReportedAndNotRecreated) {
    Load(kPartTable, kLoaded);
    fs::remove(archive);
    ExpectPartNotSaved("Writing Part.iff\ntarvik_gb.iff File not found.\n");
}

TEST_F(SaveFailure, ACorruptCentralDirectoryIsReportedAsUnopenable) {
    Bytes file = ReadFileBytes(archive);
    const Bytes central = {'P', 'K', 1, 2};
    auto at = std::search(file.begin(), file.end(), central.begin(), central.end());
    ASSERT_NE(at, file.end());
    at[3] = 9; // the first central record no longer starts with its signature
    ASSERT_TRUE(WriteFileBytes(archive, file));
    ExpectPartNotSaved("Writing Part.iff\ntarvik_gb.iff File not found.\n");
}

TEST_F(SaveFailure, AFolderNamedLikeTheTemporaryArchiveIsLeftAlone) {
    fs::create_directory(exe / "tarvik_gb1.iff");
    ExpectPartNotSaved("Writing Part.iff\ncant create tarvik_gb1.iff.\n");
}

TEST_F(SaveFailure, AnArchiveNamedLikeTheTemporaryArchiveIsNotWrittenOverItself) {
    // Ledgrin.exe tarvik_gb1.iff, started in its own folder.
    archive = (exe / "tarvik_gb1.iff").string();
    WriteArchive({Entry("Part.iff", {0x00, 0x00, 0x00, 0x00, 0x0D, 0x00, 0x00, 0x00})});
    ExpectPartNotSaved("Writing Part.iff\ncant create tarvik_gb1.iff.\n");
}

TEST_F(SaveFailure, AnEntryThatCannotBeCopiedLeavesTheOldArchive) {
    // notes.bin is stored; one changed byte makes its CRC fail while it is copied.
    Bytes file = ReadFileBytes(archive);
    auto at = std::search(file.begin(), file.end(), notes.begin(), notes.end());
    ASSERT_NE(at, file.end());
    at[1500] ^= 0x40;
    ASSERT_TRUE(WriteFileBytes(archive, file));
    ExpectPartNotSaved("Writing Part.iff\n");
}

TEST_F(SaveFailure, ASlotWhoseBufferDoesNotMatchItsCountIsNotWritten) {
    store[kPartTable].RecordCount = 3; // the buffer holds two records
    ExpectPartNotSaved("Writing Part.iff\n");
}
