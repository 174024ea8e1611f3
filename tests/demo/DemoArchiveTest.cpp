// The demo archive, read back with libzip and the editor's loader.
#include "demo/DemoArchive.h"

#include "tests/support/TestArchives.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::test;

// Every table loads as the editor loads it, unnamed bytes hold non-zero filler, so a test
// sees whether untouched bytes survive, and the entries that are not tables carry what a
// save must keep: a folder, a stored entry with a comment and an extra field in both
// headers, and times of their own.
TEST(DemoArchive, TheRealisticArchiveLoadsWithFillerAndTheEntriesASaveMustKeep) {
    ScratchDir dir;
    ASSERT_EQ(WriteDemoArchive(dir / "demo.iff", {DemoSize::Realistic, 1}), DemoResult::Done);
    TableStore store;
    ASSERT_TRUE(LoadAll(dir / "demo.iff", store));
    long zeroFiller = 0;
    for (std::size_t i = 0; i < store[kBallTable].RecordCount; ++i) // a Ball names nothing behind its head
        zeroFiller += std::count(store.Record(kBallTable, i) + 0x6A, store.Record(kBallTable, i) + 792, 0);
    EXPECT_EQ(zeroFiller, 0);

    const ZipReader r(dir / "demo.iff");
    const std::int64_t folder = r.Find("readme/"), notes = r.Find("readme/course_notes.txt"),
                       ledger = r.Find("history/clubhouse_1999.txt");
    ASSERT_TRUE(folder >= 0 && notes >= 0 && ledger >= 0);
    EXPECT_EQ(r.Stat(notes).comp_method, ZIP_CM_STORE);
    EXPECT_EQ(r.Comment(notes), "Greenkeeper's notes, kept by every save");
    EXPECT_EQ(r.Extra(notes, 0x4C47, ZIP_FL_LOCAL), std::string("Lg\x01\x00", 4));
    EXPECT_EQ(r.Extra(notes, 0x4C47, ZIP_FL_CENTRAL), std::string("Lg\x01\x00", 4));
    EXPECT_EQ(r.Time(ledger), "1999-06-20 07:30:00");
    // The writer's fixed default keeps archives reproducible, for folders as for files.
    EXPECT_EQ(r.Time(folder), "2024-03-14 09:26:52");
    EXPECT_EQ(r.Time(r.Find("Part.iff")), "2024-03-14 09:26:52");
}
