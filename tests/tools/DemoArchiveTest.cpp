// The demo archive, read back with libzip and the editor's loader.
#include "tools/DemoArchive.h"

#include "archive/TypeIdLookup.h"
#include "records/RecordHead.h"
#include "records/SetMembers.h"
#include "tests/support/TestArchives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace ledgrin;
using namespace ledgrin::test;

TEST(DemoArchive, TheSameSeedGivesTheSameBytesAndAnotherSeedOtherBytes) {
    ScratchDir dir;
    ASSERT_EQ(WriteDemoArchive(dir / "a", {DemoSize::Small, 1}), DemoResult::Done);
    ASSERT_EQ(WriteDemoArchive(dir / "b", {DemoSize::Small, 1}), DemoResult::Done);
    ASSERT_EQ(WriteDemoArchive(dir / "c", {DemoSize::Small, 2}), DemoResult::Done);
    ASSERT_GT(ReadFileBytes(dir / "a").size(), 1000u);
    EXPECT_EQ(ReadFileBytes(dir / "a"), ReadFileBytes(dir / "b"));
    EXPECT_NE(ReadFileBytes(dir / "a"), ReadFileBytes(dir / "c"));
}

// Loaded as the editor loads it; the cases the editor must show are there: a set member
// that names no item, a TypeID with two descriptions, a few disabled records, and non-zero
// filler in unnamed bytes, so a test sees whether untouched bytes survive.
TEST(DemoArchive, TheRealisticArchiveLoadsEveryTableWithTheCasesTheEditorMustShow) {
    ScratchDir dir;
    ASSERT_EQ(WriteDemoArchive(dir / "demo.iff", {DemoSize::Realistic, 1}), DemoResult::Done);
    TableStore store;
    ASSERT_TRUE(LoadAll(dir / "demo.iff", store));
    int disabled = 0, dangling = 0, describedTwice = 0, zeroFiller = 0;
    for (std::size_t i = 0; i < store[kBallTable].RecordCount; ++i) // a Ball names nothing behind its head
        zeroFiller += std::count(store.Record(kBallTable, i) + 0x6A, store.Record(kBallTable, i) + 792, 0);
    for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t) {
        EXPECT_EQ(store[t].RecordCount, DemoRecordCount(DemoSize::Realistic, t)) << EntryName(t);
        for (std::size_t i = 0; i < store[t].RecordCount; ++i)
            disabled += RecordEnabled(store.Record(t, i)) == 0;
    }
    for (std::size_t i = 0; i < store[kSetItemTable].RecordCount; ++i)
        for (const SetMember& member : ListSetMembers(store.Record(kSetItemTable, i)))
            dangling += !FindNameByTypeID(store, member.typeId);
    std::set<std::uint32_t> described;
    for (std::size_t i = 0; i < store[kDescTable].RecordCount; ++i)
        describedTwice += !described.insert(Get(store.Record(kDescTable, i), 4)).second;
    EXPECT_GE(store[kPartTable].RecordCount, 2000u);
    EXPECT_GE(store[kDescTable].RecordCount, 3000u);
    EXPECT_EQ(dangling, 1);
    EXPECT_EQ(describedTwice, 1);
    EXPECT_EQ(zeroFiller, 0);
    EXPECT_TRUE(disabled > 10 && disabled < 400) << disabled;

    const ZipReader r(dir / "demo.iff"); // the entries that are not tables
    const std::int64_t notes = r.Find("readme/course_notes.txt"),
                       ledger = r.Find("history/clubhouse_1999.txt");
    ASSERT_TRUE(r.Find("readme/") >= 0 && notes >= 0 && ledger >= 0);
    EXPECT_EQ(r.Comment(notes), "Greenkeeper's notes, kept by every save");
    EXPECT_EQ(r.Extra(notes, 0x4C47, ZIP_FL_LOCAL), std::string("Lg\x01\x00", 4));
    EXPECT_EQ(r.Extra(notes, 0x4C47, ZIP_FL_CENTRAL), std::string("Lg\x01\x00", 4));
    EXPECT_EQ(r.Time(ledger), "1999-06-20 07:30:00");
}

TEST(DemoArchive, MaxFillsPartAndDescTo65535Records) {
    ScratchDir dir; // 34 MB: removed at the end
    ASSERT_EQ(WriteDemoArchive(dir / "max.iff", {DemoSize::Max, 1}), DemoResult::Done);
    const ZipReader r(dir / "max.iff");
    const Bytes part = r.Data("Part.iff"), desc = r.Data("Desc.iff");
    ASSERT_EQ(part.size(), 8 + 65535u * 544);
    ASSERT_EQ(desc.size(), 8 + 65535u * 516);
    EXPECT_EQ(Get(part.data(), 2), 65535u); // RecordCount
    EXPECT_EQ(Get(desc.data(), 2), 65535u);
}
