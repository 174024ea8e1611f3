#include "archive/EntryName.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(EntryNames, WholeNamesWithOnlyAToZFolded) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"PART.IFF", "part.iff", true},
        {"cADDIEiTEM.iff", "CaddieItem.iff", true},
        {"data/Part.iff", "Part.iff", false},
        // Pairs that differ only in bit 5, as letters do, but are no letters.
        {"@", "`", false},
        // Latin-1 0xC4 and 0xE4 are a letter pair too, but only A to Z fold.
        {"\xC4.iff", "\xE4.iff", false},
        {"\xC4.iff", "\xC4.IFF", true},
    };
    for (const auto& [a, b, equal] : cases)
        EXPECT_EQ(ledgrin::EntryNamesEqual(a, b), equal) << a << " / " << b;
}
