// diff --patch and apply: a mod's changes carried to a reordered and extended release,
// applied twice, and refused or skipped where the release disagrees.
#include "CliTestSupport.h"

#include <algorithm>

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

TEST_F(PatchTest, AppliesToAReorderedExtendedReleaseOnceAndThenFindsItApplied) {
    // The next release: the Part records rotated by one, then one more (zero but its TypeID).
    TableStore release = demo;
    TableSlot& part = release[kPartTable];
    const std::size_t size = RecordSize(kPartTable), n = part.RecordCount;
    std::rotate(part.Records.begin(), part.Records.begin() + size, part.Records.end());
    part.Records.resize((n + 1) * size);
    part.RecordCount = static_cast<std::uint16_t>(n + 1);
    Put(release, kPartTable, n, 4, 4, 0x0BADF00D);
    ASSERT_TRUE(WriteDemoTables(target, release));

    CliRun run = RunCli({"apply", target, patch});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Patch: 6 changes made, 0 already present, 0 conflicting.\n");
    // Every record, descriptions included, now equals the mod's record with its TypeID.
    EXPECT_EQ(RunCli({"diff", mod, target}).out,
              "Part.iff: RecordCount 40 -> 41\nPart.iff added: record 40, TypeID 195948557 \"\"\n");

    const std::string once = ReadFileText(target);
    run = RunCli({"apply", target, patch});
    EXPECT_EQ(run.out, "Patch: 0 changes made, 6 already present, 0 conflicting.\n");
    EXPECT_TRUE(ReadFileText(target) == once);
}

TEST_F(PatchTest, AConflictStopsTheWholePatchUnlessSkipped) {
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
