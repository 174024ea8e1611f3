// refs: an item with the sets that list it, a set with its members (one of them held by
// no item), a TypeID only a description holds, and one nothing holds.
#include "CliTestSupport.h"

#include "tools/cli/ArchiveFiles.h"

#include <gtest/gtest.h>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

TEST(RefsTest, ListsItemsSetsAndMembers) {
    ScratchDir dir;
    const std::string archive = dir / "tarvik_gb.iff";
    WriteDemo(archive);
    // SetItem record 8 (empty in the demo): MemberCount 0xA8, TypeIDs from 0xAC, quantities
    // (u16) from 0xD4. Member 1 is Ball record 1, member 2 a TypeID no item holds.
    TableStore s = LoadArchive(archive).store;
    const std::uint32_t ball = Get(s, kBallTable, 1, 4, 4), set = Get(s, kSetItemTable, 8, 4, 4);
    Put(s, kSetItemTable, 8, 0xA8, 4, 2);
    Put(s, kSetItemTable, 8, 0xAC, 4, ball);
    Put(s, kSetItemTable, 8, 0xB0, 4, 0x0BADF00D);
    Put(s, kSetItemTable, 8, 0xD4, 4, 0x00000005); // quantities 5 and 0 (shown as 1)
    ASSERT_EQ(SaveTables(s, {kSetItemTable}, archive), SaveAllResult::Saved);
    const std::string ballName(reinterpret_cast<const char*>(s.Record(kBallTable, 1) + 8));
    const std::string setName(reinterpret_cast<const char*>(s.Record(kSetItemTable, 8) + 8));
    const std::string descOnly = std::to_string(Get(s, kDescTable, s[kDescTable].RecordCount - 1, 0, 4));

    const struct {
        std::string typeId;
        int status;
        std::string part; // of standard output, or of standard error when the status is 1
    } cases[] = {
        {std::to_string(ball), 0,
         "  SetItem.iff record 8 \"" + setName + "\", TypeID " + std::to_string(set) +
             ", member 1 (quantity 5)\n"},
        {std::to_string(set), 0,
         "Set members:\n  1. TypeID " + std::to_string(ball) + ", Ball.iff record 1 \"" + ballName +
             "\" (quantity 5)\n  2. TypeID 195948557: no item holds this TypeID (quantity 1)\n"},
        {descOnly, 0,
         "TypeID " + descOnly + ":\n  no item holds this TypeID\nDescriptions:\n  Desc.iff record "},
        {"195948557", 1, "no item and no description holds TypeID 195948557\n"},
    };
    for (const auto& c : cases) {
        CliRun run = RunCli({"refs", archive, c.typeId});
        EXPECT_EQ(run.status, c.status) << c.typeId;
        const std::string& text = c.status == 0 ? run.out : run.err;
        EXPECT_NE(text.find(c.part), std::string::npos) << text;
    }
}
