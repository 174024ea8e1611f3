// set and import write only the fields asked for and what the Update derives from them,
// on records whose unnamed bytes are patterned and whose derived values disagree.
#include "CliTestSupport.h"

#include "tools/cli/ArchiveFiles.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

std::string Le(std::uint32_t value, int width) {
    std::string bytes;
    for (int i = 0; i < width; ++i)
        bytes += static_cast<char>(value >> (8 * i));
    return bytes;
}

} // namespace

TEST(ExactWriteTest, OnlyAskedAndDerivedBytesChange) {
    ScratchDir dir;
    const std::string archive = dir / "tarvik_gb.iff";
    WriteDemo(archive);
    // Values the Update would normalise: Mascot bonus bytes 1 and 3 set (0x10C) and a
    // PriceCopy (0xF8) that is not the Price (0x5C); a Caddie MonthlyPrice (0xA8) that is
    // not the Price; Character StatCopy0 and 1 (0x15C, 0x15D) that are not the low bytes of
    // Power and Control (0x148, 0x14A); an Item name (0x08) with a byte behind its NUL.
    TableStore s = LoadArchive(archive).store;
    Put(s, kMascotTable, 0, 0x10C, 4, 0x07320705);
    Put(s, kMascotTable, 0, 0xF8, 2, Get(s, kMascotTable, 0, 0x5C, 4) + 1);
    Put(s, kCaddieTable, 0, 0xA8, 4, Get(s, kCaddieTable, 0, 0x5C, 4) + 7);
    Put(s, kCharacterTable, 0, 0x15C, 2, ~Get(s, kCharacterTable, 0, 0x15C, 2));
    Put(s, kItemTable, 1, 0x08 + 39, 1, 0x5A);
    ASSERT_EQ(SaveTables(s, {kMascotTable, kCaddieTable, kCharacterTable, kItemTable}, archive),
              SaveAllResult::Saved);
    const std::string pristine = ReadFileText(archive);

    const struct {
        TableIndex table;
        std::size_t index;
        std::string assignment;
        std::vector<std::pair<std::size_t, std::string>> bytes; // offset, new bytes
    } cases[] = {
        {kMascotTable, 0, "Power=201", {{0x102, Le(201, 1)}}},
        {kMascotTable, 0, "Price=70000", {{0x5C, Le(70000, 4)}, {0xF8, Le(0x1170, 2)}}},
        {kMascotTable, 0, "BonusRates=120", {{0x10C, Le(120, 4)}}},
        {kCaddieTable, 0, "Price=70000", {{0x5C, Le(70000, 4)}, {0xA8, Le(70000, 4)}}},
        {kCharacterTable, 0, "Power=300", {{0x148, Le(300, 2)}, {0x15C, Le(300 & 0xFF, 1)}}},
        {kItemTable, 1, "Price=5", {{0x5C, Le(5, 4)}}},
        {kItemTable, 1, "Name=Ace", {{0x08, std::string("Ace") + std::string(37, '\0')}}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileText(archive, pristine));
        const TableStore before = LoadArchive(archive).store;
        const std::string table = EntryName(c.table), id = IdOf(before, c.table, c.index);
        // Through set, and through import of an export with that one value changed.
        ASSERT_TRUE(WriteFileText(dir / "row.csv",
                                  "TypeID," + c.assignment.substr(0, c.assignment.find('=')) + "\r\n" + id +
                                      "," + c.assignment.substr(c.assignment.find('=') + 1) + "\r\n"));
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"set", archive, table, id, c.assignment},
              std::vector<std::string>{"import", archive, table, dir / "row.csv"}}) {
            ASSERT_TRUE(WriteFileText(archive, pristine));
            CliRun run = RunCli(command);
            ASSERT_EQ(run.status, 0) << run.err;
            const TableStore after = LoadArchive(archive).store;
            Bytes expected = before[c.table].Records;
            for (const auto& [offset, bytes] : c.bytes)
                std::memcpy(&expected[c.index * RecordSize(c.table) + offset], bytes.data(), bytes.size());
            EXPECT_TRUE(after[c.table].Records == expected)
                << command[0] << " " << table << " " << c.assignment;
        }
    }
}
