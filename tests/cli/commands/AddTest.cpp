// add: a copy of a record under a new TypeID, changed with set's rules, byte for byte;
// and every refusal, after which the archive is byte-identical.
#include "tests/cli/CliTestSupport.h"

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

constexpr std::size_t kPrice = 0x5C;
using AddTest = CliTest;

} // namespace

TEST_F(AddTest, ACopyUnderItsOwnTypeIdWithTheAssignmentsAndADescription) {
    const std::string like = IdOf(demo, kPartTable, 3), fresh = "134299999";
    const CliRun run = RunCli({"add", archive, "Part", "--like", like, "--typeid", fresh, "Price=999",
                               "Description=A cap of one's own.", "--no-backup"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "Part.iff record 40, TypeID " + fresh)) << run.out;
    EXPECT_TRUE(Contains(run.out, "Part.iff: 1 record added; Desc.iff: 1 description appended.\n"))
        << run.out;
    const TableStore after = Load();
    ASSERT_EQ(after[kPartTable].RecordCount, 41u);
    // Every byte of record 3 but the TypeID and the Price (with PriceCopy, which Part lacks).
    Bytes expected(demo.Record(kPartTable, 3), demo.Record(kPartTable, 3) + RecordSize(kPartTable));
    test::Put(expected, 4, 4, 134299999u);
    test::Put(expected, kPrice, 4, 999);
    EXPECT_TRUE(Bytes(after.Record(kPartTable, 40), after.Record(kPartTable, 40) + RecordSize(kPartTable)) ==
                expected);
    for (TableIndex t = 1; t < kTableCount; ++t)
        EXPECT_TRUE(t == kPartTable || SameSlot(after[t], demo[t])) << EntryName(t);
    const TableSlot& desc = after[kDescTable];
    ASSERT_EQ(desc.RecordCount, demo[kDescTable].RecordCount + 1u);
    EXPECT_EQ(Get(desc.Records.data() + (desc.RecordCount - 1u) * 516, 4), 134299999u);
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(desc.Records.data()) + (desc.RecordCount - 1u) * 516 + 4),
        "A cap of one's own.");
}

TEST_F(AddTest, RefusalsSayWhyAndWriteNothing) {
    const std::string like = IdOf(demo, kPartTable, 3);
    const std::string descOnly =
        std::to_string(Get(demo.Record(kDescTable, demo[kDescTable].RecordCount - 1u), 4));
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--like", like, "--typeid", IdOf(demo, kMascotTable, 0)},
         "TypeID " + IdOf(demo, kMascotTable, 0) + " is held already, by Mascot.iff record 0"},
        {{"--like", like, "--typeid", descOnly}, "is held already, by Desc.iff record"},
        {{"--like", "12345", "--typeid", "777"}, "no record of Part.iff holds TypeID 12345"},
        {{"--like", like, "--typeid", "777", "TypeID=5"},
         "argument 7: the new record's TypeID is given by --typeid"},
        {{"--like", like, "--typeid", "777", "Enabled=0"},
         "ledgrin-cli: add: argument 7: Enabled is read-only"},
    };
    const std::string before = ReadFileText(archive);
    for (const auto& c : cases) {
        std::vector<std::string> args = {"add", archive, "Part"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 1) << c.error;
        EXPECT_TRUE(Contains(run.err, c.error) && Contains(run.err, "nothing was written")) << run.err;
    }
    // A full table: 65,535 records, the most a table can hold.
    TableStore full = demo;
    TableSlot& part = full[kPartTable];
    part.Records.resize(65535 * RecordSize(kPartTable));
    part.RecordCount = 65535;
    Write(full);
    const std::string fullBefore = ReadFileText(archive);
    const CliRun run = RunCli({"add", archive, "Part", "--like", like, "--typeid", "777"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        run.err,
        "ledgrin-cli: Part.iff already holds 65535 records, the most a table can; nothing was written\n");
    EXPECT_TRUE(ReadFileText(archive) == fullBefore);
    Write(demo);
    EXPECT_TRUE(ReadFileText(archive) == before);
}
