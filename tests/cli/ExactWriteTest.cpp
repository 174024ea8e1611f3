// set and import write only the fields asked for and what the Update derives from them,
// and an unchanged export imports without changing a byte, on records whose unnamed bytes
// are filler and whose derived values disagree.
#include "CliTestSupport.h"

#include <cstring>

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

std::string Le(std::uint32_t value, int width) {
    std::string bytes;
    for (int i = 0; i < width; ++i)
        bytes += static_cast<char>(value >> (8 * i));
    return bytes;
}

class ExactWriteTest : public CliTest {
  protected:
    // Values the Update would normalise: Mascot bonus bytes 1 and 3 set (0x10C) and a
    // PriceCopy (0xF8) that is not the Price (0x5C); a Caddie MonthlyPrice (0xA8) that is
    // not the Price; Character StatCopy0 and 1 (0x15C, 0x15D) that are not the low bytes of
    // Power and Control (0x148, 0x14A); an Item name (0x08) with a byte behind its NUL.
    // Part record 5's name has no NUL.
    void SetUp() override {
        TableStore s = demo;
        Put(s, kMascotTable, 0, 0x10C, 4, 0x07320705);
        Put(s, kMascotTable, 0, 0xF8, 2, Get(s, kMascotTable, 0, 0x5C, 4) + 1);
        Put(s, kCaddieTable, 0, 0xA8, 4, Get(s, kCaddieTable, 0, 0x5C, 4) + 7);
        Put(s, kCharacterTable, 0, 0x15C, 2, ~Get(s, kCharacterTable, 0, 0x15C, 2));
        Put(s, kItemTable, 1, 0x08 + 39, 1, 0x5A);
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
        std::vector<std::pair<std::size_t, std::string>> bytes; // offset, new bytes
    } cases[] = {
        {kMascotTable, 0, "Power", "201", {{0x102, Le(201, 1)}}},
        {kMascotTable, 0, "Price", "70000", {{0x5C, Le(70000, 4)}, {0xF8, Le(0x1170, 2)}}},
        {kMascotTable, 0, "BonusRates", "120", {{0x10C, Le(120, 4)}}},
        {kCaddieTable, 0, "Price", "70000", {{0x5C, Le(70000, 4)}, {0xA8, Le(70000, 4)}}},
        {kCharacterTable, 0, "Power", "300", {{0x148, Le(300, 2)}, {0x15C, Le(300 & 0xFF, 1)}}},
        {kItemTable, 1, "Price", "5", {{0x5C, Le(5, 4)}}},
        {kItemTable, 1, "Name", "Ace", {{0x08, std::string("Ace") + std::string(37, '\0')}}},
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
            const TableStore after = Load();
            for (TableIndex t = 0; t < kTableCount; ++t) {
                TableSlot expected = before[t];
                for (const auto& [offset, bytes] : c.bytes)
                    if (t == c.table)
                        std::memcpy(&expected.Records[c.index * RecordSize(t) + offset], bytes.data(),
                                    bytes.size());
                EXPECT_TRUE(SameSlot(after[t], expected))
                    << command[0] << " " << c.column << ": " << EntryName(t);
            }
        }
    }
    EXPECT_EQ(Files(), (std::vector<std::string>{"row.csv", "tarvik_gb.iff"}));
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
    EXPECT_EQ(Files(), (std::vector<std::string>{"rows.csv", "rows.json", "tarvik_gb.iff"}));
}
