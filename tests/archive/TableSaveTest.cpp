#include "archive/TableSave.h"
#include "ArchiveTestSupport.h"
#include "archive/TableLoad.h"
#include "tools/DemoArchive.h"
#include "tools/ZipWriter.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::test;

namespace {

struct Saved {
    SaveResult result;
    std::string output;
};

Saved Save(const TableStore& store, TableIndex t, const std::string& archive, const std::string& exeDir) {
    testing::internal::CaptureStdout();
    SaveResult result = SaveTable(store, t, archive, exeDir);
    return {result, testing::internal::GetCapturedStdout()};
}

void SetSlot(TableStore& store, TableIndex t, std::uint16_t count, std::uint16_t word2, std::uint8_t seed) {
    store[t].RecordCount = count;
    store[t].HeaderWord2 = word2;
    store[t].Version = 13;
    store[t].Records = Pattern(count * RecordSize(t), seed);
}

// Every kind of entry a save must carry over, around an old Part table.
std::vector<ZipEntry> MixedEntries() {
    std::vector<ZipEntry> e;
    e.push_back(Entry("notes.txt", {'k', 'e', 'e', 'p'}, ZipMethod::Stored));
    e.back().comment = "kept by every save";
    e.back().extraFields = {{0xCAFE, {1, 2, 3}, ZipWhere::Both},
                            {0xBEEF, {9}, ZipWhere::Central},
                            {0xF00D, {4, 5}, ZipWhere::Local}};
    e.back().mtime = {1999, 12, 31, 23, 59, 58};
    e.push_back(Entry("maps/", {}));
    e.back().isDirectory = true;
    e.back().mtime = {2001, 2, 3, 4, 5, 6};
    // The old table, in other letter case and with four bytes after its one record.
    Bytes oldPart = TableEntryBytes(1, 0x0101, 13, Pattern(544, 60));
    oldPart.insert(oldPart.end(), {0xAA, 0xBB, 0xCC, 0xDD});
    e.push_back(Entry("PART.IFF", oldPart));
    // Deflated at level 1: compressing it again at 9 would change its bytes.
    e.push_back(Entry("Item.iff", TableEntryBytes(2, 7, 13, Pattern(2 * 224, 61))));
    e.back().level = 1;
    e.back().mtime = {2010, 6, 30, 12, 0, 0};
    e.push_back(Entry("data/Part.iff", Pattern(300, 62)));
    // Zeros kept stored: deflating them again would shrink them.
    e.push_back(Entry("a_name_of_twenty_or_more.bin", Bytes(2000, 0), ZipMethod::Stored));
    e.back().comment = "long";
    e.push_back(Entry("caf\x82.txt", {'c', 'p', '4', '3', '7'})); // 0x82 is e-acute in code page 437
    return e;
}

// Marks the first entry as written on MS-DOS (host 0) with the read-only and archive
// attributes (0x21), as a Windows tool would; the generator writes Unix attributes.
void MarkFirstEntryAsDos(const std::string& path) {
    Bytes file = ReadFileBytes(path);
    const Bytes central = {'P', 'K', 1, 2};
    auto at = std::search(file.begin(), file.end(), central.begin(), central.end());
    ASSERT_NE(at, file.end());
    at[5] = 0x00;                                   // version made by, high byte: host system
    at[38] = 0x21, at[39] = at[40] = at[41] = 0x00; // external attributes
    WriteFileBytes(path, file);
}

class TableSaveTest : public testing::Test {
  protected:
    ScratchDir dir{testing::UnitTest::GetInstance()->current_test_info()->name()};
    std::string archive = dir / "tarvik_gb.iff";
    std::string exeDir = dir.path().string();
    TableStore store;

    void Write(const std::vector<ZipEntry>& entries, const std::string& comment = "") {
        ASSERT_EQ(WriteZipFile(archive, entries, comment), ZipWriteResult::Written);
    }
};

} // namespace

// --- save keeps the other archive entries ----------------------------------------------

TEST_F(TableSaveTest, OtherEntriesKeepTheirStoredFormAndOrder) {
    Write(MixedEntries(), "old archive comment");
    MarkFirstEntryAsDos(archive);
    RawArchive before = ReadRawArchive(archive);
    ASSERT_TRUE(before.ok);
    ASSERT_EQ(before.entries[0].externalAttributes, 0x21u);
    SetSlot(store, kPartTable, 2, 0x1234, 70);

    Saved s = Save(store, kPartTable, archive, exeDir);
    EXPECT_EQ(s.result, kSaved);
    EXPECT_EQ(s.output, "Writing Part.iff\n");

    RawArchive after = ReadRawArchive(archive);
    ASSERT_TRUE(after.ok);
    ASSERT_EQ(after.entries.size(), 7u);
    // PART.IFF (old index 2) is dropped; the rest keep their order; Part.iff comes last.
    const int kept[] = {0, 1, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i)
        ExpectSameStoredEntry(before.entries[kept[i]], after.entries[i]);
    EXPECT_EQ(after.entries[6].name, "Part.iff");
    EXPECT_EQ(after.comment, "");
}

TEST_F(TableSaveTest, TheTableEntryIsHeaderAndRecordsDeflatedAtMaximum) {
    Write(MixedEntries());
    SetSlot(store, kPartTable, 2, 0x1234, 70);
    ASSERT_EQ(Save(store, kPartTable, archive, exeDir).result, kSaved);

    // RecordCount 2, HeaderWord2 0x1234, Version 13; the old entry's trailing bytes are gone.
    Bytes expected = {0x02, 0x00, 0x34, 0x12, 0x0D, 0x00, 0x00, 0x00};
    Bytes records = Pattern(2 * 544, 70);
    expected.insert(expected.end(), records.begin(), records.end());
    EXPECT_EQ(EntryData(archive, "Part.iff"), expected);

    RawEntry table = ReadRawArchive(archive).entries.back();
    EXPECT_EQ(table.method, 8);
    EXPECT_EQ(table.flags & 0x0006, 0x0002); // deflate option bits: maximum compression
    EXPECT_EQ(table.comment, "");
}

TEST_F(TableSaveTest, AnEmptyTableIsWrittenAsItsEightByteHeader) {
    Write(MixedEntries());
    store[kSetItemTable] = {0, 0xFFFF, 13, {}};
    ASSERT_EQ(Save(store, kSetItemTable, archive, exeDir).result, kSaved);
    EXPECT_EQ(EntryData(archive, "SetItem.iff"), (Bytes{0x00, 0x00, 0xFF, 0xFF, 0x0D, 0x00, 0x00, 0x00}));
}

TEST_F(TableSaveTest, AnUpdateLeavesItemThenDescAtTheEnd) {
    Write(MixedEntries());
    RawArchive before = ReadRawArchive(archive);
    SetSlot(store, kItemTable, 3, 0, 80);
    SetSlot(store, kDescTable, 1, 0, 81);
    ASSERT_EQ(Save(store, kItemTable, archive, exeDir).result, kSaved);
    ASSERT_EQ(Save(store, kDescTable, archive, exeDir).result, kSaved);

    RawArchive after = ReadRawArchive(archive);
    ASSERT_EQ(after.entries.size(), 8u);
    const int kept[] = {0, 1, 2, 4, 5, 6}; // all but the old Item.iff
    for (int i = 0; i < 6; ++i)
        ExpectSameStoredEntry(before.entries[kept[i]], after.entries[i]);
    EXPECT_EQ(after.entries[6].name, "Item.iff");
    EXPECT_EQ(after.entries[7].name, "Desc.iff");
}

// --- the temporary archive -------------------------------------------------------------

TEST_F(TableSaveTest, AnOldTemporaryArchiveIsOverwrittenAndGoneAfterwards) {
    Write(MixedEntries());
    WriteFileBytes(dir / "tarvik_gb1.iff", Pattern(50000, 1)); // left over from a crash
    SetSlot(store, kPartTable, 1, 0, 90);
    ASSERT_EQ(Save(store, kPartTable, archive, exeDir).result, kSaved);
    EXPECT_EQ(ListDir(dir.path()), std::vector<std::string>{"tarvik_gb.iff"});
    EXPECT_EQ(EntryData(archive, "Part.iff").size(), 8u + 544u);
}

TEST_F(TableSaveTest, AnArchiveElsewhereIsRebuiltThroughTheProgramFolder) {
    fs::create_directories(dir.path() / "exe");
    fs::create_directories(dir.path() / "game");
    std::string elsewhere = dir / "game/items.zip";
    ASSERT_EQ(WriteZipFile(elsewhere, MixedEntries()), ZipWriteResult::Written);
    SetSlot(store, kCardTable, 4, 0, 91);

    ASSERT_EQ(Save(store, kCardTable, elsewhere, (dir.path() / "exe").string()).result, kSaved);
    EXPECT_TRUE(ListDir(dir.path() / "exe").empty());
    EXPECT_EQ(ListDir(dir.path() / "game"), std::vector<std::string>{"items.zip"});
    EXPECT_EQ(ReadRawArchive(elsewhere).entries.back().name, "Card.iff");
}

TEST(TemporaryArchivePath, IsTheProgramFolderAndTheFixedName) {
#ifdef _WIN32
    EXPECT_EQ(TemporaryArchivePath("C:\\Games\\Tarvik"), "C:\\Games\\Tarvik\\tarvik_gb1.iff");
    EXPECT_EQ(TemporaryArchivePath("C:\\"), "C:\\\\tarvik_gb1.iff");
#else
    EXPECT_EQ(TemporaryArchivePath("/opt/ledgrin"), "/opt/ledgrin/tarvik_gb1.iff");
#endif
}

// --- every table survives a save and a load --------------------------------------------

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Saves table t and checks that every entry of another name kept its stored form and
// place, and that the table is now the last entry.
void ExpectSaveKeepsOtherEntries(const TableStore& store, TableIndex t, const std::string& archive,
                                 const std::string& exeDir) {
    SCOPED_TRACE(EntryName(t));
    RawArchive before = ReadRawArchive(archive);
    ASSERT_EQ(Save(store, t, archive, exeDir).result, kSaved);
    RawArchive after = ReadRawArchive(archive);
    ASSERT_TRUE(after.ok);

    std::vector<RawEntry> others;
    for (const RawEntry& old : before.entries)
        if (Lower(old.name) != Lower(EntryName(t))) others.push_back(old);
    ASSERT_EQ(after.entries.size(), others.size() + 1);
    for (std::size_t i = 0; i < others.size(); ++i)
        ExpectSameStoredEntry(others[i], after.entries[i]);
    EXPECT_EQ(after.entries.back().name, EntryName(t));
}

TEST(DemoArchiveSave, SavingAnyTableLeavesEveryOtherEntryAlone) {
    ScratchDir dir("DemoArchiveSave");
    std::string archive = dir / "tarvik_gb.iff";
    DemoOptions options;
    options.size = DemoSize::Small;
    ASSERT_EQ(WriteDemoArchive(archive, options), DemoResult::Done);
    TableStore store;
    testing::internal::CaptureStdout();
    for (TableIndex t = 0; t < kTableCount; ++t)
        ASSERT_EQ(LoadTable(store, t, archive), kLoaded);
    testing::internal::GetCapturedStdout();

    for (TableIndex t = 0; t < kTableCount; ++t)
        ExpectSaveKeepsOtherEntries(store, t, archive, dir.path().string());
    // Nothing lost on the way: a second load gives the same store.
    TableStore reloaded;
    testing::internal::CaptureStdout();
    for (TableIndex t = 0; t < kTableCount; ++t) {
        ASSERT_EQ(LoadTable(reloaded, t, archive), kLoaded);
        EXPECT_EQ(reloaded[t].HeaderWord2, store[t].HeaderWord2);
        EXPECT_EQ(reloaded[t].Records, store[t].Records);
    }
    testing::internal::GetCapturedStdout();
}
