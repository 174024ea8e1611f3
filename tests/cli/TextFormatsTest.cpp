// CSV, JSON and number rules of the import and export files, and the decoded columns.
#include "cli/CliText.h"
#include "cli/Csv.h"
#include "cli/Json.h"
#include "cli/TableColumns.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

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
    for (const char* bad : {"", "  ", "-1", "+1", "1.5", "1e3", "0x", "12a", "0x1G", "99999999999x"})
        EXPECT_EQ(ParseUnsigned(bad, v), NumberParse::NotANumber) << bad;
    EXPECT_TRUE(FitsWidth(255, 1) && FitsWidth(65535, 2) && FitsWidth(4294967295u, 4));
    EXPECT_FALSE(FitsWidth(256, 1) || FitsWidth(65536, 2));
}

// The appended number is std::to_string's text, at both ends of each width.
TEST(Numbers, AppendDecimalWritesWhatToStringWrites) {
    for (std::uint64_t v : {0ull, 1ull, 9ull, 10ull, 99ull, 100ull, 65535ull, 4294967295ull, 4294967296ull,
                            9999999999999999999ull, 18446744073709551615ull}) {
        std::string out = "x";
        AppendDecimal(out, v);
        EXPECT_EQ(out, "x" + std::to_string(v));
    }
    EXPECT_EQ(Decimal(0), "0");
    EXPECT_EQ(Decimal(4294967295u), "4294967295");
}

// Every byte, alone and between others, quoted as a message and as JSON: in runs of plain
// bytes the escapes must land where they did byte by byte.
TEST(Quoting, EachByteIsEscapedOrKeptByItsStyle) {
    const auto expected = [](unsigned char b, QuoteStyle style) -> std::string {
        const bool json = style == QuoteStyle::Json;
        switch (b) {
        case '"': return "\\\"";
        case '\\': return "\\\\";
        case '\n': return "\\n";
        case '\r': return "\\r";
        case '\t': return "\\t";
        }
        if (b < 0x20 || (json ? b >= 0x80 : b == 0x7F)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, json ? "\\u%04X" : "\\x%02X", b);
            return escape;
        }
        return std::string(1, static_cast<char>(b));
    };
    for (QuoteStyle style : {QuoteStyle::Message, QuoteStyle::Json}) {
        std::string all = "\"", alone;
        for (int b = 0; b < 256; ++b) {
            const std::string one = expected(static_cast<unsigned char>(b), style);
            alone.clear();
            AppendQuoted(alone, std::string(1, static_cast<char>(b)), style);
            EXPECT_EQ(alone, "\"" + one + "\"") << b;
            all += "ab" + one;
        }
        std::string text;
        for (int b = 0; b < 256; ++b)
            text += "ab" + std::string(1, static_cast<char>(b));
        std::string out = "x";
        AppendQuoted(out, text, style);
        EXPECT_EQ(out, "x" + all + "\"");
    }
    EXPECT_EQ(QuotedText(""), "\"\"");
}

TEST(Csv, AFieldIsQuotedWhenItHoldsAQuoteACommaOrALineEnd) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"plain \xE9", "plain \xE9"},
        {"\"", "\"\"\"\""},
        {"\"\"a\"", "\"\"\"\"\"a\"\"\""},
        {"a\"\"b", "\"a\"\"\"\"b\""},
        {",", "\",\""},
        {"a\rb", "\"a\rb\""},
        {"end\n", "\"end\n\""},
    };
    for (const auto& [field, written] : cases) {
        std::string out = "x";
        AppendCsvField(out, field);
        EXPECT_EQ(out, "x" + written) << field;
    }
}

// One row is refilled record by record: nothing of a longer or quoted record stays in the
// next, and a record with too many fields between them is reported and skipped.
TEST(Csv, ARowReadAfterAnotherHoldsOnlyItsOwnCells) {
    CsvReader reader("A,B\r\n\"x\"\"y\",long text\r\n1,2,3,4\r\n,\r\nz,\"\"\r\n");
    ASSERT_EQ(reader.header().size(), 2u);
    EXPECT_EQ(reader.header()[1].column, "B");
    InputRow row;
    std::vector<std::vector<std::string>> rows;
    std::vector<int> lines;
    while (reader.Next(row)) {
        std::vector<std::string>& cells = rows.emplace_back();
        for (const InputCell& cell : row.cells)
            cells.push_back(cell.column + "=" + cell.text);
        lines.push_back(row.at.number);
    }
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{
                        {"A=x\"y", "B=long text"}, {"A=", "B="}, {"A=z", "B="}}));
    EXPECT_EQ(lines, (std::vector<int>{2, 4, 5}));
    ASSERT_EQ(reader.problems().size(), 1u);
    EXPECT_EQ(reader.problems()[0].at.number, 3);
    EXPECT_EQ(reader.problems()[0].message, "the record has 4 fields, the header 2");
}

TEST(Csv, QuotesOnlyWhatNeedsItEveryByteSurvivesAndRowsNameTheirLines) {
    std::string out;
    AppendCsvRecord(out, {"plain", "a,b", "say \"hi\"", "two\nlines", "", "caf\xE9"});
    EXPECT_EQ(out, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",,caf\xE9\r\n");

    // Behind a byte-order mark: the header on line 1, a row on lines 2 to 4, one from line 5.
    std::string file = "\xEF\xBB\xBF";
    AppendCsvRecord(file, {"TypeID", "Name"});
    AppendCsvRecord(file, {"1", "\r\n\r\n"});
    AppendCsvRecord(file, {"2", AllBytes()});
    InputRows read = ReadCsv(file);
    ASSERT_TRUE(read.problems.empty());
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].cells[0].column, "TypeID");
    EXPECT_EQ(read.rows[0].cells[1].text, "\r\n\r\n");
    EXPECT_EQ(read.rows[1].at.number, 5);
    EXPECT_EQ(read.rows[1].cells[1].text, AllBytes());

    std::vector<int> lines; // too few and too many fields
    for (const Problem& e : ReadCsv("A,B\n1,2\n3\n4,5,6\n").problems)
        lines.push_back(e.at.number);
    EXPECT_EQ(lines, (std::vector<int>{3, 4}));
}

TEST(Json, StaysAsciiEveryByteSurvivesAndAnErrorNamesItsLine) {
    std::string escaped;
    AppendJsonString(escaped, "a\"\\\n\t\x01\x7F\x80\xFF");
    EXPECT_EQ(escaped, "\"a\\\"\\\\\\n\\t\\u0001\x7F\\u0080\\u00FF\"");

    const std::string text = std::string(1, '\0') + AllBytes();
    std::string file = "[\n  {\"TypeID\": 12, \"Name\": ";
    AppendJsonString(file, text);
    // Raw bytes from 0x80 up are taken as they stand.
    file += ", \"Raw\": \"caf\xC3\xA9\"}\n]\n";
    InputRows read = ReadJson(file);
    ASSERT_TRUE(read.problems.empty());
    ASSERT_EQ(read.rows.size(), 1u);
    ASSERT_EQ(read.rows[0].cells.size(), 3u);
    EXPECT_EQ(read.rows[0].at.number, 2);
    EXPECT_EQ(read.rows[0].cells[0].text, "12");
    EXPECT_EQ(read.rows[0].cells[1].text, text);
    EXPECT_EQ(read.rows[0].cells[2].text, "caf\xC3\xA9");
}

// Shared files are read strictly: each fault is refused at its line and column, no rows kept.
TEST(Json, RefusesWhatAReaderCouldTakeTwoWays) {
    const struct {
        std::string text;
        int line, column;
        const char* message;
    } cases[] = {
        {"[\n\n{\"A\": {\"B\": 1}}]", 3, 7, "the value of \"A\" is neither a string nor a number"},
        {"[{\"Price\": 1,\n  \"Price\": 2}]", 2, 3, "the member \"Price\" is given twice in one object"},
        {"[{\"Name\": \"a\x01"
         "b\"}]",
         1, 13, "a control byte inside a string must be escaped"},
        {"[{\"Name\": \"a\nb\"}]", 1, 13, "a control byte inside a string must be escaped"},
        {"[{\"A\": 012}]", 1, 8, "a number may not start with 0"},
        {"[{\"A\": 1.}]", 1, 10, "a number needs a digit here"},
        {"[{\"A\": \"\\u0100\"}]", 1, 9, "\\u escapes above \\u00FF are not bytes"},
        {"[{\"A\": 1},]", 1, 11, "expected a value, found ']'"},
        {"[{\"A\": 1} {\"A\": 2}]", 1, 11, "expected ',' or ']'"},
        {"[{\"A\": 1}] x", 1, 12, "text after the end of the JSON value"},
        {"[{\"A\": 1}", 1, 10, "unexpected end of the file"},
    };
    for (const auto& c : cases) {
        const InputRows read = ReadJson(c.text);
        ASSERT_EQ(read.problems.size(), 1u) << c.text;
        EXPECT_EQ(read.problems[0].at.number, c.line) << c.text;
        EXPECT_EQ(read.problems[0].at.column, c.column) << c.text;
        EXPECT_EQ(read.problems[0].message.rfind(c.message, 0), 0u) << read.problems[0].message;
        EXPECT_TRUE(read.rows.empty()) << c.text;
    }
    // Any value is walked without recursion, 64 levels deep and no deeper.
    const std::string deepest = std::string(64, '[') + std::string(64, ']'),
                      deeper = std::string(65, '[') + std::string(65, ']');
    JsonReader reader(deepest);
    reader.SkipValue();
    reader.Finish();
    try {
        JsonReader(deeper).SkipValue();
        ADD_FAILURE() << "65 levels were read";
    } catch (const JsonError& e) {
        EXPECT_EQ(e.column, 65);
        EXPECT_EQ(e.message, "nested more than 64 levels deep");
    }
}

// The read-only columns an export adds, in their order, and what a TypeID's codes read as
// in them: a Code column its number, a Label column its text.
TEST(ExportColumns, DecodedColumnsInTheirOrderAndTheirTexts) {
    std::vector<std::uint8_t> record(RecordSize(kPartTable), 0);
    test::Put(record, 4, 4, 3u << 18); // TypeID: character 3
    std::string cells;
    for (const Column& column : TableColumns(kPartTable))
        if (column.kind == ColumnKind::Code || column.kind == ColumnKind::Label)
            cells += (cells.empty() ? "" : " ") + column.name + "=" + DecodedText(column, record.data());
    EXPECT_EQ(cells, "char=3 CharacterLabel=Delphine PartSlotLabel=Top RankLabel=Tee Novice");
}
