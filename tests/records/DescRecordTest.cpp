#include "records/DescRecord.h"
#include "tests/records/RecordBytes.h"

#include <string>

namespace ledgrin {
namespace {

using test::Bytes;
using test::ExpectSameBytes;

// Desc records back to back: TypeID at 0, text at 4..515.
Bytes DescTable(std::initializer_list<std::pair<std::uint32_t, const char*>> records) {
    Bytes table;
    for (const auto& [typeId, text] : records) {
        Bytes rec = test::Pattern(516);
        test::Put(rec, 0, 4, typeId);
        test::PutText(rec, 4, text, 512);
        table.insert(table.end(), rec.begin(), rec.end());
    }
    return table;
}

TEST(FindDescription, TakesTheFirstRecordWithTheTypeID) {
    const Bytes table = DescTable({{7, "seven"}, {42, "first"}, {42, "second"}});
    EXPECT_EQ(FindDescription(table.data(), 3, 42), 1u);
    EXPECT_EQ(FindDescription(table.data(), 3, 7), 0u);
    EXPECT_EQ(FindDescription(table.data(), 3, 8), kNoDescription);
    EXPECT_EQ(FindDescription(table.data(), 1, 42), kNoDescription); // only the counted records
}

TEST(FindDescription, FindsNothingInAnEmptyTable) {
    EXPECT_EQ(FindDescription(nullptr, 0, 0), kNoDescription);
}

TEST(DescDisplay, ShowsEachLineFeedAsCarriageReturnLineFeed) {
    const Bytes table = DescTable({{1, "Line one\nLine two\n\n"}});
    EXPECT_EQ(DescTextForDisplay(table.data()), "Line one\r\nLine two\r\n\r\n");
}

TEST(DescDisplay, EmptyTextShowsNothing) {
    const Bytes table = DescTable({{1, ""}});
    EXPECT_EQ(DescTextForDisplay(table.data()), "");
}

TEST(DescDisplay, AFullFieldWithoutNulEndsAtItsLastByte) {
    Bytes table = DescTable({{1, ""}, {0x41414141, "next"}});
    for (std::size_t i = 4; i < 516; ++i)
        table[i] = 'a' + i % 26;
    const std::string shown = DescTextForDisplay(table.data());
    ASSERT_EQ(shown.size(), 512u);
    EXPECT_EQ(shown.back(), 'a' + 515 % 26); // nothing of the next record's "AAAA"

    for (std::size_t i = 4; i < 516; ++i)
        table[i] = '\n';
    EXPECT_EQ(DescTextForDisplay(table.data()).size(), 1024u);
}

TEST(DescWrite, DropsCarriageReturnsAndZerosEverythingBehindTheText) {
    Bytes rec = test::Pattern(516);
    const Bytes before = rec;
    WriteDescText(rec.data(), "Line one\r\nLine two");
    Bytes expected = before;
    test::PutText(expected, 4, "Line one\nLine two", 512);
    ExpectSameBytes(expected, rec);
}

TEST(DescWrite, EmptyTextStores512Zeros) {
    Bytes rec = test::Pattern(516);
    WriteDescText(rec.data(), "");
    for (std::size_t i = 4; i < 516; ++i)
        ASSERT_EQ(rec[i], 0) << i;
    EXPECT_EQ(rec[0], test::Pattern(516)[0]);
}

TEST(DescWrite, StopsAfter512StoredBytesWithoutANul) {
    Bytes table = DescTable({{1, "old"}, {2, "neighbour"}});
    const Bytes before = table;
    // 600 characters with a carriage return before each: the returns do not count.
    std::string text;
    for (int i = 0; i < 600; ++i)
        text += std::string("\r") + char('a' + i % 26);
    WriteDescText(table.data(), text);
    Bytes expected = before;
    for (std::size_t i = 0; i < 512; ++i)
        expected[4 + i] = 'a' + i % 26;
    ExpectSameBytes(expected, table);
}

TEST(DescWrite, StopsAtAnEmbeddedNul) {
    Bytes rec = test::Pattern(516);
    WriteDescText(rec.data(), std::string_view("ab\0cd", 5));
    EXPECT_EQ(rec[4], 'a');
    EXPECT_EQ(rec[5], 'b');
    for (std::size_t i = 6; i < 516; ++i)
        ASSERT_EQ(rec[i], 0) << i;
}

TEST(DescRoundTrip, ShownTextStoredBackGivesTheSameBytes) {
    Bytes table = DescTable({{9, "Two\nlines"}});
    const Bytes before = table;
    WriteDescText(table.data(), DescTextForDisplay(table.data()));
    Bytes expected = before;
    test::PutText(expected, 4, "Two\nlines", 512);
    ExpectSameBytes(expected, table);
}

TEST(DescAppend, AddsRecordZeroToAnEmptyTable) {
    Bytes table;
    std::uint16_t count = 0;
    ASSERT_EQ(AppendDescription(table, count, 0x01020304, "New\r\nitem"), AppendResult::Appended);
    EXPECT_EQ(count, 1);
    Bytes expected(516, 0);
    expected[0] = 0x04, expected[1] = 0x03, expected[2] = 0x02, expected[3] = 0x01;
    test::PutText(expected, 4, "New\nitem", 512);
    ExpectSameBytes(expected, table);
}

TEST(DescAppend, KeepsTheExistingRecordsAndAnEmptyTextIsAllZero) {
    Bytes table = DescTable({{1, "one"}, {2, "two"}});
    const Bytes before = table;
    std::uint16_t count = 2;
    ASSERT_EQ(AppendDescription(table, count, 3, ""), AppendResult::Appended);
    EXPECT_EQ(count, 3);
    Bytes expected = before;
    expected.resize(3 * 516, 0);
    expected[2 * 516] = 3;
    ExpectSameBytes(expected, table);
    EXPECT_EQ(FindDescription(table.data(), count, 3), 2u);
}

TEST(DescAppend, RefusesA65536thRecordAndChangesNothing) {
    Bytes table(65535u * 516u, 0x5A);
    std::uint16_t count = 65535;
    EXPECT_EQ(AppendDescription(table, count, 1, "text"), AppendResult::TableFull);
    EXPECT_EQ(count, 65535);
    ASSERT_EQ(table.size(), 65535u * 516u);
    EXPECT_EQ(table.back(), 0x5A);

    std::uint16_t almost = 65534;
    Bytes grown(65534u * 516u, 0x5A);
    EXPECT_EQ(AppendDescription(grown, almost, 1, "text"), AppendResult::Appended);
    EXPECT_EQ(almost, 65535);
    EXPECT_EQ(grown.size(), 65535u * 516u);
}

} // namespace
} // namespace ledgrin
