#include "records/TableBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace ledgrin {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(const TableBytes& b) {
    return Bytes(b.begin(), b.end());
}

// Both sides of the size at which blocks are mapped with huge pages advised, and a mapped
// block that the next record no longer fits (the header room is part of it).
constexpr std::size_t kSizes[] = {
    0, 1, 544, 256 * 1024 - 9, 256 * 1024, (std::size_t{2} << 20) - 108, (std::size_t{2} << 20) + 3};

Bytes Counting(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return b;
}

TEST(TableBytes, GrowingKeepsTheBytesAndZeroesOnlyTheNewOnes) {
    for (std::size_t n : kSizes) {
        SCOPED_TRACE(n);
        const Bytes start = Counting(n);
        TableBytes b;
        b.Append(start.data(), start.size());
        for (std::size_t grown : {n + 1, 2 * n + 516, 3 * n + 1000}) {
            b.resize(grown);
            Bytes expected = start;
            expected.resize(grown);
            ASSERT_EQ(Of(b), expected);
            ASSERT_NE(b.HeaderRoom(), nullptr);
            ASSERT_EQ(b.HeaderRoom() + TableBytes::kHeaderRoom, b.data());
        }
        // Shrinking and growing again within the memory it has still zeroes the bytes.
        b[n] = b[n + 1] = 0xEE;
        b.resize(n);
        b.resize(n + 2);
        Bytes expected = start;
        expected.resize(n + 2);
        EXPECT_EQ(Of(b), expected);
    }
}

TEST(TableBytes, AppendingItsOwnRecordCopiesItWhileTheBufferMoves) {
    // Add copies a record of the table onto its end: the growth must not lose the source.
    for (std::size_t n : kSizes) {
        if (n < 545) continue;
        SCOPED_TRACE(n);
        TableBytes b;
        const Bytes start = Counting(n);
        b.Append(start.data(), start.size());
        b.ShrinkToFit();
        for (int i = 0; i < 3; ++i)
            b.Append(b.data() + 1, 544);
        Bytes expected = start;
        for (int i = 0; i < 3; ++i)
            expected.insert(expected.end(), start.begin() + 1, start.begin() + 545);
        EXPECT_EQ(Of(b), expected);
    }
}

TEST(TableBytes, CopiesAreDeepAndMovesLeaveNothingBehind) {
    for (std::size_t n : kSizes) {
        SCOPED_TRACE(n);
        const Bytes start = Counting(n);
        TableBytes a;
        a.Append(start.data(), start.size());
        TableBytes copy = a;
        if (n > 0) copy[0] ^= 0xFF;
        EXPECT_EQ(Of(a), start);
        EXPECT_EQ(copy == a, n == 0);
        TableBytes moved = std::move(a);
        EXPECT_EQ(Of(moved), start);
        EXPECT_TRUE(a.empty());
        EXPECT_EQ(a.HeaderRoom(), nullptr);
        copy = moved;
        EXPECT_TRUE(copy == moved);
        moved.ShrinkToFit();
        EXPECT_EQ(Of(moved), start);
        moved.Release();
        EXPECT_TRUE(moved.empty());
        EXPECT_EQ(moved.capacity(), 0u);
    }
}

TEST(TableBytes, UninitialisedAndReusedBuffersHaveTheSizeAskedFor) {
    TableBytes b = TableBytes::Uninitialised(300 * 1024);
    EXPECT_EQ(b.size(), 300u * 1024);
    EXPECT_GE(b.capacity(), b.size());
    b.ReuseFor(10);
    EXPECT_EQ(b.size(), 10u);
    b.ReuseFor(3u << 20);
    EXPECT_EQ(b.size(), 3u << 20);
    b.data()[b.size() - 1] = 1; // the whole size is there to write
    b.HeaderRoom()[0] = 1;
}

} // namespace
} // namespace ledgrin
