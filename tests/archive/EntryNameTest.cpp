#include "archive/EntryName.h"

#include <gtest/gtest.h>

using ledgrin::EntryNamesEqual;

TEST(EntryNamesFoldOnlyAToZ, CaseOfLettersIsIgnored) {
    EXPECT_TRUE(EntryNamesEqual("Part.iff", "Part.iff"));
    EXPECT_TRUE(EntryNamesEqual("PART.IFF", "part.iff"));
    EXPECT_TRUE(EntryNamesEqual("cADDIEiTEM.iff", "CaddieItem.iff"));
}

TEST(EntryNamesFoldOnlyAToZ, WholeNamesAreCompared) {
    EXPECT_FALSE(EntryNamesEqual("data/Part.iff", "Part.iff"));
    EXPECT_FALSE(EntryNamesEqual("Part.iff ", "Part.iff"));
    EXPECT_FALSE(EntryNamesEqual("Part.if", "Part.iff"));
    EXPECT_FALSE(EntryNamesEqual("", "Part.iff"));
}

TEST(EntryNamesFoldOnlyAToZ, NeighboursOfTheLettersStayApart) {
    // 0x40 '@' and 0x60 '`', 0x5B '[' and 0x7B '{' differ only in bit 5, as letters do.
    EXPECT_FALSE(EntryNamesEqual("@", "`"));
    EXPECT_FALSE(EntryNamesEqual("[", "{"));
    EXPECT_FALSE(EntryNamesEqual("^", "~"));
    // Latin-1 0xC4 and 0xE4 are a letter pair too, but only A to Z fold.
    EXPECT_FALSE(EntryNamesEqual("\xC4.iff", "\xE4.iff"));
    EXPECT_TRUE(EntryNamesEqual("\xC4.iff", "\xC4.IFF"));
}
