#include "records/DescRecord.h"
#include "tests/records/RecordBytes.h"

#include <string>
#include <string_view>

namespace ledgrin {
namespace {

using test::Bytes;
using test::ExpectSameBytes;

// Desc records back to back: TypeID at 0, text at 4..515, pattern bytes behind the text.
Bytes DescTable(std::initializer_list<std::pair<std::uint32_t, const char*>> records) {
    Bytes table;
    for (const auto& [typeId, text] : records) {
        Bytes rec = test::Pattern(516);
        test::Put(rec, 0, 4, typeId);
        const std::string_view view = text;
        std::copy(view.begin(), view.end(), rec.begin() + 4);
        rec[4 + view.size()] = 0;
        table.insert(table.end(), rec.begin(), rec.end());
    }
    return table;
}

std::string Letters(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

TEST(FindDescription, TakesTheFirstOfTheCountedRecordsWithTheTypeID) {
    const Bytes table = DescTable({{7, "seven"}, {42, "first"}, {42, "second"}});
    EXPECT_EQ(FindDescription(table.data(), 3, 42), 1u);
    EXPECT_EQ(FindDescription(table.data(), 3, 8), kNoDescription);
    EXPECT_EQ(FindDescription(table.data(), 1, 42), kNoDescription);
    EXPECT_EQ(FindDescription(nullptr, 0, 0), kNoDescription); // an empty Desc table
}

TEST(DescDisplay, ShowsLineFeedsAsCrLfUpToTheNulOrThe512thByte) {
    EXPECT_EQ(DescTextForDisplay(DescTable({{1, "Line one\nLine two\n\n"}}).data()),
              "Line one\r\nLine two\r\n\r\n");
    EXPECT_EQ(DescTextForDisplay(DescTable({{1, ""}}).data()), "");

    Bytes table = DescTable({{1, ""}, {0x41414141, "next"}});
    const std::string full = Letters(512);
    std::copy(full.begin(), full.end(), table.begin() + 4);
    EXPECT_EQ(DescTextForDisplay(table.data()), full); // nothing of the next record's "AAAA"
}

TEST(DescWrite, StoresTheTextWithoutCarriageReturnsZeroPaddedAndAtMost512Bytes) {
    std::string long600; // a carriage return before each of 600 letters: the returns do not count
    for (char letter : Letters(600))
        long600 += {'\r', letter};
    const std::pair<std::string, std::string> cases[] = {{"Line one\r\nLine two", "Line one\nLine two"},
                                                         {"", ""},
                                                         {std::string("ab\0cd", 5), "ab"},
                                                         {long600, Letters(512)}};
    for (const auto& [entered, stored] : cases) {
        Bytes table = DescTable({{1, "old"}, {2, "neighbour"}});
        Bytes expected = table;
        test::PutText(expected, 4, stored, 512);
        WriteDescText(table.data(), entered);
        ExpectSameBytes(expected, table);
    }
}

} // namespace
} // namespace ledgrin
