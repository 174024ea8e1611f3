// diff: the fields a change names, and nothing between equal archives.
#include "tests/cli/CliTestSupport.h"

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
