// set and import write only the fields asked for and what the Update derives from them,
// and an unchanged export imports without changing a byte, on records whose unnamed bytes
// are filler and whose derived values disagree.
#include "tests/cli/CliTestSupport.h"

#include <array>

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

class ImportTest : public CliTest {
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

TEST_F(ImportTest, OnlyAskedAndDerivedBytesChange) {
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

TEST_F(ImportTest, UnchangedExportsImportWithoutChangingAByte) {
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

TEST_F(ImportTest, EveryRejectedFileLeavesTheArchiveByteIdentical) {
    const std::string part = IdOf(demo, kPartTable, 3), mascot = IdOf(demo, kMascotTable, 3);
    // A file of one row: the record's TypeID and one column.
    auto file = [](const std::string& id, const std::string& column, const std::string& value) {
        return "TypeID," + column + "\r\n" + id + "," + value + "\r\n";
    };
    const std::string row = "[{\"TypeID\": " + part + ", \"Price\": 1";
    const struct {
        const char* table;
        std::string file, error;
        const char* name = "bad.csv";
    } cases[] = {
        // The valid row on line 2 is not written either.
        {"Part", file(IdOf(demo, kPartTable, 0), "Price", "1") + part + ",12x\r\n",
         "bad.csv:3: Price: \"12x\" is not an unsigned number\n"},
        {"Mascot", file(mascot, "Power", "256"), "bad.csv:2: Power: 256 does not fit its 8-bit field"},
        {"Part", file(part, "Enabled", "0"), "bad.csv:2: Enabled is read-only"},
        {"Part", file(part, "Name", std::string(40, 'N')), "bad.csv:2: Name: 40 bytes do not fit"},
        {"Part", file(part, "Prices", "1"), "bad.csv:1: unknown column \"Prices\" for Part.iff\n"},
        {"Part", file("123", "Price", "1"), "bad.csv:2: TypeID 123 is held by no record of Part.iff\n"},
        {"Part", file(part, "Price", "\"1"), "bad.csv:2: a quoted field starting on line 2 has no closing"},
        // A header is checked without rows, which an import of it would silently skip.
        {"Part", "TypeID,Prices\r\n", "bad.csv:1: unknown column \"Prices\" for Part.iff\n"},
        {"Part", "TypeID,Price,Price\r\n", "bad.csv:1: column Price is given twice\n"},
        {"Part", row + ", \"Price\": 2}]",
         "bad.json:1:" + std::to_string(row.size() + 3) +
             ": the member \"Price\" is given twice in one object\n",
         "bad.json"},
        {"Part", row + ", \"Name\": \"a\x01\"}]",
         "bad.json:1:" + std::to_string(row.size() + 13) +
             ": a control byte inside a string must be escaped\n",
         "bad.json"},
    };
    const std::string before = ReadFileText(archive);
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileText(dir / c.name, c.file));
        CliRun run = RunCli({"import", archive, c.table, dir / c.name});
        EXPECT_EQ(run.status, 1) << c.error;
        EXPECT_TRUE(Contains(run.err, c.error) && Contains(run.err, "ledgrin-cli: nothing was written\n"))
            << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    EXPECT_TRUE(ReadFileText(archive) == before);
}

// A dry run lists each changed record under its heading with the file's line: the fields
// the row changes and those derived from them. The rows name their columns in other orders.
TEST_F(ImportTest, ADryRunListsEachRecordsChangedFieldsUnderItsLine) {
    const TableStore before = Load();
    const std::string id0 = IdOf(before, kMascotTable, 0), id1 = IdOf(before, kMascotTable, 1);
    const auto name = [&](std::size_t index) {
        return std::string(reinterpret_cast<const char*>(before.Record(kMascotTable, index) + 8));
    };
    ASSERT_TRUE(WriteFileText(dir / "rows.json", "[\n{\"TypeID\": " + id0 +
                                                     ", \"Price\": 70000},\n{\"Name\": " +
                                                     "\"New Name\", \"TypeID\": " + id1 + "}\n]\n"));
    CliRun run = RunCli({"import", archive, "Mascot", dir / "rows.json", "--dry-run"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Mascot.iff record 0, TypeID " + id0 + " \"" + name(0) +
                  "\" (line 2):\n  Price: " + std::to_string(Get(before, kMascotTable, 0, 0x5C, 4)) +
                  " -> 70000\n  PriceCopy: " + std::to_string(Get(before, kMascotTable, 0, 0xF8, 2)) +
                  " -> " + std::to_string(70000 & 0xFFFF) + "\nMascot.iff record 1, TypeID " + id1 + " \"" +
                  name(1) + "\" (line 3):\n  Name: \"" + name(1) +
                  "\" -> \"New Name\"\n"
                  "Mascot.iff: 2 records to change; Desc.iff: 0 descriptions to rewrite, 0 to append.\n"
                  "Dry run: nothing written.\n");
}
