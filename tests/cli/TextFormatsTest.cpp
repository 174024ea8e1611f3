// CSV, JSON and number rules of the import and export files, and the decoded columns.
#include "tools/cli/CliText.h"
#include "tools/cli/Csv.h"
#include "tools/cli/Json.h"
#include "tools/cli/TableColumns.h"

#include <gtest/gtest.h>

using namespace ledgrin;
using namespace ledgrin::cli;

namespace {

// Every byte value but NUL, in one text: what a name or description may hold.
std::string AllBytes() {
    std::string text;
    for (int b = 1; b < 256; ++b)
        text += static_cast<char>(b);
    return text;
}

} // namespace

TEST(Numbers, DecimalHexSpacesAndTheLimits) {
    std::uint32_t v = 7;
    EXPECT_EQ(ParseUnsigned(" 4294967295 ", v), NumberParse::Ok);
    EXPECT_EQ(v, 4294967295u);
    EXPECT_EQ(ParseUnsigned("0x1F", v), NumberParse::Ok);
    EXPECT_EQ(v, 31u);
    EXPECT_EQ(ParseUnsigned("4294967296", v), NumberParse::TooLarge);
    EXPECT_EQ(ParseUnsigned("99999999999999999999999", v), NumberParse::TooLarge);
    for (const char* bad : {"", "  ", "-1", "+1", "1.5", "1e3", "0x", "12a", "0x1G", "99999999999x"})
        EXPECT_EQ(ParseUnsigned(bad, v), NumberParse::NotANumber) << bad;
    EXPECT_TRUE(FitsWidth(255, 1) && FitsWidth(65535, 2) && FitsWidth(4294967295u, 4));
    EXPECT_FALSE(FitsWidth(256, 1) || FitsWidth(65536, 2));
}

TEST(Csv, QuotesOnlyWhatNeedsItAndEveryByteSurvives) {
    std::string out;
    AppendCsvRecord(out, {"plain", "a,b", "say \"hi\"", "two\nlines", "", "caf\xE9"});
    EXPECT_EQ(out, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",,caf\xE9\r\n");

    std::string file;
    AppendCsvRecord(file, {"TypeID", "Name"});
    AppendCsvRecord(file, {"1", AllBytes()});
    AppendCsvRecord(file, {"2", "\r\n\r\n"});
    InputRows read = ReadCsv(file);
    ASSERT_TRUE(read.errors.empty());
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].cells[1].column, "Name");
    EXPECT_EQ(read.rows[0].cells[1].text, AllBytes());
    EXPECT_EQ(read.rows[1].cells[1].text, "\r\n\r\n");
}

TEST(Csv, RowsAndErrorsNameTheirLine) {
    // A byte-order mark; line 1 header, line 2 a row whose field runs to line 4, line 5
    // blank, line 6 a row.
    InputRows read = ReadCsv("\xEF\xBB\xBF"
                             "A,B\n1,\"x\ny\nz\"\n\n2,w\n");
    ASSERT_TRUE(read.errors.empty());
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].cells[0].column, "A");
    EXPECT_EQ(read.rows[0].line, 2);
    EXPECT_EQ(read.rows[1].line, 6);
    EXPECT_EQ(read.rows[1].cells[1].text, "w");

    const struct {
        const char* text;
        std::vector<int> lines;
    } malformed[] = {
        {"A,B\n1,2\n3\n4,5,6\n", {3, 4}}, // too few and too many fields
        {"A\n\"x\"y\n", {2}},             // text after a closing quote
        {"", {1}},
    };
    for (const auto& c : malformed) {
        std::vector<int> lines;
        for (const InputError& e : ReadCsv(c.text).errors)
            lines.push_back(e.line);
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

TEST(Json, StaysAsciiAndEveryByteSurvives) {
    std::string escaped;
    AppendJsonString(escaped, "a\"\\\n\t\x01\x7F\x80\xFF");
    EXPECT_EQ(escaped, "\"a\\\"\\\\\\n\\t\\u0001\x7F\\u0080\\u00FF\"");

    const std::string text = std::string(1, '\0') + AllBytes();
    std::string file = "[\n  {\"TypeID\": 12, \"Name\": ";
    AppendJsonString(file, text);
    // Raw bytes from 0x80 up and a number's text are taken as they stand.
    file += ", \"Raw\": \"caf\xC3\xA9\", \"Price\": -1.5e3},\n  {}\n]\n";
    InputRows read = ReadJson(file);
    ASSERT_TRUE(read.errors.empty());
    ASSERT_EQ(read.rows.size(), 2u);
    ASSERT_EQ(read.rows[0].cells.size(), 4u);
    EXPECT_EQ(read.rows[0].line, 2);
    EXPECT_EQ(read.rows[0].cells[0].text, "12");
    EXPECT_EQ(read.rows[0].cells[1].text, text);
    EXPECT_EQ(read.rows[0].cells[2].text, "caf\xC3\xA9");
    EXPECT_EQ(read.rows[0].cells[3].text, "-1.5e3"); // the importer rejects it, with its line
    EXPECT_TRUE(read.rows[1].cells.empty());
}

TEST(Json, WhatIsNotAFlatRowIsAnErrorOfItsLine) {
    const struct {
        const char* text;
        int line;
    } cases[] = {
        {"[\n{\"Name\": \"\\u0100\"}]", 2},    // not a byte
        {"[\n{\"Price\":\n null}]", 3},        // null
        {"[\n\n{\"A\": {\"B\": 1}}]", 3},      // nested object
        {"[{\"A\": \"x\"}\n\n{\"A\": 1}]", 3}, // missing comma
        {"[{\"A\": \"x\n\"}]", 1},             // raw line feed in a string
        {"{\"A\": 1}", 1},                     // not an array
        {"[{\"A\": 1}] x", 1},                 // text after the array
        {"[{\"A\": \"open", 1},                // unterminated
    };
    for (const auto& c : cases) {
        InputRows read = ReadJson(c.text);
        ASSERT_EQ(read.errors.size(), 1u) << c.text;
        EXPECT_EQ(read.errors[0].line, c.line) << c.text;
        EXPECT_TRUE(read.rows.empty()) << c.text;
    }
}

// The read-only columns an export adds, in their order, and what a TypeID's codes read as
// in them: a Code column its number, a Label column its text, empty where it means nothing.
TEST(ExportColumns, DecodedColumnsInTheirOrderAndTheirTexts) {
    const struct {
        TableIndex t;
        std::uint32_t typeId;
        std::string cells; // the decoded columns of a record with this TypeID, zero elsewhere
    } cases[] = {
        {kPartTable, 3u << 18, "char=3 CharacterLabel=Delphine PartSlotLabel=Top RankLabel=Tee Novice"},
        {kItemTable, 128u << 18, "char=128 ItemKindLabel=Passive RankLabel=Tee Novice"},
        {kItemTable, 64u << 18, "char=64 ItemKindLabel= RankLabel=Tee Novice"},
        {kSkinTable, 80u << 18, "char=80 SkinKindLabel=CutIn RankLabel=Tee Novice"},
        {kHairStyleTable, 0, "CharacterLabel=Ansel RankLabel=Tee Novice"},
        {kSetItemTable, (4u << 20) | (2u << 13),
         "SetGroup=4 ItemGroupLabel=Part pos=2 CharacterLabel=Caspian RankLabel=Tee Novice"},
        {kSetItemTable, (9u << 20) | (2u << 13),
         "SetGroup=9 ItemGroupLabel=Clubset pos=2 CharacterLabel= RankLabel=Tee Novice"},
        {kCardTable, 2u << 22,
         "CardKind=2 CardKindLabel=Effect Card CardVolumeLabel=Packs RankLabel=Tee Novice"},
        {kBallTable, 0, "RankLabel=Tee Novice"},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> record(RecordSize(c.t), 0);
        for (int i = 0; i < 4; ++i)
            record[4 + i] = static_cast<std::uint8_t>(c.typeId >> (8 * i));
        std::string cells;
        for (const Column& column : TableColumns(c.t))
            if (column.kind == ColumnKind::Code || column.kind == ColumnKind::Label)
                cells += (cells.empty() ? "" : " ") + column.name + "=" + DecodedText(column, record.data());
        EXPECT_EQ(cells, c.cells) << EntryName(c.t) << " " << c.typeId;
    }
}
