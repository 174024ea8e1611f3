// What other programs make of a saved archive: Info-ZIP's unzip tests every entry, and
// Python's zipfile, which inflates with zlib as the game's reader does, reads back both
// entries an Update writes, each checked against its CRC and its size.
#include "tests/archive/ArchiveTest.h"

#include <cstdlib>

using namespace ledgrin;
using namespace ledgrin::test;

using OtherReaders = ArchiveTest;

TEST_F(OtherReaders, UnzipAndPythonReadBothEntriesOfAnUpdate) {
    // 600 descriptions (310 KB) take the path for large tables, Part's two records the other.
    store[kDescTable] = {600, 0, 13, AsTableBytes(Pattern(600 * 516, 5))};
    ASSERT_EQ(Save(kPartTable, kSaved), "Writing Part.iff\n");
    ASSERT_EQ(Save(kDescTable, kSaved), "Writing Desc.iff\n");
    EXPECT_EQ(std::system(("unzip -tqq " + archive).c_str()), 0);

    const std::string out = (dir / "out").string();
    fs::create_directories(out);
    const std::string python =
        "python3 -c \"import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
        "[open(sys.argv[2] + '/' + n, 'wb').write(z.read(n)) for n in sys.argv[3:]]\" ";
    ASSERT_EQ(std::system((python + archive + " " + out + " Part.iff Desc.iff").c_str()), 0);
    for (TableIndex t : {kPartTable, kDescTable}) {
        const TableSlot& s = store[t];
        EXPECT_TRUE(ReadFileBytes(out + "/" + EntryName(t)) ==
                    TableEntryBytes(s.RecordCount, s.HeaderWord2, s.Version, s.Records))
            << EntryName(t);
    }
}
