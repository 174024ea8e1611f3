// set and import write only the fields asked for and what the Update derives from them,
// and an unchanged export imports without changing a byte, on records whose unnamed bytes
// are filler and whose derived values disagree.
#include "CliTestSupport.h"

#include <array>

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

class ExactWriteTest : public CliTest {
  protected:
    // Values the Update would normalise: Mascot bonus bytes 1 and 3 set (0x10C) and a
    // PriceCopy (0xF8) that is not the Price (0x5C). Part record 5's name has no NUL.
    void SetUp() override {
        TableStore s = demo;
        Put(s, kMascotTable, 0, 0x10C, 4, 0x07320705);
        Put(s, kMascotTable, 0, 0xF8, 2, Get(s, kMascotTable, 0, 0x5C, 4) + 1);
        Write(s);
    }
};

} // namespace

TEST_F(ExactWriteTest, OnlyAskedAndDerivedBytesChange) {
    const std::string pristine = ReadFileText(archive);
    const TableStore before = Load();
    const struct {
        TableIndex table;
        std::size_t index;
        std::string column, value;
        std::vector<std::array<std::uint32_t, 3>> writes; // offset, width, value
    } cases[] = {
        {kMascotTable, 0, "Power", "201", {{0x102, 1, 201}}},
        {kMascotTable, 0, "Price", "70000", {{0x5C, 4, 70000}, {0xF8, 2, 70000}}}, // PriceCopy follows
    };
    for (const auto& c : cases) {
        const std::string table = EntryName(c.table), id = IdOf(before, c.table, c.index);
        // Through set, and through import of a file with that one value.
        ASSERT_TRUE(
            WriteFileText(dir / "row.csv", "TypeID," + c.column + "\r\n" + id + "," + c.value + "\r\n"));
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"set", archive, table, id, c.column + "=" + c.value, "--no-backup"},
              std::vector<std::string>{"import", archive, table, dir / "row.csv", "--no-backup"}}) {
            ASSERT_TRUE(WriteFileText(archive, pristine));
            CliRun run = RunCli(command);
            ASSERT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.out,
                      table + ": 1 record changed; Desc.iff: 0 descriptions rewritten, 0 appended.\n");
            TableStore expected = before;
            for (const auto& [offset, width, value] : c.writes)
                Put(expected, c.table, c.index, offset, width, value);
            const TableStore after = Load();
            for (TableIndex t = 0; t < kTableCount; ++t)
                EXPECT_TRUE(SameSlot(after[t], expected[t]))
                    << command[0] << " " << c.column << ": " << EntryName(t);
        }
    }
    // The archive, its lock file and row.csv: no backup, no temporary file.
    EXPECT_EQ(Snapshot(dir.path()).size(), 3u);
}

TEST_F(ExactWriteTest, UnchangedExportsImportWithoutChangingAByte) {
    // CSV through standard output, JSON into a file.
    const std::string before = ReadFileText(archive);
    for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t) {
        CliRun csv = RunCli({"export", archive, EntryName(t)});
        ASSERT_TRUE(WriteFileText(dir / "rows.csv", csv.out));
        ASSERT_EQ(csv.status + RunCli({"export", archive, EntryName(t), "-o", dir / "rows.json"}).status, 0);
        for (const char* file : {"rows.csv", "rows.json"}) {
            CliRun run = RunCli({"import", archive, EntryName(t), dir / file});
            EXPECT_EQ(run.status, 0) << EntryName(t) << " " << file << ": " << run.err;
            EXPECT_EQ(run.out, "No changes.\n") << EntryName(t) << " " << file;
        }
    }
    EXPECT_TRUE(ReadFileText(archive) == before);
}
