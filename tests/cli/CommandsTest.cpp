// The commands end to end, in-process, on the demo archive: what the user reads, the exit
// codes, and refusals after which the archive is byte-identical.
#include "CliTestSupport.h"

#include <functional>

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

using CommandsTest = CliTest;
using Names = std::vector<std::string>;

} // namespace

TEST_F(CommandsTest, UsageErrorsExitWithTwoAndEachCommandHasItsHelp) {
    const std::string before = ReadFileText(archive);
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"frobnicate"},
        {"export", archive},
        {"export", archive, "Parts"},
        {"export", archive, "Part", "--format", "xml"},
        {"import", archive, "Desc", dir / "x.csv"},
        {"set", archive, "Part", "1", "Price"},
    };
    for (const auto& args : lines) {
        CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args.back());
        EXPECT_TRUE(run.out.empty() && Contains(run.err, "Usage: ledgrin-cli")) << run.err;
    }
    EXPECT_TRUE(ReadFileText(archive) == before);
    for (const std::string command :
         {"tables", "export", "import", "set", "verify", "diff", "refs", "apply"}) {
        CliRun one = RunCli({command, "--help"});
        EXPECT_EQ(one.status, 0);
        EXPECT_EQ(one.out.rfind("Usage: ledgrin-cli " + command + " ", 0), 0u) << one.out;
    }
}

TEST_F(CommandsTest, VerifyAndEveryCommandSayWhyATableOrTheArchiveCannotBeRead) {
    CliRun good = RunCli({"verify", archive});
    EXPECT_EQ(good.status, 0);
    EXPECT_TRUE(Contains(good.out, "Tables: 14 loaded, 0 damaged\n")) << good.out;
    EXPECT_TRUE(Contains(good.out, "Names without a NUL (40 bytes): 1\n  Part.iff record 5,")) << good.out;

    // Card.iff (360-byte records) cut to half a record, or of version 0 (the u32 at 4):
    // tables lists the first as damaged, the second with its counts.
    const struct {
        std::function<void(Bytes&)> damage;
        std::string why, row;
    } cases[] = {
        {[](Bytes& b) { b.resize(8 + 360 / 2); },
         "Card.iff: the header promises 16 records of 360 bytes (5,768 bytes with the header) but the entry "
         "holds 188",
         "Card.iff        missing or damaged: the header promises 16 records"},
        {[](Bytes& b) { b[4] = 0; }, "Card.iff: version 0, not 13", "Card.iff             16         360"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteDemoTables(archive, demo, kCardTable, c.damage));
        for (const std::vector<std::string>& args : {std::vector<std::string>{"tables", archive},
                                                     {"verify", archive},
                                                     {"export", archive, "Card"},
                                                     {"diff", archive, archive},
                                                     {"refs", archive, "1"}}) {
            CliRun run = RunCli(args);
            EXPECT_EQ(run.status, 1) << args[0] << " " << c.why;
            EXPECT_TRUE(Contains(run.err, "ledgrin-cli: " + archive + ": " + c.why + "\n")) << run.err;
        }
        const std::string tables = RunCli({"tables", archive}).out;
        EXPECT_TRUE(Contains(tables, "Part.iff             40         544      0x1234      13      21768\n"));
        EXPECT_TRUE(Contains(tables, c.row)) << tables;
        EXPECT_EQ(RunCli({"export", archive, "Part"}).status, 0);
    }
    ASSERT_TRUE(WriteFileText(archive, "not a zip"));
    for (const std::string& path : {archive, dir / "nothing.iff"}) {
        CliRun run = RunCli({"tables", path});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.empty() && Contains(run.err, "ledgrin-cli: cannot open " + path + ": "))
            << run.err;
    }
    EXPECT_TRUE(Contains(RunCli({"verify", archive}).err, ": Not a zip archive\n"));
}

TEST_F(CommandsTest, EveryRejectedFileLeavesTheArchiveByteIdentical) {
    const std::string part = IdOf(demo, kPartTable, 3), mascot = IdOf(demo, kMascotTable, 3);
    // A file of one row: the record's TypeID and one column.
    auto file = [](const std::string& id, const std::string& column, const std::string& value) {
        return "TypeID," + column + "\r\n" + id + "," + value + "\r\n";
    };
    // ShopFlags (0x68) with bit 2 flipped: bits 2 to 4 are kept by the Update.
    const std::string shop = std::to_string(Get(demo, kPartTable, 3, 0x68, 1) ^ 0x04);
    const struct {
        const char* table;
        std::string file, error;
    } cases[] = {
        // The valid row on line 2 is not written either.
        {"Part", file(IdOf(demo, kPartTable, 0), "Price", "1") + part + ",12x\r\n",
         "bad.csv:3: Price: \"12x\" is not an unsigned number\n"},
        {"Part", file(part, "Price", "4294967296"), "bad.csv:2: Price: 4294967296 does not fit its 32-bit"},
        {"Mascot", file(mascot, "Power", "256"), "bad.csv:2: Power: 256 does not fit its 8-bit field"},
        {"Part", file(part, "Enabled", "0"), "bad.csv:2: Enabled is read-only"},
        {"Part", file(part, "CharacterLabel", "Nobody"), "bad.csv:2: CharacterLabel is read-only"},
        {"Part", file(part, "ShopFlags", shop), "bits 2 to 4"},
        {"Part", file(part, "Level", "17"), "rank index from 0 to 16"},
        {"Part", file(part, "Name", std::string(40, 'N')), "bad.csv:2: Name: 40 bytes do not fit"},
        {"Part", file(part, "Description", std::string(513, 'd')), "Description: 513 bytes do not fit"},
        {"Part", file(part, "Prices", "1"), "bad.csv:2: unknown column \"Prices\" for Part.iff\n"},
        {"Mascot", file(mascot, "Price,PriceCopy", "500,7"), "bad.csv:2: PriceCopy cannot become 7"},
        {"Part", file(part, "Price", "1") + part + ",2\r\n",
         "bad.csv:3: TypeID " + part + " (record 3) is given again; first on line 2\n"},
        {"Part", file("123", "Price", "1"), "bad.csv:2: TypeID 123 is held by no record of Part.iff\n"},
        {"Part", "Price\r\n1\r\n", "bad.csv:2: the row has no TypeID\n"},
        {"Part", file(part, "Price", "\"1"), "bad.csv:2: a quoted field starting on line 2 has no closing"},
    };
    const std::string before = ReadFileText(archive);
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileText(dir / "bad.csv", c.file));
        CliRun run = RunCli({"import", archive, c.table, dir / "bad.csv"});
        EXPECT_EQ(run.status, 1) << c.error;
        EXPECT_TRUE(Contains(run.err, c.error) && Contains(run.err, "ledgrin-cli: nothing was written\n"))
            << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    EXPECT_TRUE(ReadFileText(archive) == before);
}

TEST_F(CommandsTest, SetShowsADryRunThenWritesTheRecordAndAppendsItsDescription) {
    const std::string id = IdOf(demo, kSkinTable, 2); // record 2 has no description
    std::vector<std::string> set = {
        "set", archive, "skin", id, "Price=70000", "--no-backup", "Description=Brand new", "--dry-run"};
    const std::string before = ReadFileText(archive);
    CliRun run = RunCli(set);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(
        Contains(run.out, "  Price: " + std::to_string(Get(demo, kSkinTable, 2, 0x5C, 4)) + " -> 70000\n"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "Dry run: nothing written.")) << run.out;
    EXPECT_TRUE(ReadFileText(archive) == before);

    set.pop_back();
    run = RunCli(set);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Skin.iff: 1 record changed; Desc.iff: 0 descriptions rewritten, 1 appended.\n");
    const TableStore after = Load();
    EXPECT_EQ(Get(after, kSkinTable, 2, 0x5C, 4), 70000u);
    // The new last Desc record: the TypeID, then the text.
    const std::size_t last = demo[kDescTable].RecordCount;
    ASSERT_EQ(after[kDescTable].RecordCount, last + 1);
    EXPECT_EQ(std::to_string(Get(after, kDescTable, last, 0, 4)), id);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(after.Record(kDescTable, last) + 4)), "Brand new");
    EXPECT_EQ(Files(), (Names{"tarvik_gb.iff"}));
}

TEST_F(CommandsTest, DiffOfAnArchiveWithItselfIsEmptyAndAfterASetNamesThatField) {
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
    EXPECT_EQ(RunCli({"diff", dir / "before.iff", archive, "Item"}).out, "");

    // A read-only field changed by another tool is named too (Card Volume: u16 at 0x15A).
    TableStore edited = Load();
    const std::uint32_t volume = Get(edited, kCardTable, 2, 0x15A, 2);
    edited.Record(kCardTable, 2)[0x15A] ^= 0x01;
    Write(edited);
    EXPECT_TRUE(Contains(RunCli({"diff", dir / "before.iff", archive, "Card"}).out,
                         "  Volume: " + std::to_string(volume) + " -> " + std::to_string(volume ^ 1) + "\n"));
}

// refs: an item with the sets that list it, a set with its members (one of them held by
// no item), a TypeID only a description holds, and one nothing holds.
TEST_F(CommandsTest, RefsListsItemsSetsAndMembers) {
    // SetItem record 8 (empty in the demo): MemberCount 0xA8, TypeIDs from 0xAC, quantities
    // (u16) from 0xD4. Member 1 is Ball record 1, member 2 a TypeID no item holds.
    TableStore s = demo;
    const std::uint32_t ball = Get(s, kBallTable, 1, 4, 4), set = Get(s, kSetItemTable, 8, 4, 4);
    Put(s, kSetItemTable, 8, 0xA8, 4, 2);
    Put(s, kSetItemTable, 8, 0xAC, 4, ball);
    Put(s, kSetItemTable, 8, 0xB0, 4, 0x0BADF00D);
    Put(s, kSetItemTable, 8, 0xD4, 4, 0x00000005); // quantities 5 and 0 (shown as 1)
    Write(s);
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
        EXPECT_TRUE(Contains(c.status == 0 ? run.out : run.err, c.part)) << run.out << run.err;
    }
}
