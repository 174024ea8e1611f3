// The commands end to end, in-process, on demo archives written to files: exit codes,
// what reaches the archive, and what the user reads.
#include "CliTestSupport.h"

#include "tools/DemoArchive.h"
#include "tools/ZipWriter.h"
#include "tools/cli/ArchiveFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

class CommandsTest : public testing::Test {
  protected:
    ScratchDir dir;
    std::string archive = dir / "tarvik_gb.iff";

    void SetUp() override { WriteDemo(archive); }

    std::string IdOf(TableIndex t, std::size_t index) const {
        return std::to_string(Get(LoadArchive(archive).store, t, index, 0x04, 4));
    }
    // Files left beside the archive, other than the archive and the given names.
    std::vector<std::string> Leftovers(std::initializer_list<std::string> known) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            const std::string name = entry.path().filename().string();
            if (name != "tarvik_gb.iff" && std::find(known.begin(), known.end(), name) == known.end())
                names.push_back(name);
        }
        return names;
    }
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

// --- export then import of the unchanged file leaves the archive byte-identical ------------

TEST_F(CommandsTest, UnchangedExportImportsWithoutTouchingTheArchive) {
    const Bytes before = ReadBytes(archive);
    for (const char* table : {"Part", "Item", "ClubSet", "Ball", "Mascot", "Caddie", "Skin", "AuxPart",
                              "Character", "HairStyle", "CaddieItem", "SetItem", "Card"}) {
        for (const char* file : {"rows.csv", "rows.json"}) {
            ASSERT_EQ(RunCli({"export", archive, table, "-o", dir / file}).status, 0) << table;
            CliRun run = RunCli({"import", archive, table, dir / file});
            EXPECT_EQ(run.status, 0) << table << " " << file << ": " << run.err;
            EXPECT_EQ(run.out, "No changes.\n");
        }
    }
    EXPECT_EQ(ReadBytes(archive), before);
    EXPECT_TRUE(Leftovers({"rows.csv", "rows.json"}).empty());
}

TEST_F(CommandsTest, ExportToStandardOutputIsTheFileExport) {
    ASSERT_EQ(RunCli({"export", archive, "ball.iff", "-o", dir / "ball.csv"}).status, 0);
    CliRun run = RunCli({"export", archive, "BALL", "--format", "csv"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, ReadText(dir / "ball.csv"));
    // Ball record 0's description is 512 bytes with no NUL: all of it is exported.
    EXPECT_TRUE(Contains(run.out, "Every dimple")) << run.out.substr(0, 200);
    EXPECT_TRUE(run.err.empty());
}

// --- import writes the table and Desc, nothing else --------------------------------------------

TEST_F(CommandsTest, ImportOfOnePriceRewritesOnlyThatRecord) {
    LoadedArchive before = LoadArchive(archive);
    const std::string id = std::to_string(Get(before.store, kPartTable, 6, 0x04, 4));
    WriteText(dir / "price.csv", "TypeID,Price\r\n" + id + ",1234\r\n");
    CliRun run = RunCli({"import", archive, "Part", dir / "price.csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Part.iff: 1 record changed; Desc.iff: 0 descriptions rewritten, 0 appended.\n");

    LoadedArchive after = LoadArchive(archive);
    ASSERT_TRUE(after.AllLoaded());
    for (TableIndex t = 0; t < kTableCount; ++t) {
        EXPECT_EQ(after.store[t].HeaderWord2, before.store[t].HeaderWord2) << EntryName(t);
        if (t == kPartTable) continue;
        EXPECT_EQ(after.store[t].Records, before.store[t].Records) << EntryName(t);
    }
    // Price at 0x5C of record 6 (544 bytes each): only bytes 6 * 544 + 0x5C .. + 0x5F may differ.
    for (std::size_t offset :
         DifferingOffsets(before.store[kPartTable].Records, after.store[kPartTable].Records))
        EXPECT_TRUE(offset >= 6 * 544 + 0x5C && offset < 6 * 544 + 0x60) << offset;
    EXPECT_EQ(Get(after.store, kPartTable, 6, 0x5C, 4), 1234u);
    EXPECT_TRUE(Leftovers({"price.csv"}).empty());
}

TEST_F(CommandsTest, EveryRejectedFileLeavesTheArchiveByteIdentical) {
    const Bytes before = ReadBytes(archive);
    const std::string id = IdOf(kMascotTable, 1);
    const std::pair<std::string, std::string> files[] = {
        {"TypeID,Price\r\n" + id + ",12x\r\n", "bad.csv:2: Price: \"12x\" is not an unsigned number"},
        {"TypeID,Power\r\n" + id + ",1\r\n" + id + ",2\r\n", "bad.csv:3: TypeID"},
        {"TypeID,Price\r\n123,1\r\n", "bad.csv:2: TypeID 123 is held by no record"},
        {"TypeID,Power\r\n" + id + ",300\r\n", "does not fit its 8-bit field"},
        {"TypeID,Enabled\r\n" + id + ",0\r\n", "Enabled is read-only"},
        {"TypeID,Price\r\n" + id + ",\"1\r\n", "bad.csv:2: a quoted field"},
    };
    for (const auto& [text, message] : files) {
        WriteText(dir / "bad.csv", text);
        CliRun run = RunCli({"import", archive, "Mascot", dir / "bad.csv"});
        EXPECT_EQ(run.status, 1) << message;
        EXPECT_TRUE(Contains(run.err, message)) << run.err;
        EXPECT_TRUE(Contains(run.err, "nothing was written")) << run.err;
    }
    EXPECT_EQ(ReadBytes(archive), before);
}

TEST_F(CommandsTest, DryRunListsTheChangesAndWritesNothing) {
    const Bytes before = ReadBytes(archive);
    LoadedArchive loaded = LoadArchive(archive);
    const std::string oldPrice = std::to_string(Get(loaded.store, kMascotTable, 1, 0x5C, 4));
    CliRun run = RunCli({"set", archive, "mascot", IdOf(kMascotTable, 1), "Price=70000", "--dry-run"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "  Price: " + oldPrice + " -> 70000\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, " -> 4464\n")) << run.out; // PriceCopy follows
    EXPECT_TRUE(Contains(run.out, "Dry run: nothing written.")) << run.out;
    EXPECT_EQ(ReadBytes(archive), before);
}

// --- diff -------------------------------------------------------------------------------------

TEST_F(CommandsTest, DiffOfAnArchiveWithItselfIsEmpty) {
    CliRun run = RunCli({"diff", archive, archive});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

TEST_F(CommandsTest, AfterASetDiffNamesExactlyThatField) {
    fs::copy_file(archive, dir / "before.iff");
    LoadedArchive loaded = LoadArchive(archive);
    // Part record 4: Spin is the u16 at 0x1D2.
    const std::uint32_t spin = Get(loaded.store, kPartTable, 4, 0x1D2, 2);
    const std::string newSpin = std::to_string(spin + 1);
    ASSERT_EQ(RunCli({"set", archive, "Part", IdOf(kPartTable, 4), "Spin=" + newSpin}).status, 0);

    const char* name = reinterpret_cast<const char*>(loaded.store.Record(kPartTable, 4) + 8);
    CliRun run = RunCli({"diff", dir / "before.iff", archive});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Part.iff changed: record 4, TypeID " + IdOf(kPartTable, 4) + " \"" + name + "\"\n" +
                           "  Spin: " + std::to_string(spin) + " -> " + newSpin + "\n");
    EXPECT_EQ(RunCli({"diff", dir / "before.iff", archive, "Item"}).out, "");
}

TEST_F(CommandsTest, DiffShowsAddedRemovedDescriptionsAndUnnamedBytes) {
    LoadedArchive a = LoadArchive(archive);
    TableStore b = a.store;
    // Ball records are 792 bytes; byte 0x31 follows the Level byte and no field names it.
    b.Record(kBallTable, 1)[0x31] ^= 0xFF;
    b.Record(kBallTable, 1)[0x32] ^= 0x01;
    b[kBallTable].Records.resize(5 * 792); // record 5 removed
    b[kBallTable].RecordCount = 5;
    const std::uint32_t removed = Get(a.store, kBallTable, 5, 0x04, 4);
    ASSERT_EQ(SaveTables(b, {kBallTable}, archive), SaveAllResult::Saved);
    fs::copy_file(archive, dir / "b.iff");
    WriteDemo(archive);

    const std::string out = RunCli({"diff", archive, dir / "b.iff"}).out;
    const std::uint8_t* r = a.store.Record(kBallTable, 1);
    char bytes[64];
    std::snprintf(bytes, sizeof bytes, "  bytes 0x031..0x032: %02x %02x -> %02x %02x\n", r[0x31], r[0x32],
                  r[0x31] ^ 0xFF, r[0x32] ^ 0x01);
    EXPECT_TRUE(Contains(out, "Ball.iff: RecordCount 6 -> 5\n")) << out;
    EXPECT_TRUE(Contains(out, "Ball.iff removed: record 5, TypeID " + std::to_string(removed))) << out;
    EXPECT_TRUE(Contains(out, bytes)) << out;
    EXPECT_FALSE(Contains(out, "Desc.iff")) << out;
}

// --- saving is all or nothing ---------------------------------------------------------------

TEST_F(CommandsTest, AFailedSecondSaveLeavesTheArchiveByteIdentical) {
    const Bytes before = ReadBytes(archive);
    LoadedArchive loaded = LoadArchive(archive);
    Put(loaded.store, kPartTable, 0, 0x5C, 4, 99);
    loaded.store[kDescTable].Records.pop_back(); // the buffer no longer holds RecordCount records
    EXPECT_EQ(SaveTables(loaded.store, {kPartTable, kDescTable}, archive), SaveAllResult::NotSaved);
    EXPECT_EQ(ReadBytes(archive), before);
    EXPECT_TRUE(Leftovers({}).empty());
}

TEST_F(CommandsTest, BothTablesOfAnImportArriveTogether) {
    const std::string id = IdOf(kSkinTable, 2); // record 2 has no description
    CliRun run = RunCli({"set", archive, "skin", id, "Price7Days=77", "Description=Brand new"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Skin.iff: 1 record changed; Desc.iff: 0 descriptions rewritten, 1 appended.\n");
    LoadedArchive after = LoadArchive(archive);
    ASSERT_TRUE(after.AllLoaded());
    EXPECT_EQ(Get(after.store, kSkinTable, 2, 0xD4, 2), 77u); // Skin Price7Days at 0xD4
    const std::size_t last = after.store[kDescTable].RecordCount - 1u;
    EXPECT_EQ(std::to_string(Get(after.store, kDescTable, last, 0, 4)), id);
    EXPECT_TRUE(Leftovers({}).empty());
}

// --- verify and tables -------------------------------------------------------------------------

TEST_F(CommandsTest, VerifyCountsWhatTheDemoHoldsOnPurpose) {
    CliRun run = RunCli({"verify", archive});
    EXPECT_EQ(run.status, 0);
    for (const char* line :
         {"Tables: 14 loaded, 0 damaged\n", "Duplicate TypeIDs within a table: 0\n",
          "TypeIDs held by items of several tables: 1\n",
          "Descriptions whose TypeID no item has: 1\n  Desc.iff record ",
          "TypeIDs with several descriptions: 1\n", "Set members that refer to no item: 1\n",
          "Card volumes without a label: 1\n", "Names without a NUL (40 bytes): 1\n  Part.iff record 5,"})
        EXPECT_TRUE(Contains(run.out, line)) << line << "\n" << run.out;
}

TEST_F(CommandsTest, ADamagedTableFailsVerifyAndTables) {
    TableStore store = DemoStore();
    std::vector<ZipEntry> entries;
    ASSERT_EQ(DemoArchiveEntries(store, entries), DemoResult::Done);
    for (ZipEntry& e : entries)
        if (e.name == "Card.iff") e.bytes.resize(8 + 360 / 2); // half a record behind the header
    ASSERT_EQ(WriteZipFile(archive, entries), ZipWriteResult::Written);

    CliRun verify = RunCli({"verify", archive});
    EXPECT_EQ(verify.status, 1);
    EXPECT_TRUE(Contains(verify.out, "Damaged or missing tables: 1\n  Card.iff: missing or damaged\n"))
        << verify.out;
    CliRun tables = RunCli({"tables", archive});
    EXPECT_EQ(tables.status, 1);
    EXPECT_TRUE(Contains(tables.out, "Card.iff        missing or damaged\n")) << tables.out;
    EXPECT_TRUE(Contains(tables.out, "Part.iff             40         544      0x1234      13      21768\n"))
        << tables.out;
    EXPECT_EQ(RunCli({"export", archive, "Card"}).status, 1);
    EXPECT_EQ(RunCli({"export", archive, "Part"}).status, 0);
}

// --- usage and help -------------------------------------------------------------------------------

TEST_F(CommandsTest, UsageErrorsExitWithTwoAndWriteNothing) {
    const Bytes before = ReadBytes(archive);
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"frobnicate"},
        {"export", archive},
        {"export", archive, "Parts"},
        {"export", archive, "Part", "--format", "xml"},
        {"export", archive, "Part", "--verbose"},
        {"import", archive, "Desc", dir / "x.csv"},
        {"set", archive, "Part", "1"},
        {"set", archive, "Part", "1", "Price"},
        {"diff", archive},
    };
    for (const auto& args : lines) {
        CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args[0]);
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(Contains(run.err, "Usage: ledgrin-cli")) << run.err;
    }
    EXPECT_EQ(ReadBytes(archive), before);
}

TEST_F(CommandsTest, HelpForTheWholeAndEachCommand) {
    CliRun all = RunCli({"--help"});
    EXPECT_EQ(all.status, 0);
    for (const char* command : {"tables", "export", "import", "set", "verify", "diff"}) {
        EXPECT_TRUE(Contains(all.out, std::string("  ") + command + " ")) << command;
        CliRun one = RunCli({command, "--help"});
        EXPECT_EQ(one.status, 0);
        EXPECT_EQ(one.out.rfind(std::string("Usage: ledgrin-cli ") + command + " ", 0), 0u) << one.out;
    }
}

TEST_F(CommandsTest, AMissingArchiveIsAFailureOnStandardError) {
    CliRun run = RunCli({"tables", dir / "nothing.iff"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(Contains(run.err, "cannot open the archive")) << run.err;
}
