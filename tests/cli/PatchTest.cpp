// diff --patch and apply: a mod's changes carried to a shuffled and extended release,
// applied twice, and refused or skipped where the release disagrees.
#include "CliTestSupport.h"

#include <functional>

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

constexpr std::size_t kPrice = 0x5C;

class PatchTest : public CliTest {
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

TEST_F(PatchTest, AppliesToAShuffledExtendedReleaseOnceAndThenFindsItApplied) {
    // The next release: the Part records in reverse order, then one more.
    TableStore release = demo;
    TableSlot& part = release[kPartTable];
    const std::size_t size = RecordSize(kPartTable), n = part.RecordCount;
    Bytes records;
    for (std::size_t i = n; i-- > 0;)
        records.insert(records.end(), part.Records.begin() + i * size, part.Records.begin() + (i + 1) * size);
    records.insert(records.end(), records.begin(), records.begin() + size);
    part.Records = records;
    part.RecordCount = static_cast<std::uint16_t>(n + 1);
    Put(release, kPartTable, n, 4, 4, 0x0BADF00D);
    ASSERT_TRUE(WriteDemoTables(target, release));

    CliRun run = RunCli({"apply", target, patch});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Patch: 6 changes made, 0 already present, 0 conflicting.\n");
    // Every record, descriptions included, now equals the mod's record with its TypeID.
    const std::string name(reinterpret_cast<const char*>(release.Record(kPartTable, n) + 8));
    EXPECT_EQ(RunCli({"diff", mod, target}).out,
              "Part.iff: RecordCount 40 -> 41\nPart.iff added: record 40, TypeID 195948557 \"" + name +
                  "\"\n");

    const std::string once = ReadFileText(target);
    run = RunCli({"apply", target, patch});
    EXPECT_EQ(run.out, "Patch: 0 changes made, 6 already present, 0 conflicting.\n");
    EXPECT_TRUE(ReadFileText(target) == once);
}

TEST_F(PatchTest, ConflictsStopTheWholePatchUnlessSkipped) {
    const std::string part = IdOf(demo, kPartTable, 3);
    const std::uint32_t price = Get(demo, kPartTable, 3, kPrice, 4);
    const struct {
        std::function<void(TableStore&)> change; // of the release
        std::string found, skipped;
    } cases[] = {
        {[](TableStore& s) { Put(s, kPartTable, 3, kPrice, 4, 99); }, "found 99,",
         "5 changes made, 0 already "},
        {[](TableStore& s) { Put(s, kPartTable, 3, 4, 4, 0x0BADF00D); }, "found no record holds this TypeID,",
         "4 changes made, 0 already present, 2 conflicting"},
        {[&](TableStore& s) { Put(s, kPartTable, 4, 4, 4, std::stoul(part)); },
         "found 2 records hold this TypeID,", "4 changes made, 0 already present, 2 conflicting"},
    };
    for (const auto& c : cases) {
        TableStore release = demo;
        c.change(release);
        ASSERT_TRUE(WriteDemoTables(target, release));
        const std::string before = ReadFileText(target);
        CliRun run = RunCli({"apply", target, patch});
        EXPECT_EQ(run.status, 1) << c.found;
        EXPECT_TRUE(Contains(run.err, "Conflict: Part TypeID " + part + " Price: expected " +
                                          std::to_string(price) + ", " + c.found + " wanted 4321\n"))
            << run.err;
        EXPECT_TRUE(ReadFileText(target) == before) << c.found;

        run = RunCli({"apply", target, patch, "--skip-conflicts"});
        EXPECT_EQ(run.status, 0) << c.found;
        EXPECT_TRUE(Contains(run.out, "Skipped: Part TypeID " + part + " Price")) << run.out;
        EXPECT_TRUE(Contains(run.out, c.skipped)) << run.out;
        EXPECT_EQ(Get(cli::LoadArchive(target).store, kMascotTable, 1, kPrice, 4), 777u) << c.found;
    }
}
