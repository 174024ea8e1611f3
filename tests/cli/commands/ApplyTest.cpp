// diff --patch and apply: a mod's changes carried to a reordered and extended release,
// applied twice, and refused or skipped where the release disagrees.
#include "tests/cli/CliTestSupport.h"

#include <algorithm>
#include <functional>

#include "records/DescRecord.h"
#include "records/RecordHead.h"

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

constexpr std::size_t kPrice = 0x5C;

class ApplyTest : public CliTest {
  protected:
    std::string patch = dir / "mod.json", target = dir / "release.iff", mod = dir / "mod.iff";

    // The mod: a Part price and name, a Mascot price (its PriceCopy follows), a Ball
    // description rewritten and one added to Skin record 2, which has none.
    void SetUp() override {
        CliTest::SetUp();
        fs::copy_file(archive, mod);
        for (const std::vector<std::string>& set :
             {std::vector<std::string>{"set", mod, "Part", IdOf(demo, kPartTable, 3), "Price=4321",
                                       "Name=Mod"},
              {"set", mod, "Mascot", IdOf(demo, kMascotTable, 1), "Price=777"},
              {"set", mod, "Ball", IdOf(demo, kBallTable, 0), "Description=Rolls true."},
              {"set", mod, "Skin", IdOf(demo, kSkinTable, 2), "Description=Brand new."}})
            ASSERT_EQ(RunCli(set).status, 0) << set[4];
        ASSERT_EQ(RunCli({"diff", archive, mod, "--patch", patch}).status, 0);
    }
};

} // namespace

// The mod also adds a Card item: the record travels whole, bytes no field names included,
// with its description. The next release: the Part and Card records rotated by one, then
// one more Part record (zero but its TypeID).
TEST_F(ApplyTest, AppliesToAReorderedExtendedReleaseOnceAndThenFindsItApplied) {
    ASSERT_EQ(RunCli({"add", mod, "Card", "--like", IdOf(demo, kCardTable, 4), "--typeid", "2147490000",
                      "Description=A new card.", "--no-backup"})
                  .status,
              0);
    ASSERT_EQ(RunCli({"diff", archive, mod, "--patch", patch}).status, 0);
    EXPECT_TRUE(
        Contains(ReadFileText(patch), "\"added\": [\n    {\"table\": \"Card\", \"typeid\": 2147490000, "));
    TableStore release = demo;
    for (TableIndex t : {kPartTable, kCardTable}) {
        TableBytes& records = release[t].Records;
        std::rotate(records.begin(), records.begin() + RecordSize(t), records.end());
    }
    TableSlot& part = release[kPartTable];
    const std::size_t size = RecordSize(kPartTable), n = part.RecordCount;
    part.Records.resize((n + 1) * size);
    part.RecordCount = static_cast<std::uint16_t>(n + 1);
    Put(release, kPartTable, n, 4, 4, 0x0BADF00D);
    ASSERT_TRUE(WriteDemoTables(target, release));

    CliRun run = RunCli({"apply", target, patch});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Patch: 7 changes made, 0 already present, 0 conflicting.\n");
    // Every record, descriptions and the added card included, now equals the mod's record
    // with its TypeID, to the byte: diff names unnamed bytes that differ too.
    EXPECT_EQ(RunCli({"diff", mod, target}).out,
              "Part.iff: RecordCount 40 -> 41\nPart.iff added: record 40, TypeID 195948557 \"\"\n");

    const std::string once = ReadFileText(target);
    const auto files = Snapshot(dir.path()).size();
    run = RunCli({"apply", target, patch});
    EXPECT_EQ(run.out, "Patch: 0 changes made, 7 already present, 0 conflicting.\n");
    EXPECT_TRUE(ReadFileText(target) == once);
    EXPECT_EQ(Snapshot(dir.path()).size(), files); // no write, so no backup

    // The way back removes the card: reported, never deleted.
    ASSERT_EQ(RunCli({"diff", mod, archive, "Card", "--patch", dir / "back.json"}).status, 0);
    run = RunCli({"apply", target, dir / "back.json"});
    const TableStore back = cli::LoadArchive(target).store;
    EXPECT_EQ(run.out,
              "not removed: Card TypeID 2147490000 \"" +
                  std::string(RecordName(back.Record(kCardTable, back[kCardTable].RecordCount - 1u))) +
                  "\"\nPatch: 0 changes made, 0 already present, 0 conflicting.\n");
    EXPECT_EQ(back[kCardTable].RecordCount, demo[kCardTable].RecordCount + 1u);
}

TEST_F(ApplyTest, AConflictStopsTheWholePatchUnlessSkipped) {
    // The release holds another Part price than the one the mod started from.
    const std::string part = IdOf(demo, kPartTable, 3);
    TableStore release = demo;
    Put(release, kPartTable, 3, kPrice, 4, 99);
    ASSERT_TRUE(WriteDemoTables(target, release));
    const std::string before = ReadFileText(target);
    CliRun run = RunCli({"apply", target, patch});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "Conflict: Part TypeID " + part + " Price: expected " +
                                      std::to_string(Get(demo, kPartTable, 3, kPrice, 4)) +
                                      ", found 99, wanted 4321\n"))
        << run.err;
    EXPECT_TRUE(ReadFileText(target) == before);

    run = RunCli({"apply", target, patch, "--skip-conflicts"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(Contains(run.out, "Skipped: Part TypeID " + part + " Price")) << run.out;
    EXPECT_TRUE(Contains(run.out, "5 changes made, 0 already ")) << run.out;
    EXPECT_EQ(Get(cli::LoadArchive(target).store, kMascotTable, 1, kPrice, 4), 777u);
}

// Patches come from other people: what could be read two ways is refused with its line
// (and column, for the syntax) and nothing is written; the same change twice counts once.
TEST_F(ApplyTest, MalformedPatchesAreRefusedWithTheirLine) {
    const std::string id = IdOf(demo, kPartTable, 3),
                      old = std::to_string(Get(demo, kPartTable, 3, kPrice, 4));
    const auto file = [](const std::vector<std::string>& changes, const char* version = "1") {
        std::string text = "{\n  \"format\": \"ledgrin-patch\",\n  \"version\": " + std::string(version) +
                           ",\n  \"changes\": [";
        for (std::size_t i = 0; i < changes.size(); ++i)
            text += (i ? ",\n    " : "\n    ") + changes[i];
        return text + "\n  ]\n}\n";
    };
    const std::string head = "{\"table\": \"Part\", ";
    const auto price = [&](const std::string& table, const std::string& field, const std::string& value) {
        return "{\"table\": \"" + table + "\", \"typeid\": " + id + ", \"field\": \"" + field +
               "\", \"old\": " + old + ", \"new\": " + value + "}";
    };
    const struct {
        std::string patch, error;
    } cases[] = {
        {file({head + "\"table\": \"Item\", \"typeid\": " + id + "}"}),
         ":5:" + std::to_string(4 + head.size() + 1) +
             ": the member \"table\" is given twice in one object\n"},
        {file({price("Part",
                     "Pri\x01"
                     "ce",
                     "1")}),
         ":5:" + std::to_string(4 + head.size() + 10 + id.size() + 12 + 4) +
             ": a control byte inside a string must be escaped\n"},
        {file({price("Part", "Price", "1"), price("part", "price", "2")}),
         ":6: change 2 (part TypeID " + id + " price: " + old + " -> 2) and change 1 on line 5 (" + old +
             " -> 1) change the same field differently\n"},
        {file({price("Part", "Price", "1") + " " + price("Part", "Price", "1")}),
         ":5:" + std::to_string(4 + price("Part", "Price", "1").size() + 2) + ": expected ',' or ']'\n"},
        {file({head + "\"typeid\": " + id + "}"}),
         ":5: change 1 needs \"table\", \"typeid\", \"field\", \"old\" and \"new\"\n"},
        {file({price("Part", "Price", "1")}, "3"), ": patch version 3 is not supported\n"},
    };
    const std::string before = ReadFileText(archive);
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileText(patch, c.patch));
        CliRun run = RunCli({"apply", archive, patch});
        EXPECT_EQ(run.status, 1) << c.patch;
        EXPECT_TRUE(Contains(run.err, patch + c.error) &&
                    Contains(run.err, "ledgrin-cli: nothing was written\n"))
            << run.err << c.error;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    EXPECT_TRUE(ReadFileText(archive) == before);

    ASSERT_TRUE(WriteFileText(patch, file({price("Part", "Price", "1"), price("PART", "PRICE", "1")})));
    CliRun run = RunCli({"apply", archive, patch});
    EXPECT_EQ(run.out, "Patch: 1 change made, 0 already present, 0 conflicting.\n") << run.err;
    EXPECT_EQ(Get(Load(), kPartTable, 3, kPrice, 4), 1u);
}

// Every kind of conflict an added record meets, a table without room and a damaged table
// write nothing.
TEST_F(ApplyTest, AddedRecordsConflictWithOtherBytesOrAnotherDescription) {
    const std::string adds = dir / "adds.json", id = "2147490000";
    ASSERT_EQ(RunCli({"add", mod, "Card", "--like", IdOf(demo, kCardTable, 4), "--typeid", id,
                      "Description=A new card.", "--no-backup"})
                  .status,
              0);
    ASSERT_EQ(RunCli({"diff", archive, mod, "Card", "--patch", adds}).status, 0);
    const TableStore modded = cli::LoadArchive(mod).store;
    const std::size_t n = demo[kCardTable].RecordCount;
    const struct {
        const char* what;
        std::function<void(TableStore&)> release;
        std::string error;
    } cases[] = {
        {"another record", [&](TableStore& s) { Put(s, kCardTable, 0, 4, 4, std::stoul(id)); },
         "Conflict: added Card TypeID " + id + " \"" + RecordName(modded.Record(kCardTable, n)).data() +
             "\": found Card.iff record 0 holds this TypeID with other bytes\n"},
        {"another description",
         [&](TableStore& s) {
             TableSlot& card = s[kCardTable];
             card.Records.Append(modded.Record(kCardTable, n), RecordSize(kCardTable));
             ++card.RecordCount;
             TableSlot& desc = s[kDescTable];
             ASSERT_EQ(AppendDescription(desc.Records, desc.RecordCount, std::stoul(id), "An old card."),
                       AppendResult::Appended);
         },
         "found its description \"An old card.\"\n"},
        {"a full table",
         [&](TableStore& s) {
             s[kCardTable].Records.resize(65535 * RecordSize(kCardTable));
             s[kCardTable].RecordCount = 65535;
         },
         ": Card.iff has no room for 1 more record; it holds 65535 of 65535\n"},
        {"a damaged table", [&](TableStore& s) { ++s[kCardTable].RecordCount; },
         ": Card.iff: the header promises "},
    };
    for (const auto& c : cases) {
        TableStore release = demo;
        c.release(release);
        ASSERT_TRUE(WriteDemoTables(target, release));
        const std::string before = ReadFileText(target);
        const CliRun run = RunCli({"apply", target, adds});
        EXPECT_EQ(run.status, 1) << c.what;
        EXPECT_TRUE(Contains(run.err, c.error)) << c.what << run.err;
        EXPECT_TRUE(ReadFileText(target) == before) << c.what;
    }
}

// Stacked patches apply in order in memory and write once; a conflict names its patch and
// the patch that set the value found.
TEST_F(ApplyTest, StackedPatchesWriteOnceAndAConflictNamesWhoSetTheValue) {
    const std::string part = IdOf(demo, kPartTable, 5),
                      price = std::to_string(Get(demo, kPartTable, 5, kPrice, 4));
    const auto patchOf = [&](const std::string& name, const std::vector<std::string>& assignments) {
        const std::string copy = dir / (name + ".iff");
        fs::copy_file(archive, copy);
        std::vector<std::string> args = {"set", copy, "Part", part};
        args.insert(args.end(), assignments.begin(), assignments.end());
        args.push_back("--no-backup");
        EXPECT_EQ(RunCli(args).status, 0);
        EXPECT_EQ(RunCli({"diff", archive, copy, "--patch", dir / (name + ".json")}).status, 0);
        return dir / (name + ".json");
    };
    const std::string p1 = patchOf("p1", {"Price=600"}), p2 = patchOf("p2", {"Price=700"}),
                      p3 = patchOf("p3", {"Power=9"});
    ASSERT_TRUE(WriteDemoTables(target, demo));
    const std::string before = ReadFileText(target);
    CliRun run = RunCli({"apply", target, p1, p2});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "Conflict: " + p2 + ": Part TypeID " + part + " Price: expected " + price +
                                      ", found 600, set by " + p1 + ", wanted 700\n"))
        << run.err;
    EXPECT_TRUE(ReadFileText(target) == before);

    run = RunCli({"apply", target, p1, p3});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Patch " + p1 + ": 1 change made, 0 already present, 0 conflicting.\nPatch " + p3 +
                           ": 1 change made, 0 already present, 0 conflicting.\n");
    std::size_t backups = 0;
    for (const auto& [name, bytes] : Snapshot(dir.path()))
        backups +=
            name.rfind("release.iff.", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".bak";
    EXPECT_EQ(backups, 1u); // one write
    const TableStore after = cli::LoadArchive(target).store;
    EXPECT_EQ(Get(after, kPartTable, 5, kPrice, 4), 600u);
}

// Every table a patch's changes name must have loaded, also one named after a run of
// changes to another: a damaged Card after two Part changes writes nothing.
TEST_F(ApplyTest, ChangesToADamagedTableAfterOthersWriteNothing) {
    ASSERT_TRUE(WriteDemoTables(mod, demo));
    const struct {
        TableIndex table;
        std::size_t index;
    } changes[] = {{kPartTable, 1}, {kPartTable, 2}, {kCardTable, 0}};
    for (const auto& c : changes)
        ASSERT_EQ(
            RunCli({"set", mod, EntryName(c.table), IdOf(demo, c.table, c.index),
                    "Price=" + std::to_string(Get(demo, c.table, c.index, kPrice, 4) + 1), "--no-backup"})
                .status,
            0);
    ASSERT_EQ(RunCli({"diff", archive, mod, "--patch", patch}).status, 0);
    TableStore release = demo;
    ++release[kCardTable].RecordCount;
    ASSERT_TRUE(WriteDemoTables(target, release));
    const std::string before = ReadFileText(target);
    const CliRun run = RunCli({"apply", target, patch});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, ": Card.iff: the header promises ")) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(ReadFileText(target) == before);
}
