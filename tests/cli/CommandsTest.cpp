// The commands end to end, in-process, on demo archives written to files: exit codes,
// what reaches the archive, and what the user reads.
#include "CliTestSupport.h"

#include "archive/TableSave.h"
#include "tools/DemoArchive.h"
#include "tools/ZipWriter.h"
#include "tools/cli/ArchiveFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

using Names = std::vector<std::string>;

class CommandsTest : public testing::Test {
  protected:
    ScratchDir dir;
    std::string archive = dir / "tarvik_gb.iff";

    void SetUp() override { WriteDemo(archive); }
    Names Files() const { return FileNames(dir); }
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(CommandsTest, UnchangedExportsImportWithoutChangingAByte) {
    // Values an Update would rewrite, which an unchanged row must keep: bonus bytes from 1
    // to 100 and a set byte 1 (Mascot BonusRates at 0x10C), a PriceCopy (0xF8) that is not
    // the Price (0x5C), a MonthlyPrice (Caddie 0xA8) that is not the price, a StatCopy byte
    // (Character 0x15C) that is not Power's (0x148) low byte, and a byte behind the NUL of
    // a name (0x08, 40 bytes). Part record 5's name has no NUL.
    TableStore s = LoadArchive(archive).store;
    Put(s, kMascotTable, 0, 0x10C, 4, 0x00320705);
    Put(s, kMascotTable, 0, 0xF8, 2, Get(s, kMascotTable, 0, 0x5C, 4) + 1);
    Put(s, kCaddieTable, 0, 0xA8, 4, Get(s, kCaddieTable, 0, 0x5C, 4) + 7);
    Put(s, kCharacterTable, 0, 0x15C, 1, Get(s, kCharacterTable, 0, 0x148, 2) + 1);
    Put(s, kItemTable, 1, 0x08 + 39, 1, 0x5A);
    ASSERT_EQ(SaveTables(s, {kMascotTable, kCaddieTable, kCharacterTable, kItemTable}, archive),
              SaveAllResult::Saved);

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
    EXPECT_EQ(Files(), (Names{"rows.csv", "rows.json", "tarvik_gb.iff"}));
}

TEST_F(CommandsTest, OneChangedPriceChangesItsBytesAndThePriceCopyOnly) {
    // Price u32 at 0x5C; PriceCopy u16 at 0xF8 in Mascot (284-byte records) and
    // CaddieItem (260); Part (544) has none. 70000 = 0x00011170, so PriceCopy 0x1170.
    const struct {
        TableIndex table;
        std::size_t size;
        bool hasCopy;
    } tables[] = {{kPartTable, 544, false}, {kMascotTable, 284, true}, {kCaddieItemTable, 260, true}};
    for (const auto& t : tables) {
        const TableStore before = LoadArchive(archive).store;
        ASSERT_TRUE(
            WriteFileText(dir / "price.csv", "TypeID,Price\r\n" + IdOf(before, t.table, 3) + ",70000\r\n"));
        CliRun run = RunCli({"import", archive, EntryName(t.table), dir / "price.csv", "--no-backup"});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, std::string(EntryName(t.table)) +
                               ": 1 record changed; Desc.iff: 0 descriptions rewritten, 0 appended.\n");

        LoadedArchive after = LoadArchive(archive);
        ASSERT_TRUE(after.AllLoaded());
        Bytes expected = before[t.table].Records;
        std::memcpy(&expected[3 * t.size + 0x5C], "\x70\x11\x01\x00", 4);
        if (t.hasCopy) std::memcpy(&expected[3 * t.size + 0xF8], "\x70\x11", 2);
        for (TableIndex other = 0; other < kTableCount; ++other) {
            const Bytes& want = other == t.table ? expected : before[other].Records;
            EXPECT_TRUE(after.store[other].Records == want)
                << EntryName(other) << " by " << EntryName(t.table);
            EXPECT_EQ(after.store[other].HeaderWord2, before[other].HeaderWord2);
        }
    }
    EXPECT_EQ(Files(), (Names{"price.csv", "tarvik_gb.iff"}));
}

TEST_F(CommandsTest, EveryRejectedFileLeavesTheArchiveByteIdentical) {
    const TableStore store = LoadArchive(archive).store;
    const std::string part = IdOf(store, kPartTable, 3), mascot = IdOf(store, kMascotTable, 3);
    // A file of one row: the record's TypeID and one column.
    auto file = [](const std::string& id, const std::string& column, const std::string& value) {
        return "TypeID," + column + "\r\n" + id + "," + value + "\r\n";
    };
    // ShopFlags (0x68) with bit 2 flipped: bits 2 to 4 are kept by the Update.
    const std::string shop = std::to_string(Get(store, kPartTable, 3, 0x68, 1) ^ 0x04);
    const struct {
        const char* table;
        std::string file, error;
    } cases[] = {
        // The valid row on line 2 is not written either.
        {"Part", file(IdOf(store, kPartTable, 0), "Price", "1") + part + ",12x\r\n",
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

TEST_F(CommandsTest, SetWritesTheRecordAndAppendsItsDescriptionAfterADryRun) {
    const TableStore store = LoadArchive(archive).store;
    const std::string id = IdOf(store, kSkinTable, 2); // record 2 has no description
    const std::vector<std::string> set = {
        "set", archive, "skin", id, "Price=70000", "--no-backup", "Description=Brand new"};
    const std::string before = ReadFileText(archive);
    std::vector<std::string> dryRun = set;
    dryRun.push_back("--dry-run");
    CliRun run = RunCli(dryRun);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(
        Contains(run.out, "  Price: " + std::to_string(Get(store, kSkinTable, 2, 0x5C, 4)) + " -> 70000\n"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "Dry run: nothing written.")) << run.out;
    EXPECT_TRUE(ReadFileText(archive) == before);

    run = RunCli(set);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Skin.iff: 1 record changed; Desc.iff: 0 descriptions rewritten, 1 appended.\n");
    LoadedArchive after = LoadArchive(archive);
    ASSERT_TRUE(after.AllLoaded());
    EXPECT_EQ(Get(after.store, kSkinTable, 2, 0x5C, 4), 70000u);
    // The new last Desc record: the TypeID, then the text, zero-filled to 516 bytes.
    const std::size_t last = after.store[kDescTable].RecordCount - 1u;
    const std::uint8_t* desc = after.store.Record(kDescTable, last);
    EXPECT_EQ(std::to_string(Get(after.store, kDescTable, last, 0, 4)), id);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(desc + 4)), "Brand new");
    EXPECT_EQ(std::count(desc + 4 + 9, desc + 516, 0), 516 - 4 - 9);
    EXPECT_EQ(Files(), (Names{"tarvik_gb.iff"}));
}

TEST_F(CommandsTest, AFailedSecondSaveLeavesTheArchiveByteIdentical) {
    const std::string before = ReadFileText(archive);
    TableStore store = LoadArchive(archive).store;
    Put(store, kPartTable, 0, 0x5C, 4, 99);
    store[kDescTable].Records.pop_back(); // the buffer no longer holds RecordCount records
    EXPECT_EQ(SaveTables(store, {kPartTable, kDescTable}, archive), SaveAllResult::NotSaved);
    EXPECT_TRUE(ReadFileText(archive) == before);
    EXPECT_EQ(Files(), (Names{"tarvik_gb.iff"}));
}

TEST_F(CommandsTest, DiffOfAnArchiveWithItselfIsEmptyAndAfterASetNamesThatField) {
    CliRun same = RunCli({"diff", archive, archive});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");

    fs::copy_file(archive, dir / "before.iff");
    const TableStore store = LoadArchive(archive).store;
    const std::uint32_t spin = Get(store, kPartTable, 4, 0x1D2, 2); // Part Spin: u16 at 0x1D2
    const std::string newSpin = std::to_string(spin + 1), id = IdOf(store, kPartTable, 4);
    ASSERT_EQ(RunCli({"set", archive, "Part", id, "Spin=" + newSpin}).status, 0);
    const char* name = reinterpret_cast<const char*>(store.Record(kPartTable, 4) + 8);
    CliRun changed = RunCli({"diff", dir / "before.iff", archive});
    EXPECT_EQ(changed.status, 0);
    EXPECT_EQ(changed.out, "Part.iff changed: record 4, TypeID " + id + " \"" + name +
                               "\"\n  Spin: " + std::to_string(spin) + " -> " + newSpin + "\n");
    EXPECT_EQ(RunCli({"diff", dir / "before.iff", archive, "Item"}).out, "");

    // A read-only field changed by another tool is named too (Card Volume: u16 at 0x15A).
    TableStore edited = LoadArchive(archive).store;
    const std::uint32_t volume = Get(edited, kCardTable, 2, 0x15A, 2);
    edited.Record(kCardTable, 2)[0x15A] ^= 0x01;
    testing::internal::CaptureStdout();
    ASSERT_EQ(SaveTable(edited, kCardTable, archive, dir.path().string()), kSaved);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(Contains(RunCli({"diff", dir / "before.iff", archive, "Card"}).out,
                         "  Volume: " + std::to_string(volume) + " -> " + std::to_string(volume ^ 1) + "\n"));
}

TEST_F(CommandsTest, VerifyFindsWhatTheDemoHoldsOnPurposeAndFailsOnADamagedTable) {
    CliRun good = RunCli({"verify", archive});
    EXPECT_EQ(good.status, 0);
    EXPECT_TRUE(Contains(good.out, "Tables: 14 loaded, 0 damaged\n")) << good.out;
    EXPECT_TRUE(Contains(good.out, "Names without a NUL (40 bytes): 1\n  Part.iff record 5,")) << good.out;
}

TEST_F(CommandsTest, EveryCommandSaysWhyATableOrTheArchiveCannotBeRead) {
    // Damage to Card.iff (360-byte records; the header's Version is the u32 at 4).
    using Damage = void (*)(std::vector<std::uint8_t>&);
    const struct {
        Damage damage; // nullptr: Card.iff is left out
        std::string why;
    } cases[] = {
        {nullptr, "Card.iff: not in the archive"},
        {[](std::vector<std::uint8_t>& b) { b.resize(5); },
         "Card.iff: 5 bytes, shorter than its 8-byte header"},
        {[](std::vector<std::uint8_t>& b) { b.resize(8 + 360 / 2); },
         "Card.iff: the header promises 16 records of 360 bytes (5,768 bytes with the header) but the entry "
         "holds 188"},
        {[](std::vector<std::uint8_t>& b) { b[4] = 0; }, "Card.iff: version 0, not 13"},
    };
    for (const auto& c : cases) {
        std::vector<ZipEntry> entries;
        ASSERT_EQ(DemoArchiveEntries(DemoStore(), entries), DemoResult::Done);
        for (auto e = entries.begin(); e != entries.end(); ++e)
            if (e->name == "Card.iff") c.damage ? c.damage(e->bytes) : (void)entries.erase(e--);
        ASSERT_EQ(WriteZipFile(archive, entries), ZipWriteResult::Written);
        for (const std::vector<std::string>& args : {std::vector<std::string>{"tables", archive},
                                                     {"verify", archive},
                                                     {"export", archive, "Card"},
                                                     {"diff", archive, archive},
                                                     {"refs", archive, "1"}}) {
            CliRun run = RunCli(args);
            EXPECT_EQ(run.status, 1) << args[0] << " " << c.why;
            EXPECT_TRUE(Contains(run.err, "ledgrin-cli: " + archive + ": " + c.why + "\n")) << run.err;
        }
        CliRun tables = RunCli({"tables", archive});
        EXPECT_TRUE(
            Contains(tables.out, "Part.iff             40         544      0x1234      13      21768\n"));
        EXPECT_TRUE(Contains(tables.out, "Card.iff        missing or damaged: " + c.why.substr(10) + "\n") ||
                    Contains(tables.out, "Card.iff             16         360")) // unsupported version
            << tables.out;
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

TEST_F(CommandsTest, UsageErrorsExitWithTwoOnStandardErrorAndWriteNothing) {
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
}

TEST_F(CommandsTest, EachCommandHasItsHelp) {
    for (const std::string command :
         {"tables", "export", "import", "set", "verify", "diff", "refs", "apply"}) {
        CliRun one = RunCli({command, "--help"});
        EXPECT_EQ(one.status, 0);
        EXPECT_EQ(one.out.rfind("Usage: ledgrin-cli " + command + " ", 0), 0u) << one.out;
    }
}
