// diff --patch and apply: a mod's changes carried to a shuffled and extended release,
// applied twice, and refused or skipped where the release disagrees.
#include "CliTestSupport.h"

#include "tools/cli/ArchiveFiles.h"
#include "tools/cli/TableColumns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

constexpr std::size_t kPrice = 0x5C;
const std::vector<TableIndex> kAll = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};

class PatchTest : public testing::Test {
  protected:
    ScratchDir dir;
    std::string patch = dir / "mod.json", target = dir / "release.iff";
    TableStore old = DemoStore(), mod = DemoStore();

    // The mod: a Part price and name, a Mascot price (its PriceCopy follows), a Ball
    // description rewritten and one added to Skin record 2, which has none.
    void SetUp() override {
        WriteDemo(dir / "old.iff");
        fs::copy_file(dir / "old.iff", dir / "mod.iff");
        const std::string m = dir / "mod.iff";
        for (const std::vector<std::string>& set :
             {std::vector<std::string>{"set", m, "Part", IdOf(mod, kPartTable, 3), "Price=4321",
                                       "Name=Modded"},
              {"set", m, "Mascot", IdOf(mod, kMascotTable, 1), "Price=777"},
              {"set", m, "Ball", IdOf(mod, kBallTable, 0), "Description=Rolls true."},
              {"set", m, "Skin", IdOf(mod, kSkinTable, 2), "Description=Brand new."}})
            ASSERT_EQ(RunCli(set).status, 0) << set[4];
        mod = LoadArchive(m).store;
        ASSERT_EQ(RunCli({"diff", dir / "old.iff", m, "--patch", patch}).status, 0);
    }

    // The next release: every Part record in reverse order, and one record more.
    TableStore Release() const {
        TableStore s = old;
        TableSlot& part = s[kPartTable];
        const std::size_t size = RecordSize(kPartTable), n = part.RecordCount;
        Bytes reversed;
        for (std::size_t i = n; i-- > 0;)
            reversed.insert(reversed.end(), part.Records.begin() + i * size,
                            part.Records.begin() + (i + 1) * size);
        reversed.insert(reversed.end(), part.Records.begin(), part.Records.begin() + size);
        part.Records = reversed;
        part.RecordCount = static_cast<std::uint16_t>(n + 1);
        Put(s, kPartTable, n, 4, 4, 0x0BADF00D);
        return s;
    }
    void Write(const TableStore& s) {
        WriteDemo(target);
        ASSERT_EQ(SaveTables(s, kAll, target), SaveAllResult::Saved);
    }
};

// Each record of `a`'s item tables equals b's record with its TypeID, where b has one.
void ExpectSameByTypeId(const TableStore& a, const TableStore& b) {
    for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t)
        for (std::size_t i = 0; i < a[t].RecordCount; ++i)
            for (std::size_t j = 0; j < b[t].RecordCount; ++j)
                EXPECT_TRUE(Get(a, t, i, 4, 4) != Get(b, t, j, 4, 4) ||
                            std::memcmp(a.Record(t, i), b.Record(t, j), RecordSize(t)) == 0)
                    << EntryName(t) << i;
    const DescIndex da(a), db(b);
    for (TableIndex t : {kBallTable, kSkinTable})
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(da.TextOf(Get(a, t, i, 4, 4)), db.TextOf(Get(a, t, i, 4, 4)));
}

} // namespace

TEST_F(PatchTest, AppliesToAShuffledExtendedReleaseOnceAndThenFindsItApplied) {
    Write(Release());
    CliRun run = RunCli({"apply", target, patch});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Patch: 6 changes made, 0 already present, 0 conflicting.\n");
    const TableStore applied = LoadArchive(target).store;
    ExpectSameByTypeId(applied, mod);
    EXPECT_EQ(Get(applied, kPartTable, applied[kPartTable].RecordCount - 1, 4, 4), 0x0BADF00Du);

    const std::string once = ReadFileText(target);
    run = RunCli({"apply", target, patch});
    EXPECT_EQ(run.out, "Patch: 0 changes made, 6 already present, 0 conflicting.\n");
    EXPECT_TRUE(ReadFileText(target) == once);
}

TEST_F(PatchTest, ConflictsStopTheWholePatchUnlessSkipped) {
    const std::string part = IdOf(old, kPartTable, 3);
    const std::uint32_t price = Get(old, kPartTable, 3, kPrice, 4);
    const struct {
        const char* what;
        std::function<void(TableStore&)> change; // on the release, at record 3 of Part
        std::string found, skipped;
    } cases[] = {
        {"another price", [](TableStore& s) { Put(s, kPartTable, 3, kPrice, 4, 99); }, "found 99,",
         "5 changes made, 0 already present, 1 conflicting"},
        {"TypeID gone", [](TableStore& s) { Put(s, kPartTable, 3, 4, 4, 0x0BADF00D); },
         "found no record holds this TypeID,", "4 changes made, 0 already present, 2 conflicting"},
        {"TypeID twice", [&](TableStore& s) { Put(s, kPartTable, 4, 4, 4, std::stoul(part)); },
         "found 2 records hold this TypeID,", "4 changes made, 0 already present, 2 conflicting"},
    };
    for (const auto& c : cases) {
        TableStore release = old;
        c.change(release);
        Write(release);
        const std::string before = ReadFileText(target);
        CliRun run = RunCli({"apply", target, patch});
        EXPECT_EQ(run.status, 1) << c.what;
        const std::string line = "Conflict: Part TypeID " + part + " Price: expected " +
                                 std::to_string(price) + ", " + c.found + " wanted 4321\n";
        EXPECT_NE(run.err.find(line), std::string::npos) << c.what << ": " << run.err;
        EXPECT_TRUE(ReadFileText(target) == before) << c.what;

        run = RunCli({"apply", target, patch, "--skip-conflicts"});
        EXPECT_EQ(run.status, 0) << c.what;
        EXPECT_NE(run.out.find("Skipped: Part TypeID " + part + " Price"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(c.skipped), std::string::npos) << run.out;
        const TableStore after = LoadArchive(target).store;
        EXPECT_EQ(Get(after, kMascotTable, 1, kPrice, 4), 777u) << c.what;
    }
}
