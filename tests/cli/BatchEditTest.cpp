// set --where: which records the conditions pick, what the assignments compute, and the
// refusals, after which the archive is byte-identical.
#include "CliTestSupport.h"

#include "tools/cli/ArchiveFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace ledgrin;
using namespace ledgrin::cli;
using namespace ledgrin::clitest;

namespace {

constexpr std::size_t kPrice = 0x5C, kName = 0x08;

class BatchEditTest : public testing::Test {
  protected:
    ScratchDir dir;
    std::string archive = dir / "tarvik_gb.iff";
    void SetUp() override { WriteDemo(archive); }

    // The Part records a dry run with these conditions would change.
    std::set<std::size_t> Picked(const std::vector<std::string>& conditions) {
        std::vector<std::string> args = {"set", archive, "Part", "DiscountPrice=4000000000", "--dry-run"};
        for (const std::string& c : conditions)
            args.insert(args.end(), {"--where", c});
        CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        std::set<std::size_t> picked;
        for (std::size_t at = 0; (at = run.out.find("Part.iff record ", at)) != std::string::npos; ++at)
            picked.insert(std::stoul(run.out.substr(at + 16)));
        return picked;
    }
};

} // namespace

TEST_F(BatchEditTest, ConditionsPickExactlyTheRecordsTheyDescribe) {
    const TableStore store = LoadArchive(archive).store;
    const std::uint32_t p = Get(store, kPartTable, 5, kPrice, 4);
    using Compare = std::function<bool(std::uint32_t, std::uint32_t)>;
    const struct {
        const char* op;
        Compare holds;
    } ops[] = {{"=", std::equal_to<>()},    {"!=", std::not_equal_to<>()}, {"<", std::less<>()},
               {"<=", std::less_equal<>()}, {">", std::greater<>()},       {">=", std::greater_equal<>()}};
    for (const auto& o : ops) {
        std::set<std::size_t> expected;
        for (std::size_t i = 0; i < store[kPartTable].RecordCount; ++i)
            if (o.holds(Get(store, kPartTable, i, kPrice, 4), p) && i != 7) expected.insert(i);
        EXPECT_EQ(Picked({std::string("price") + o.op + std::to_string(p), "Index!=7"}), expected) << o.op;
    }
    // The editor's search: any letter case, anywhere in the name; several conditions all hold.
    const std::string name(reinterpret_cast<const char*>(store.Record(kPartTable, 37) + kName));
    std::string upper;
    for (char c : name.substr(1, 6))
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(Picked({"NAME~" + upper, "Index>=37", "Index<=37"}), std::set<std::size_t>{37});
}

TEST_F(BatchEditTest, AssignmentsComputeFromTheStoredValueAndRefusalsWriteNothing) {
    const struct {
        std::uint32_t stored;
        std::string assignment;
        int status;
        std::string result; // the Price written, or what standard error says
    } cases[] = {
        {3, "Price*=1.5", 0, "5"},     // 4.5: halves away from zero
        {5, "Price*=0.5", 0, "3"},     // 2.5
        {100, "Price*=1.1", 0, "110"}, // no binary rounding
        {7, "Price*=0.07", 0, "0"},    // 0.49
        {100, "Price+=4294967195", 0, "4294967295"},
        {100, "Price-=100", 0, "0"},
        {100, "Price=0x10", 0, "16"},
        {100, "Price+=4294967196", 1, "Price: 100 + 4294967196 = 4294967296 does not fit its 32-bit field"},
        {100, "Price-=101", 1, "Price: 100 - 101 is below 0"},
        {100, "Level=17", 1, "Level cannot become 17"},
        {100, "Price<=5", 2, "expected FIELD=V, FIELD+=N, FIELD-=N or FIELD*=F"},
        {100, "Prize=5", 2, "unknown column \"Prize\""},
        {100, "Name+=1", 2, "+= takes a numeric field, not Name"},
        {100, "TypeID=5", 2, "TypeID is read-only"},
        {100, "CharacterLabel=x", 2, "CharacterLabel is read-only"},
        {100, "Price*=1.2.3", 2, "\"1.2.3\" is not a decimal number"},
        {100, "Price*=1234567890", 2, "is not a decimal number of at most 9 digits"},
        {100, "Price+=-1", 2, "\"-1\" is not an unsigned number"},
    };
    TableStore store = LoadArchive(archive).store;
    for (const auto& c : cases) {
        Put(store, kPartTable, 4, kPrice, 4, c.stored);
        ASSERT_EQ(SaveTables(store, {kPartTable}, archive), SaveAllResult::Saved);
        const std::string before = ReadFileText(archive);
        CliRun run = RunCli({"set", archive, "Part", "--where", "Index=4", c.assignment});
        EXPECT_EQ(run.status, c.status) << c.assignment << ": " << run.err;
        if (c.status == 0) {
            EXPECT_EQ(std::to_string(Get(LoadArchive(archive).store, kPartTable, 4, kPrice, 4)), c.result);
            continue;
        }
        EXPECT_NE(run.err.find(c.result), std::string::npos) << c.assignment << ": " << run.err;
        EXPECT_TRUE(ReadFileText(archive) == before) << c.assignment;
    }
}

TEST_F(BatchEditTest, BadConditionsAndConditionsMatchingNothingAreRefused) {
    const std::string before = ReadFileText(archive);
    const struct {
        std::string condition;
        int status;
        std::string error;
    } cases[] = {
        {"Price 5", 2, "expected name~TEXT or FIELD=V"},
        {"Pric>5", 2, "unknown column \"Pric\""},
        {"CharacterLabel=5", 2, "CharacterLabel is not a numeric column"},
        {"Price~5", 2, "~ searches the Name only"},
        {"Price>x", 2, "\"x\" is not an unsigned number"},
        {"name~no such name", 1, "no record of Part.iff matches the --where conditions; nothing was written"},
    };
    for (const auto& c : cases) {
        CliRun run = RunCli({"set", archive, "Part", "--where", c.condition, "Price=1"});
        EXPECT_EQ(run.status, c.status) << c.condition;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << c.condition << ": " << run.err;
    }
    EXPECT_TRUE(ReadFileText(archive) == before);
}
