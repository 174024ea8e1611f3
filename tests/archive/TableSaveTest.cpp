#include "tests/archive/ArchiveTest.h"

#include <libdeflate.h>

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

} // namespace

TEST_F(TableSave, TheTableGoesLastAtLevel9AndEveryOtherEntryKeepsItsStoredForm) {
    WriteArchive(MixedEntries(), "old archive comment");
    // Left over from a crash: overwritten, then removed.
    ASSERT_TRUE(WriteFileBytes((exe / "tarvik_gb1.iff").string(), Pattern(50000, 1)));
    const std::vector<RawEntry> before = ReadRawEntries(archive);
    ASSERT_EQ(before.size(), 7u);

    EXPECT_EQ(Save(kPartTable, kSaved), "Writing Part.iff\n");
    const std::vector<RawEntry> after = ReadRawEntries(archive);
    ASSERT_EQ(after.size(), 7u);
    // PART.IFF (old index 2) is dropped; the rest keep their order and every stored byte.
    const int kept[] = {0, 1, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(after[i].name, before[kept[i]].name);
        EXPECT_EQ(after[i].central, before[kept[i]].central) << after[i].name;
        EXPECT_EQ(after[i].local, before[kept[i]].local) << after[i].name;
    }
    // The table last: deflated (method 8) with the option bits of maximum compression, no
    // entry comment; and no archive comment (the end record is the file's last 22 bytes).
    const std::uint8_t* table = after[6].central.data();
    EXPECT_EQ(after[6].name, "Part.iff");
    EXPECT_EQ(Get(table + 10, 2), 8u);
    EXPECT_EQ(Get(table + 8, 2) & 6, 2u);
    EXPECT_EQ(Get(table + 32, 2), 0u);
    const Bytes saved = ReadFileBytes(archive);
    EXPECT_EQ(Get(&saved[saved.size() - 22], 4), 0x06054b50u);
    // RecordCount 2, HeaderWord2 0x0202, Version 13; the old entry's trailing bytes are gone.
    const Bytes block = Concat({0x02, 0x00, 0x02, 0x02, 0x0D, 0x00, 0x00, 0x00}, Pattern(2 * 544, 21));
    EXPECT_EQ(ZipReader(archive).Data("Part.iff"), block);
    // The table's data, after its local header, name and extra field: the block as libdeflate's
    // level 10 deflates it, the level for tables up to 256 KiB (larger ones take level 9).
    const auto expectLevel10 = [](const RawEntry& e, const Bytes& block) {
        libdeflate_compressor* level10 = libdeflate_alloc_compressor(10);
        Bytes deflated(libdeflate_deflate_compress_bound(level10, block.size()));
        deflated.resize(libdeflate_deflate_compress(level10, block.data(), block.size(), deflated.data(),
                                                    deflated.size()));
        libdeflate_free_compressor(level10);
        const std::size_t data = 30 + Get(&e.local[26], 2) + Get(&e.local[28], 2);
        EXPECT_TRUE(Bytes(e.local.begin() + data, e.local.end()) == deflated) << e.name;
    };
    expectLevel10(after[6], block);
    EXPECT_EQ(Snapshot(dir),
              (std::map<std::string, Bytes>{
                  {"exe/", {}}, {"game/", {}}, {"game/tarvik_gb.iff", ReadFileBytes(archive)}}));

    // The demo's 40 Part records, varied enough that a lower level deflates them otherwise.
    store[kPartTable] = SmallDemoTables()[kPartTable];
    EXPECT_EQ(Save(kPartTable, kSaved), "Writing Part.iff\n");
    const TableSlot& demo = store[kPartTable];
    expectLevel10(ReadRawEntries(archive).back(),
                  TableEntryBytes(demo.RecordCount, demo.HeaderWord2, demo.Version, demo.Records));

    // Records that do not compress: still deflated (method 8), a little larger than the table.
    Bytes noise(3 * 544);
    std::uint32_t x = 2463534242u;
    for (std::uint8_t& b : noise) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        b = static_cast<std::uint8_t>(x >> 24);
    }
    store[kPartTable] = {3, 0x0101, 13, AsTableBytes(noise)};
    EXPECT_EQ(Save(kPartTable, kSaved), "Writing Part.iff\n");
    const RawEntry noisy = ReadRawEntries(archive).back();
    EXPECT_EQ(Get(noisy.central.data() + 10, 2), 8u);
    EXPECT_GT(Get(noisy.central.data() + 20, 4), 8 + noise.size()); // compressed size
    expectLevel10(noisy, TableEntryBytes(3, 0x0101, 13, noise));
}
