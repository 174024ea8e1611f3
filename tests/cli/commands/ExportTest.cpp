// export: the same bytes to standard output and to a file, the format from --format or
// the file's name, and a table name it does not know.
#include "tests/cli/CliTestSupport.h"

using namespace ledgrin;
using namespace ledgrin::clitest;

namespace {

using ExportTest = CliTest;

} // namespace

TEST_F(ExportTest, OneTableToStandardOutputOrAFileInTheFormatAsked) {
    const CliRun csv = RunCli({"export", archive, "mascot"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out.rfind("Index,Enabled,TypeID,Name,", 0), 0u) << csv.out.substr(0, 80);
    std::size_t records = 0; // CR LF ends a record; descriptions hold bare line feeds
    for (std::size_t at = 0; (at = csv.out.find("\r\n", at)) != std::string::npos; at += 2)
        ++records;
    EXPECT_EQ(records, 1u + demo[kMascotTable].RecordCount);
    const struct {
        std::vector<std::string> options;
        std::string file;
        bool json;
    } cases[] = {
        {{}, "m.csv", false},
        {{}, "m.JSON", true},
        {{"--format", "csv"}, "m.json", false},
        {{"--format=json"}, "m.txt", true},
    };
    const std::string json = RunCli({"export", archive, "Mascot", "--format", "json"}).out;
    EXPECT_EQ(json.rfind("[\n  {\"Index\": 0, \"Enabled\": ", 0), 0u) << json.substr(0, 80);
    for (const auto& c : cases) {
        std::vector<std::string> args = {"export", archive, "Mascot.iff", "-o", dir / c.file};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 0) << c.file;
        EXPECT_EQ(run.out, "") << c.file;
        EXPECT_TRUE(ReadFileText(dir / c.file) == (c.json ? json : csv.out)) << c.file;
    }
    const CliRun unknown = RunCli({"export", archive, "Mascots"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(
        unknown.err.rfind("ledgrin-cli: export: unknown table \"Mascots\"\nUsage: ledgrin-cli export ", 0),
        0u)
        << unknown.err;
}

// export uses only its table and Desc: a damaged other table leaves its output as it was,
// and a damaged Desc or table of its own is refused with the loader's reason.
TEST_F(ExportTest, ADamagedOtherTableChangesNothingButItsOwnAndDescAreRequired) {
    const CliRun good = RunCli({"export", archive, "Mascot"});
    ASSERT_EQ(good.status, 0) << good.err;
    const auto halve = [](Bytes& b) { b.resize(8 + (b.size() - 8) / 2); };
    ASSERT_TRUE(WriteDemoTables(archive, demo, kCardTable, halve));
    const CliRun other = RunCli({"export", archive, "Mascot"});
    EXPECT_EQ(other.status, 0);
    EXPECT_TRUE(other.out == good.out);
    EXPECT_EQ(other.err, "");
    for (const TableIndex t : {kDescTable, kMascotTable}) {
        ASSERT_TRUE(WriteDemoTables(archive, demo, t, halve));
        const CliRun refused = RunCli({"export", archive, "Mascot"});
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(
            refused.err.rfind("ledgrin-cli: " + archive + ": " + EntryName(t) + ": the header promises ", 0),
            0u)
            << refused.err;
    }
}
