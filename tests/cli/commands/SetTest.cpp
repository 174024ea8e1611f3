// set --where: which records the conditions pick, what the assignments compute, and the
// refusals, after which the archive is byte-identical.
#include "tests/cli/CliTestSupport.h"

#include <functional>
#include <set>

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

constexpr std::size_t kPrice = 0x5C;
using SetTest = CliTest;

} // namespace

TEST_F(SetTest, ConditionsPickExactlyTheRecordsTheyDescribe) {
    // The Part records a dry run with these conditions would change.
    auto picked = [&](const std::vector<std::string>& conditions) {
        std::vector<std::string> args = {"set", archive, "Part", "DiscountPrice=4000000000", "--dry-run"};
        for (const std::string& c : conditions)
            args.insert(args.end(), {"--where", c});
        const std::string out = RunCli(args).out;
        std::set<std::size_t> records;
        for (std::size_t at = 0; (at = out.find("Part.iff record ", at)) != std::string::npos; ++at)
            records.insert(std::stoul(out.substr(at + 16)));
        return records;
    };
    const std::uint32_t p = Get(demo, kPartTable, 5, kPrice, 4);
    const std::pair<const char*, std::function<bool(std::uint32_t, std::uint32_t)>> ops[] = {
        {"=", std::equal_to<>()},    {"!=", std::not_equal_to<>()}, {"<", std::less<>()},
        {"<=", std::less_equal<>()}, {">", std::greater<>()},       {">=", std::greater_equal<>()}};
    for (const auto& [op, holds] : ops) {
        std::set<std::size_t> expected;
        for (std::size_t i = 0; i < demo[kPartTable].RecordCount; ++i)
            if (holds(Get(demo, kPartTable, i, kPrice, 4), p) && i != 7) expected.insert(i);
        EXPECT_EQ(picked({std::string("price") + op + std::to_string(p), "Index!=7"}), expected) << op;
    }
}

TEST_F(SetTest, AssignmentsComputeFromTheStoredValueAndRefusalsWriteNothing) {
    const struct {
        std::uint32_t stored;
        std::string condition, assignment;
        int status;
        std::string result; // the Price written, or what standard error says
    } cases[] = {
        {3, "Index=4", "Price*=1.5", 0, "5"}, // 4.5: halves away from zero
        {100, "Index=4", "Price+=4294967195", 0, "4294967295"},
        {100, "Index=4", "Price-=100", 0, "0"},
        {100, "Index=4", "Price+=4294967196", 1,
         "Price: 100 + 4294967196 = 4294967296 does not fit its 32-bit"},
        {100, "Index=4", "Price-=101", 1, "Price: 100 - 101 is below 0"},
        {100, "name~no such name", "Price=1", 1, "no record of Part.iff matches the --where conditions"},
        {100, "Index=4", "Price<=5", 2, "expected FIELD=V, FIELD+=N, FIELD-=N or FIELD*=F"},
    };
    TableStore store = demo;
    for (const auto& c : cases) {
        Put(store, kPartTable, 4, kPrice, 4, c.stored);
        Write(store);
        const std::string before = ReadFileText(archive);
        CliRun run = RunCli({"set", archive, "Part", "--where", c.condition, c.assignment, "--no-backup"});
        EXPECT_EQ(run.status, c.status) << c.assignment << ": " << run.err;
        if (c.status == 0) {
            EXPECT_EQ(std::to_string(Get(Load(), kPartTable, 4, kPrice, 4)), c.result);
            continue;
        }
        EXPECT_TRUE(Contains(run.err, c.result)) << c.assignment << ": " << run.err;
        EXPECT_TRUE(ReadFileText(archive) == before) << c.assignment;
    }
}

// A message about an argument names its word on the command line, options counted.
TEST_F(SetTest, AnArgumentIsNamedByItsPlaceAmongAllTheWords) {
    const CliRun run = RunCli(
        {"set", "--dry-run", "--keep-backups", "3", archive, "Part", IdOf(demo, kPartTable, 0), "Power=x"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ledgrin-cli: set: argument 7: Power: \"x\" is not an unsigned number\n"
                       "ledgrin-cli: nothing was written\n");
}

// A file beside the archive with a backup's name but a sequence number past any count
// is no backup: the write succeeds, says so, and leaves the file alone.
TEST_F(SetTest, AnOddBackupNameNeitherFailsTheWriteNorIsPruned) {
    const std::string odd = dir / "tarvik_gb.iff.20240101-120000-99999999999999999999.bak";
    ASSERT_TRUE(WriteFileText(odd, "not ours"));
    const CliRun run =
        RunCli({"set", archive, "Part", IdOf(demo, kPartTable, 0), "Price=5", "--keep-backups", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Part.iff: 1 record changed; Desc.iff: 0 descriptions rewritten, 0 appended.\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadFileText(odd), "not ours");
    EXPECT_EQ(Get(Load(), kPartTable, 0, kPrice, 4), 5u);
}
