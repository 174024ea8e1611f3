#include "archive/TableLoad.h"
#include "ArchiveTestSupport.h"
#include "tools/ZipWriter.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::test;

namespace {

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Loaded {
    LoadResult result;
    std::string output;
};

Loaded Load(TableStore& store, TableIndex t, const std::string& path) {
    testing::internal::CaptureStdout();
    LoadResult result = LoadTable(store, t, path);
    return {result, testing::internal::GetCapturedStdout()};
}

class TableLoadTest : public testing::Test {
  protected:
    ScratchDir dir{testing::UnitTest::GetInstance()->current_test_info()->name()};
    std::string archive = dir / "tarvik_gb.iff";
    TableStore store;

    void Write(const std::vector<ZipEntry>& entries) {
        ASSERT_EQ(WriteZipFile(archive, entries), ZipWriteResult::Written);
    }
};

} // namespace

// --- a well-formed table loads byte for byte --------------------------------------------

TEST_F(TableLoadTest, HeaderFieldsAndRecordsArriveUnchanged) {
    // RecordCount 2, HeaderWord2 0xBEEF, Version 13, then two Item records (224 bytes each).
    Bytes header = {0x02, 0x00, 0xEF, 0xBE, 0x0D, 0x00, 0x00, 0x00};
    Bytes records = Pattern(2 * 224, 7);
    Write({Entry("Item.iff", Concat(header, records))});

    Loaded r = Load(store, kItemTable, archive);
    EXPECT_EQ(r.result, kLoaded);
    EXPECT_EQ(r.output, "Entries inside Item.iff: 2\nItem.iff Version: 13\n");
    EXPECT_EQ(store[kItemTable].RecordCount, 2);
    EXPECT_EQ(store[kItemTable].HeaderWord2, 0xBEEF);
    EXPECT_EQ(store[kItemTable].Version, 13u);
    EXPECT_EQ(store[kItemTable].Records, records);
}

TEST_F(TableLoadTest, StoredEntriesLoadLikeDeflatedOnes) {
    Bytes records = Pattern(3 * 204, 99);
    Write({Entry("AuxPart.iff", TableEntryBytes(3, 0, 13, records), ZipMethod::Stored)});
    EXPECT_EQ(Load(store, kAuxPartTable, archive).result, kLoaded);
    EXPECT_EQ(store[kAuxPartTable].Records, records);
}

TEST_F(TableLoadTest, BytesAfterTheLastRecordAreNotKept) {
    Bytes records = Pattern(516, 1);
    Write({Entry("Desc.iff", Concat(TableEntryBytes(1, 0, 13, records), {0xDE, 0xAD, 0xBE, 0xEF}))});
    EXPECT_EQ(Load(store, kDescTable, archive).result, kLoaded);
    EXPECT_EQ(store[kDescTable].Records, records);
}

TEST_F(TableLoadTest, ACountOfZeroIsAnEmptyTable) {
    Write({Entry("Card.iff", {0x00, 0x00, 0x34, 0x12, 0x0D, 0x00, 0x00, 0x00})});
    Loaded r = Load(store, kCardTable, archive);
    EXPECT_EQ(r.result, kLoaded);
    EXPECT_EQ(r.output, "Entries inside Card.iff: 0\nCard.iff Version: 13\n");
    EXPECT_EQ(store[kCardTable].HeaderWord2, 0x1234);
    EXPECT_TRUE(store[kCardTable].Records.empty());
}

TEST_F(TableLoadTest, RecordCountIsUnsigned) {
    // 40,000 = 0x9C40 would read as -25,536 if taken as signed.
    Bytes records = Pattern(40000 * 172, 5);
    Write({Entry("HairStyle.iff", Concat({0x40, 0x9C, 0x00, 0x00, 0x0D, 0x00, 0x00, 0x00}, records))});
    Loaded r = Load(store, kHairStyleTable, archive);
    EXPECT_EQ(r.result, kLoaded);
    EXPECT_EQ(r.output, "Entries inside HairStyle.iff: 40000\nHairStyle.iff Version: 13\n");
    EXPECT_EQ(store[kHairStyleTable].RecordCount, 40000);
    EXPECT_EQ(store[kHairStyleTable].Records, records);
}

// --- entry names: whole names, only A to Z folded ---------------------------------------

TEST_F(TableLoadTest, LowerCaseEntryNamesAreFound) {
    Bytes records = Pattern(544, 3);
    Write({Entry("part.iff", TableEntryBytes(1, 0, 13, records))});
    EXPECT_EQ(Load(store, kPartTable, archive).result, kLoaded);
    EXPECT_EQ(store[kPartTable].Records, records);
}

TEST_F(TableLoadTest, ANameInAFolderIsNotTheTable) {
    Write({Entry("data/Part.iff", TableEntryBytes(1, 0, 13, Pattern(544, 3)))});
    Loaded r = Load(store, kPartTable, archive);
    EXPECT_EQ(r.result, kMissingOrDamaged);
    EXPECT_EQ(r.output, "Missing or damaged Part.iff.\n");
}

TEST_F(TableLoadTest, TheFirstMatchingEntryInDirectoryOrderIsRead) {
    Bytes first = Pattern(236, 10), second = Pattern(236, 20);
    Write({Entry("CLUBSET.IFF", TableEntryBytes(1, 0, 13, first)),
           Entry("ClubSet.iff", TableEntryBytes(1, 0, 13, second))});
    EXPECT_EQ(Load(store, kClubSetTable, archive).result, kLoaded);
    EXPECT_EQ(store[kClubSetTable].Records, first);
}

// --- unsupported version ---------------------------------------------------------------

TEST_F(TableLoadTest, Version12IsRejectedAfterItsHeaderLines) {
    // RecordCount 1, HeaderWord2 0x0505, Version 12.
    Write({Entry("Ball.iff", Concat({0x01, 0x00, 0x05, 0x05, 0x0C, 0x00, 0x00, 0x00}, Pattern(792, 4)))});
    Loaded r = Load(store, kBallTable, archive);
    EXPECT_EQ(r.result, kUnsupportedVersion);
    EXPECT_EQ(r.output, "Entries inside Ball.iff: 1\nBall.iff Version: 12\nUnsupported version.\n");
    EXPECT_EQ(store[kBallTable].RecordCount, 1);
    EXPECT_EQ(store[kBallTable].HeaderWord2, 0x0505);
    EXPECT_EQ(store[kBallTable].Version, 12u);
    EXPECT_TRUE(store[kBallTable].Records.empty());
}

// --- archive cannot be opened ----------------------------------------------------------

TEST_F(TableLoadTest, AMissingArchiveGivesResult1) {
    Loaded r = Load(store, kDescTable, dir / "nothing-here.iff");
    EXPECT_EQ(r.result, kArchiveNotFound);
    EXPECT_EQ(r.output, "tarvik_gb.iff File not found.\n");
}

TEST_F(TableLoadTest, AFileWithoutACentralDirectoryGivesResult1) {
    WriteFileBytes(archive, Pattern(4000, 77));
    Loaded r = Load(store, kDescTable, archive);
    EXPECT_EQ(r.result, kArchiveNotFound);
    EXPECT_EQ(r.output, "tarvik_gb.iff File not found.\n");
}

// --- missing or damaged tables ---------------------------------------------------------

TEST_F(TableLoadTest, AMissingTableGivesResult3) {
    Write({Entry("Part.iff", TableEntryBytes(0, 0, 13, {}))});
    Loaded r = Load(store, kMascotTable, archive);
    EXPECT_EQ(r.result, kMissingOrDamaged);
    EXPECT_EQ(r.output, "Missing or damaged Mascot.iff.\n");
}

TEST_F(TableLoadTest, AnEntryShorterThanItsHeaderGivesResult3) {
    Write({Entry("Skin.iff", {0x01, 0x00, 0x00, 0x00, 0x0D})});
    Loaded r = Load(store, kSkinTable, archive);
    EXPECT_EQ(r.result, kMissingOrDamaged);
    EXPECT_EQ(r.output, "Missing or damaged Skin.iff.\n");
}

TEST_F(TableLoadTest, AnEntryShorterThanItsRecordsGivesResult3) {
    // Three Caddie records announced, two and a half present.
    Write({Entry("Caddie.iff", TableEntryBytes(3, 0, 13, Pattern(2 * 224 + 112, 8)))});
    Loaded r = Load(store, kCaddieTable, archive);
    EXPECT_EQ(r.result, kMissingOrDamaged);
    EXPECT_EQ(r.output,
              "Entries inside Caddie.iff: 3\nCaddie.iff Version: 13\nMissing or damaged Caddie.iff.\n");
    EXPECT_TRUE(store[kCaddieTable].Records.empty());
}

TEST_F(TableLoadTest, AFullCountInATinyEntryGivesResult3) {
    // 65,535 Part records (about 35 MB) announced in an 8-byte entry.
    Write({Entry("Part.iff", {0xFF, 0xFF, 0x00, 0x00, 0x0D, 0x00, 0x00, 0x00})});
    EXPECT_EQ(Load(store, kPartTable, archive).result, kMissingOrDamaged);
    EXPECT_TRUE(store[kPartTable].Records.empty());
}

TEST_F(TableLoadTest, AStoredEntryWithWrongContentsGivesResult3) {
    Bytes records = Pattern(260, 50);
    Write({Entry("CaddieItem.iff", TableEntryBytes(1, 0, 13, records), ZipMethod::Stored)});
    // Change one record byte in the file; the stored CRC no longer matches.
    Bytes file = ReadFileBytes(archive);
    auto at = std::search(file.begin(), file.end(), records.begin(), records.end());
    ASSERT_NE(at, file.end());
    at[100] ^= 0x01;
    WriteFileBytes(archive, file);

    Loaded r = Load(store, kCaddieItemTable, archive);
    EXPECT_EQ(r.result, kMissingOrDamaged);
    EXPECT_TRUE(store[kCaddieItemTable].Records.empty());
}
