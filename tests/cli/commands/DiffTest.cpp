// diff: the fields a change names, and nothing between equal archives.
#include "tests/cli/CliTestSupport.h"

#include <cstring>

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

using DiffTest = CliTest;

} // namespace

TEST_F(DiffTest, DiffOfAnArchiveWithItselfIsEmptyAndAfterASetNamesThatField) {
    CliRun same = RunCli({"diff", archive, archive});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");

    fs::copy_file(archive, dir / "before.iff");
    const std::uint32_t spin = Get(demo, kPartTable, 4, 0x1D2, 2); // Part Spin: u16 at 0x1D2
    const std::string newSpin = std::to_string(spin + 1), id = IdOf(demo, kPartTable, 4);
    ASSERT_EQ(RunCli({"set", archive, "Part", id, "Spin=" + newSpin}).status, 0);
    const char* name = reinterpret_cast<const char*>(demo.Record(kPartTable, 4) + 8);
    CliRun changed = RunCli({"diff", dir / "before.iff", archive});
    EXPECT_EQ(changed.status, 0);
    EXPECT_EQ(changed.out, "Part.iff changed: record 4, TypeID " + id + " \"" + name +
                               "\"\n  Spin: " + std::to_string(spin) + " -> " + newSpin + "\n");

    // A read-only field changed by another tool is named too (Card Volume: u16 at 0x15A).
    TableStore edited = Load();
    const std::uint32_t volume = Get(edited, kCardTable, 2, 0x15A, 2);
    edited.Record(kCardTable, 2)[0x15A] ^= 0x01;
    Write(edited);
    EXPECT_TRUE(Contains(RunCli({"diff", dir / "before.iff", archive, "Card"}).out,
                         "  Volume: " + std::to_string(volume) + " -> " + std::to_string(volume ^ 1) + "\n"));
}

// Every kind of line a changed table gives: bytes no field names (a short run shown, a
// long one counted), a name differing only after its NUL, a record that moved and
// changed, and a record of each archive only. Item records: unnamed bytes at 0x31..0x5B,
// 0x64..0x67 and 0x6A..0xDF.
TEST_F(DiffTest, NamesUnnamedByteRunsMovedRecordsAndRecordsOfOneArchiveOnly) {
    TableStore a = demo;
    ASSERT_GE(a[kItemTable].RecordCount, 5u);
    const auto bytes = [](TableStore& s, std::size_t index, std::size_t offset,
                          std::vector<std::uint8_t> values) {
        std::copy(values.begin(), values.end(), s.Record(kItemTable, index) + offset);
    };
    bytes(a, 1, 0x40, {0x01, 0x02, 0x03});
    bytes(a, 1, 0x64, {0x11, 0x33, 0x44});
    bytes(a, 1, 0x70, std::vector<std::uint8_t>(18, 0x00));
    const char* name1 = reinterpret_cast<const char*>(a.Record(kItemTable, 1) + 8);
    ASSERT_LT(std::strlen(name1), 39u);
    a.Record(kItemTable, 1)[0x2F] = 0;
    Write(a);
    fs::copy_file(archive, dir / "a.iff");

    TableStore b = a;
    bytes(b, 1, 0x40, {0x0a, 0x0b, 0x0c});
    bytes(b, 1, 0x64, {0x22, 0x33, 0x55});
    bytes(b, 1, 0x70, std::vector<std::uint8_t>(18, 0xff));
    b.Record(kItemTable, 1)[0x2F] = 'x';
    const std::size_t size = RecordSize(kItemTable);
    std::copy_n(a.Record(kItemTable, 2), size, b.Record(kItemTable, 3));
    std::copy_n(a.Record(kItemTable, 3), size, b.Record(kItemTable, 2));
    const std::uint32_t price = Get(a, kItemTable, 2, 0x5C, 4);
    Put(b, kItemTable, 3, 0x5C, 4, price + 1);
    Put(b, kItemTable, 4, 0x04, 4, 0x7FFFFFF0u);
    Write(b);

    const auto heading = [&](std::size_t index) {
        return "record " + std::to_string(index) + ", TypeID " + IdOf(a, kItemTable, index) + " \"" +
               reinterpret_cast<const char*>(a.Record(kItemTable, index) + 8) + "\"";
    };
    CliRun run = RunCli({"diff", dir / "a.iff", archive, "Item"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Item.iff changed: " + heading(1) +
                           "\n"
                           "  Name: bytes after the NUL differ\n"
                           "  bytes 0x040..0x042: 01 02 03 -> 0a 0b 0c\n"
                           "  bytes 0x064..0x064: 11 -> 22\n"
                           "  bytes 0x066..0x066: 44 -> 55\n"
                           "  bytes 0x070..0x081 (18 bytes) differ\n"
                           "Item.iff changed: " +
                           heading(2) +
                           " (record 3 in the second archive)\n  Price: " + std::to_string(price) + " -> " +
                           std::to_string(price + 1) + "\nItem.iff removed: " + heading(4) +
                           "\nItem.iff added: record 4, TypeID 2147483632 \"" +
                           reinterpret_cast<const char*>(a.Record(kItemTable, 4) + 8) + "\"\n");
}
