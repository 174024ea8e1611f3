#include "tools/DemoCommand.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace ledgrin;

namespace {

bool Parse(std::vector<std::string> args, DemoCommand& command) {
    return ParseDemoCommand(args, command);
}

} // namespace

TEST(DemoCommandLine, NoArgumentsWriteTheRealisticDefaultArchive) {
    DemoCommand c;
    ASSERT_TRUE(Parse({}, c));
    EXPECT_EQ(c.action, DemoAction::Write);
    EXPECT_EQ(c.options.size, DemoSize::Realistic);
    EXPECT_EQ(c.path, "tarvik_gb.iff");
}

TEST(DemoCommandLine, SizeSeedAndOutputAreTaken) {
    DemoCommand c;
    ASSERT_TRUE(Parse({"--size", "max", "--seed", "4294967295", "-o", "out/demo.iff"}, c));
    EXPECT_EQ(c.action, DemoAction::Write);
    EXPECT_EQ(c.options.size, DemoSize::Max);
    EXPECT_EQ(c.options.seed, 4294967295u);
    EXPECT_EQ(c.path, "out/demo.iff");
    ASSERT_TRUE(Parse({"--seed", "0", "--size", "small"}, c));
    EXPECT_EQ(c.options.size, DemoSize::Small);
    EXPECT_EQ(c.options.seed, 0u);
}

TEST(DemoCommandLine, SummaryNamesTheArchiveToRead) {
    DemoCommand c;
    ASSERT_TRUE(Parse({"--summary", "game.iff"}, c));
    EXPECT_EQ(c.action, DemoAction::Summary);
    EXPECT_EQ(c.path, "game.iff");
    ASSERT_TRUE(Parse({"-?"}, c));
    EXPECT_EQ(c.action, DemoAction::Help);
}

TEST(DemoCommandLine, UsageErrorsAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--size"},                              // value missing
        {"--size", "huge"},                      // unknown size
        {"--size", "Small"},                     // sizes are lower case
        {"--seed", "-1"},                        // not a number
        {"--seed", "12x"},                       //
        {"--seed", "4294967296"},                // above 32 bits
        {"--seed", ""},                          //
        {"-o", ""},                              // no file name
        {"--colour", "blue"},                    // unknown option
        {"tarvik_gb.iff"},                       // a bare name
        {"--summary", "a.iff", "--size", "max"}, // a summary writes nothing
        {"-o", "a.iff", "--summary", "b.iff"},
    };
    for (const auto& args : bad) {
        DemoCommand c;
        EXPECT_FALSE(Parse(args, c)) << ::testing::PrintToString(args);
    }
}

TEST(DemoSummaryText, OneAlignedLinePerTableBelowTheHeader) {
    TableStore store;
    for (TableIndex t = 0; t < kTableCount; ++t)
        store[t].Version = 13;
    store[kPartTable].RecordCount = 65535;
    store[kPartTable].HeaderWord2 = 0x1234;
    store[kCardTable].RecordCount = 7;
    store[kCardTable].HeaderWord2 = 0xFFFE;
    store[kCardTable].Version = 12;
    std::istringstream text(FormatTableSummary(store));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "Table           Records HeaderWord2 Version");
    EXPECT_EQ(lines[1], "Desc.iff              0      0x0000      13");
    EXPECT_EQ(lines[2], "Part.iff          65535      0x1234      13");
    EXPECT_EQ(lines[14], "Card.iff              7      0xFFFE      12");
    for (const std::string& line : lines)
        EXPECT_EQ(line.size(), lines[0].size()) << line;
}
