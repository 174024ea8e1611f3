#include "ArchiveTestSupport.h"
#include "archive/PreparedEntry.h"
#include "tools/DemoArchive.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ledgrin;
using namespace ledgrin::test;

using TableSave = ArchiveTest;

namespace {

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
    // The old table, in other letter case and with four bytes after its one record.
    e.push_back(Entry("PART.IFF",
                      TableEntryBytes(1, 0x0101, 13, Concat(Pattern(544, 60), {0xAA, 0xBB, 0xCC, 0xDD}))));
    // Deflated at level 1: compressing it again at 9 would change its bytes.
    e.push_back(Entry("Item.iff", TableEntryBytes(2, 7, 13, Pattern(2 * 224, 61))));
    e.back().level = 1;
    e.push_back(Entry("data/Part.iff", Pattern(300, 62)));
    // Zeros kept stored: deflating them again would shrink them.
    e.push_back(Entry("a_name_of_twenty_or_more.bin", Bytes(2000, 0), ZipMethod::Stored));
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
    ASSERT_TRUE(WriteFileBytes(path, file));
}

} // namespace

TEST_F(TableSave, TheTableGoesLastAtLevel9AndEveryOtherEntryKeepsItsStoredForm) {
    WriteArchive(MixedEntries(), "old archive comment");
    MarkFirstEntryAsDos(archive);
    RawArchive before = ReadRawArchive(archive);
    ASSERT_TRUE(before.ok);
    store[kPartTable] = {2, 0x1234, 13, Pattern(2 * 544, 70)};

    EXPECT_EQ(Save(kPartTable, kSaved), "Writing Part.iff\n");
    RawArchive after = ReadRawArchive(archive);
    ASSERT_TRUE(after.ok);
    ASSERT_EQ(after.entries.size(), 7u);
    // PART.IFF (old index 2) is dropped; the rest keep their order; Part.iff comes last.
    const int kept[] = {0, 1, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i)
        ExpectSameStoredEntry(before.entries[kept[i]], after.entries[i]);
    EXPECT_EQ(after.comment, "");
    const RawEntry& table = after.entries[6];
    EXPECT_EQ(table.name, "Part.iff");
    EXPECT_EQ(table.method, 8);
    EXPECT_EQ(table.flags & 0x0006, 0x0002); // deflate option bits: maximum compression
    EXPECT_EQ(table.comment, "");
    // RecordCount 2, HeaderWord2 0x1234, Version 13; the old entry's trailing bytes are gone.
    const Bytes block = Concat({0x02, 0x00, 0x34, 0x12, 0x0D, 0x00, 0x00, 0x00}, Pattern(2 * 544, 70));
    EXPECT_EQ(EntryData(archive, "Part.iff"), block);
    // Written as deflated in memory: after the 30-byte local header and the name, no extra field.
    const PreparedEntry prepared = PrepareEntry(block.data(), block.size());
    EXPECT_TRUE(Bytes(table.local.begin() + 38, table.local.end()) ==
                Bytes(prepared.stored.get(), prepared.stored.get() + prepared.storedSize));

    // An empty table is its 8-byte header, stored: deflating does not make it smaller.
    store[kSetItemTable] = {0, 0xFFFF, 13, {}};
    EXPECT_EQ(Save(kSetItemTable, kSaved), "Writing SetItem.iff\n");
    EXPECT_EQ(EntryData(archive, "SetItem.iff"), (Bytes{0x00, 0x00, 0xFF, 0xFF, 0x0D, 0x00, 0x00, 0x00}));
    EXPECT_EQ(ReadRawArchive(archive).entries.back().method, 0);
}

TEST_F(TableSave, AnArchiveElsewhereIsRebuiltThroughAnOldTemporaryArchiveInTheProgramFolder) {
    WriteArchive(MixedEntries());
    // Left over from a crash.
    ASSERT_TRUE(WriteFileBytes((exe / "tarvik_gb1.iff").string(), Pattern(50000, 1)));
    store[kCardTable] = {1, 0, 13, Pattern(360, 91)};
    EXPECT_EQ(Save(kCardTable, kSaved), "Writing Card.iff\n");
    EXPECT_TRUE(Snapshot(exe).empty());
    EXPECT_EQ(Snapshot(game).size(), 1u);
    EXPECT_EQ(ReadRawArchive(archive).entries.back().name, "Card.iff");
}

namespace {

// Loads all fourteen tables with their diagnostic lines captured.
bool LoadAll(TableStore& store, const std::string& archive) {
    testing::internal::CaptureStdout();
    bool ok = true;
    for (TableIndex t = 0; t < kTableCount; ++t)
        ok = ok && LoadTable(store, t, archive) == kLoaded;
    testing::internal::GetCapturedStdout();
    return ok;
}

} // namespace

TEST_F(TableSave, SavingAnyTableOfTheDemoArchiveLeavesEveryOtherEntryAlone) {
    archive = (exe / "tarvik_gb.iff").string(); // beside the program, as by default
    ASSERT_EQ(WriteDemoArchive(archive, {DemoSize::Small, 1}), DemoResult::Done);
    ASSERT_TRUE(LoadAll(store, archive));
    for (TableIndex t = 0; t < kTableCount; ++t) {
        RawArchive before = ReadRawArchive(archive);
        EXPECT_EQ(Save(t, kSaved), "Writing " + std::string(EntryName(t)) + "\n");
        RawArchive after = ReadRawArchive(archive);
        ASSERT_TRUE(after.ok);
        // Every other entry in its old order, then the table.
        before.entries.erase(std::remove_if(before.entries.begin(), before.entries.end(),
                                            [&](const RawEntry& e) { return e.name == EntryName(t); }),
                             before.entries.end());
        ASSERT_EQ(after.entries.size(), before.entries.size() + 1) << EntryName(t);
        for (std::size_t i = 0; i < before.entries.size(); ++i)
            ExpectSameStoredEntry(before.entries[i], after.entries[i]);
        EXPECT_EQ(after.entries.back().name, EntryName(t));
    }
    // Nothing lost on the way: a second load gives the same store.
    TableStore reloaded;
    ASSERT_TRUE(LoadAll(reloaded, archive));
    for (TableIndex t = 0; t < kTableCount; ++t) {
        EXPECT_EQ(reloaded[t].HeaderWord2, store[t].HeaderWord2);
        EXPECT_TRUE(reloaded[t].Records == store[t].Records) << EntryName(t);
    }
}
