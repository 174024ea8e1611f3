// The demo archive, read back with libzip and the editor's loader.
#include "tools/DemoArchive.h"

#include "archive/TableLoad.h"
#include "archive/TypeIdLookup.h"
#include "records/ByteAccess.h"
#include "records/RecordHead.h"
#include "records/SetMembers.h"
#include "tests/tools/ZipReadBack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

using namespace ledgrin;
using ledgrin_test::ZipReadBack;
namespace fs = std::filesystem;

namespace {

std::string TempPath(const char* name) {
    const fs::path dir = fs::temp_directory_path() / "ledgrin-demo-test";
    fs::create_directories(dir);
    return (dir / name).string();
}

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(DemoArchive, TheSameSeedGivesTheSameBytesAndAnotherSeedOtherBytes) {
    const std::string a = TempPath("seed1.iff"), b = TempPath("seed1-again.iff"), c = TempPath("seed2.iff");
    ASSERT_EQ(WriteDemoArchive(a, {DemoSize::Small, 1}), DemoResult::Done);
    ASSERT_EQ(WriteDemoArchive(b, {DemoSize::Small, 1}), DemoResult::Done);
    ASSERT_EQ(WriteDemoArchive(c, {DemoSize::Small, 2}), DemoResult::Done);
    ASSERT_GT(FileBytes(a).size(), 1000u);
    EXPECT_EQ(FileBytes(a), FileBytes(b));
    EXPECT_NE(FileBytes(a), FileBytes(c));
}

// Loaded table by table as the editor loads it; the cases the editor must show are there:
// a set member that names no item, a TypeID with two descriptions, a few disabled records,
// and non-zero filler in unnamed bytes, so a test sees whether untouched bytes survive.
TEST(DemoArchive, TheRealisticArchiveLoadsEveryTableWithTheCasesTheEditorMustShow) {
    const std::string path = TempPath("realistic.iff");
    ASSERT_EQ(WriteDemoArchive(path, {DemoSize::Realistic, 1}), DemoResult::Done);
    TableStore store;
    for (TableIndex t = 0; t < kTableCount; ++t)
        ASSERT_EQ(LoadTable(store, t, path), kLoaded) << EntryName(t);
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
        describedTwice += !described.insert(ReadU32(store.Record(kDescTable, i), 0)).second;
    EXPECT_GE(store[kPartTable].RecordCount, 2000u);
    EXPECT_GE(store[kDescTable].RecordCount, 3000u);
    EXPECT_EQ(dangling, 1);
    EXPECT_EQ(describedTwice, 1);
    EXPECT_EQ(zeroFiller, 0);
    EXPECT_TRUE(disabled > 10 && disabled < 400) << disabled;

    ZipReadBack r(path); // the entries that are not tables
    const std::int64_t notes = r.Find("readme/course_notes.txt"),
                       ledger = r.Find("history/clubhouse_1999.txt");
    ASSERT_TRUE(r.Find("readme/") >= 0 && notes >= 0 && ledger >= 0);
    EXPECT_EQ(r.Comment(notes), "Greenkeeper's notes, kept by every save");
    EXPECT_EQ(r.Extra(notes, 0x4C47, ZIP_FL_LOCAL), std::string("Lg\x01\x00", 4));
    EXPECT_EQ(r.Extra(notes, 0x4C47, ZIP_FL_CENTRAL), std::string("Lg\x01\x00", 4));
    EXPECT_EQ(r.Time(ledger), "1999-06-20 07:30:00");
}

TEST(DemoArchive, MaxFillsPartAndDescTo65535Records) {
    const std::string path = TempPath("max.iff");
    ASSERT_EQ(WriteDemoArchive(path, {DemoSize::Max, 1}), DemoResult::Done);
    std::vector<std::uint8_t> part, desc;
    {
        ZipReadBack r(path); // closed before the file is removed: Windows keeps open files
        part = r.Data(r.Find("Part.iff"));
        desc = r.Data(r.Find("Desc.iff"));
    }
    std::error_code ignored;
    fs::remove(path, ignored); // 34 MB: not left behind
    ASSERT_EQ(part.size(), 8 + 65535u * 544);
    ASSERT_EQ(desc.size(), 8 + 65535u * 516);
    EXPECT_EQ(part[0] | part[1] << 8, 65535); // RecordCount, little-endian
    EXPECT_EQ(desc[0] | desc[1] << 8, 65535);
}
