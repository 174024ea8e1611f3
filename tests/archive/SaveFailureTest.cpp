// Saves that fail for reasons any file system can give: the result 1, the exact lines, and
// not one file changed, created or removed in the program folder or the game folder.
// Failures that need a kernel's help (full or read-only file systems, protected files, a
// killed save) are in tests/faults.
#include "tests/archive/ArchiveTest.h"

#include <algorithm>
#include <functional>

using namespace ledgrin;
using namespace ledgrin::test;

using SaveFailure = ArchiveTest;

TEST_F(SaveFailure, EveryFailureLeavesEveryFileAsItWas) {
    const std::string kNotFound = "Writing Part.iff\ntarvik_gb.iff File not found.\n";
    const std::string kNoTemporary = "Writing Part.iff\ncant create tarvik_gb1.iff.\n";
    const struct {
        const char* what;
        std::function<void()> arrange;
        std::string output;
    } cases[] = {
        {"archive removed since loading", [this] { fs::remove(archive); }, kNotFound},
        {"a stored entry whose CRC fails while it is copied",
         [this] {
             Bytes file = ReadFileBytes(archive);
             std::search(file.begin(), file.end(), notes.begin(), notes.end())[1500] ^= 0x40;
             ASSERT_TRUE(WriteFileBytes(archive, file));
         },
         "Writing Part.iff\n"},
        {"a folder named like the temporary archive",
         [this] { fs::create_directory(exe / "tarvik_gb1.iff"); }, kNoTemporary},
        // Ledgrin.exe tarvik_gb1.iff, started in its own folder.
        {"the archive is named like the temporary archive",
         [this] {
             archive = (exe / "tarvik_gb1.iff").string();
             WriteArchive({Entry("Part.iff", TableEntryBytes(0, 0, 13, Bytes{}))});
         },
         kNoTemporary},
        {"a slot whose buffer does not hold its count", [this] { store[kPartTable].RecordCount = 3; },
         "Writing Part.iff\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(exe);
        fs::remove_all(game);
        SetUp();
        archive = (game / "tarvik_gb.iff").string();
        c.arrange();
        const std::map<std::string, Bytes> before = Snapshot(dir);
        EXPECT_EQ(Save(kPartTable, kNotSaved), c.output);
        EXPECT_EQ(Snapshot(dir), before);
    }
}
