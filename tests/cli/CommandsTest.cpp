// The commands end to end, in-process, on the demo archive: what the user reads, the exit
// codes, and refusals after which the archive is byte-identical.
#include "CliTestSupport.h"

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

using CommandsTest = CliTest;

} // namespace

TEST_F(CommandsTest, UsageErrorsExitWithTwoAndHelpWithZero) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"frobnicate"},
                                                 {"export", archive, "Parts"},
                                                 {"set", archive, "Part", "1"}}) {
        CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args.back());
        EXPECT_TRUE(run.out.empty() && Contains(run.err, "Usage: ledgrin-cli")) << run.err;
    }
    CliRun help = RunCli({"apply", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: ledgrin-cli apply ", 0), 0u) << help.out;
}

TEST_F(CommandsTest, VerifyAndEveryCommandSayWhyATableOrTheArchiveCannotBeRead) {
    CliRun good = RunCli({"verify", archive});
    EXPECT_EQ(good.status, 0);
    EXPECT_TRUE(Contains(good.out, "Tables: 14 loaded, 0 damaged\n")) << good.out;

    // Card.iff (360-byte records) cut to half a record: the commands that need it refuse,
    // tables lists it as damaged, and the other tables still export.
    ASSERT_TRUE(WriteDemoTables(archive, demo, kCardTable, [](Bytes& b) { b.resize(8 + 360 / 2); }));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"verify", archive}, {"export", archive, "Card"}, {"refs", archive, "1"}}) {
        CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_TRUE(Contains(run.err, "ledgrin-cli: " + archive +
                                          ": Card.iff: the header promises 16 records of 360 bytes "
                                          "(5,768 bytes with the header) but the entry holds 188\n"))
            << run.err;
    }
    EXPECT_TRUE(Contains(RunCli({"tables", archive}).out,
                         "Card.iff        missing or damaged: the header promises 16 records"));
    EXPECT_EQ(RunCli({"export", archive, "Part"}).status, 0);

    const std::string missing = dir / "nothing.iff";
    CliRun run = RunCli({"tables", missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty() && Contains(run.err, "ledgrin-cli: cannot open " + missing + ": "))
        << run.err;
}

TEST_F(CommandsTest, EveryRejectedFileLeavesTheArchiveByteIdentical) {
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

    // A read-only field changed by another tool is named too (Card Volume: u16 at 0x15A).
    TableStore edited = Load();
    const std::uint32_t volume = Get(edited, kCardTable, 2, 0x15A, 2);
    edited.Record(kCardTable, 2)[0x15A] ^= 0x01;
    Write(edited);
    EXPECT_TRUE(Contains(RunCli({"diff", dir / "before.iff", archive, "Card"}).out,
                         "  Volume: " + std::to_string(volume) + " -> " + std::to_string(volume ^ 1) + "\n"));
}

TEST_F(CommandsTest, RefsOfASetNameTheItemItsDescriptionTheSetsListingItAndItsMembers) {
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
