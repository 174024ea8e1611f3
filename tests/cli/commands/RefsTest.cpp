// refs: an item, its description, the sets listing it and its members.
#include "tests/cli/CliTestSupport.h"

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

using RefsTest = CliTest;

} // namespace

TEST_F(RefsTest, RefsOfASetNameTheItemItsDescriptionTheSetsListingItAndItsMembers) {
    // SetItem record 8 (empty in the demo) lists itself (quantity 5) and a TypeID no item
    // holds (quantity 0, shown as 1): MemberCount at 0xA8, TypeIDs from 0xAC, u16
    // quantities from 0xD4.
    TableStore s = demo;
    const std::string id = IdOf(s, kSetItemTable, 8);
    Put(s, kSetItemTable, 8, 0xA8, 4, 2);
    Put(s, kSetItemTable, 8, 0xAC, 4, std::stoul(id));
    Put(s, kSetItemTable, 8, 0xB0, 4, 0x0BADF00D);
    Put(s, kSetItemTable, 8, 0xD4, 4, 5);
    Write(s);
    ASSERT_EQ(RunCli({"set", archive, "SetItem", id, "Description=A gift.", "--no-backup"}).status, 0);
    const std::string item = "SetItem.iff record 8 \"" +
                             std::string(reinterpret_cast<const char*>(s.Record(kSetItemTable, 8) + 8)) +
                             "\"";
    CliRun run = RunCli({"refs", archive, id});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("TypeID " + id + ":\n  " + item + "\nDescriptions:\n  Desc.iff record ", 0), 0u)
        << run.out;
    EXPECT_TRUE(Contains(run.out, ": \"A gift.\"\nMember of sets:\n  " + item + ", TypeID " + id +
                                      ", member 1 (quantity 5)\nSet members:\n  1. TypeID " + id + ", " +
                                      item +
                                      " (quantity 5)\n  2. TypeID 195948557: no item holds this "
                                      "TypeID (quantity 1)\n"))
        << run.out;
}
