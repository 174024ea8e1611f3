#include "tests/archive/ArchiveTest.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

using namespace ledgrin;
using namespace ledgrin::test;

using TableLoad = ArchiveTest;

namespace {

std::string HeaderLines(const std::string& name, int count, int version) {
    return "Entries inside " + name + ": " + std::to_string(count) + "\n" + name +
           " Version: " + std::to_string(version) + "\n";
}

std::string CrcText(const Bytes& b) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08lX", crc32(0, b.data(), static_cast<uInt>(b.size())));
    return text;
}

} // namespace

TEST_F(TableLoad, AnArchiveThatCannotBeOpenedGivesResult1) {
    ASSERT_TRUE(WriteFileBytes(archive, Pattern(4000))); // no central directory
    EXPECT_EQ(Load(kDescTable, kArchiveNotFound), "tarvik_gb.iff File not found.\n");
    EXPECT_EQ(why, "cannot open " + archive + ": Not a zip archive");
}

// Version 12 gives result 2, a missing, short or damaged table result 3; neither keeps records.
TEST_F(TableLoad, OtherVersionsAndMissingOrDamagedTablesLoadNoRecords) {
    const struct {
        const char* name;
        Bytes bytes;
        TableIndex t;
        LoadResult result;
        std::string output, why;
    } cases[] = {
        // RecordCount 40,000, HeaderWord2 0xBEEF, Version 12, little-endian.
        {"Ball.iff", Concat({0x40, 0x9C, 0xEF, 0xBE, 0x0C, 0x00, 0x00, 0x00}, Pattern(792)), kBallTable,
         kUnsupportedVersion, HeaderLines("Ball.iff", 40000, 12) + "Unsupported version.\n",
         "Ball.iff: version 12, not 13"},
        {"data/Part.iff", TableEntryBytes(1, 0, 13, Pattern(544)), kPartTable, kMissingOrDamaged,
         "Missing or damaged Part.iff.\n", "Part.iff: not in the archive"},
        {"Skin.iff",
         {0x01, 0x00, 0x00, 0x00, 0x0D},
         kSkinTable,
         kMissingOrDamaged,
         "Missing or damaged Skin.iff.\n",
         "Skin.iff: 5 bytes, shorter than its 8-byte header"},
        // Three records announced, two and a half present.
        {"Caddie.iff", TableEntryBytes(3, 0, 13, Pattern(2 * 224 + 112)), kCaddieTable, kMissingOrDamaged,
         HeaderLines("Caddie.iff", 3, 13) + "Missing or damaged Caddie.iff.\n",
         "Caddie.iff: the header promises 3 records of 224 bytes (680 bytes with the header) but the entry "
         "holds 568"},
        // 65,535 Part records (about 35 MB) announced in an 8-byte entry.
        {"Part.iff",
         {0xFF, 0xFF, 0x00, 0x00, 0x0D, 0x00, 0x00, 0x00},
         kPartTable,
         kMissingOrDamaged,
         HeaderLines("Part.iff", 65535, 13) + "Missing or damaged Part.iff.\n",
         "Part.iff: the header promises 65,535 records of 544 bytes (35,651,048 bytes with the header) but "
         "the entry holds 8"},
    };
    for (const auto& c : cases) {
        WriteArchive({Entry(c.name, c.bytes, ZipMethod::Stored)});
        EXPECT_EQ(Load(c.t, c.result), c.output);
        EXPECT_EQ(why, c.why) << c.name;
        EXPECT_TRUE(store[c.t].Records.empty()) << c.name;
    }
}

// Damage in the directory or the deflated data: result 3 with the reason, the header lines
// only where the data inflated.
TEST_F(TableLoad, DamagedDataGivesResult3AndSaysWhy) {
    const Bytes entry = TableEntryBytes(2, 0, 13, Pattern(2 * 260, 50));
    const auto size = static_cast<std::uint32_t>(entry.size()); // 528
    WriteArchive({Entry("CaddieItem.iff", entry)});
    const std::string archiveSize = std::to_string(fs::file_size(archive));
    const struct {
        ZipMethod method;
        bool inData; // the patch goes into the entry's data, else into its central record
        std::size_t at, width;
        std::uint32_t value; // written little-endian
        std::string lines, why;
    } cases[] = {
        {ZipMethod::Deflate, false, 16, 4, 0xDEADBEEF, HeaderLines("CaddieItem.iff", 2, 13),
         "CRC mismatch (stored 0xDEADBEEF, computed " + CrcText(entry) + ")"},
        {ZipMethod::Deflate, false, 10, 2, 14, "", "unsupported compression method 14"},
        {ZipMethod::Deflate, false, 8, 2, 0x0001, "", "encrypted"},
        {ZipMethod::Deflate, true, 0, 1, 0x07, "", "damaged deflate data"}, // block type 3 does not exist
        {ZipMethod::Deflate, false, 24, 4, size + 1, "",
         "inflates to 528 bytes, not the 529 the directory gives"},
        {ZipMethod::Deflate, false, 24, 4, size - 1, "",
         "inflates to more than the 527 bytes the directory gives"},
        {ZipMethod::Deflate, false, 24, 4, 17039109, "",
         "the directory gives 17,039,109 bytes, more than 65,535 records need (17,039,108)"},
        {ZipMethod::Deflate, false, 20, 4, 0xFFFFFFF0, "",
         "the directory gives 4,294,967,280 bytes of data, more than the archive's " + archiveSize},
        {ZipMethod::Stored, false, 24, 4, size + 1, "", "stored with 528 bytes but the directory gives 529"},
    };
    const Bytes centralSignature = {'P', 'K', 1, 2};
    for (const auto& c : cases) {
        WriteArchive({Entry("CaddieItem.iff", entry, c.method)});
        Bytes file = ReadFileBytes(archive);
        std::size_t at = c.inData ? 30 + (file[26] | file[27] << 8) + (file[28] | file[29] << 8)
                                  : std::search(file.begin(), file.end(), centralSignature.begin(),
                                                centralSignature.end()) -
                                        file.begin();
        for (std::size_t i = 0; i < c.width; ++i)
            file[at + c.at + i] = static_cast<std::uint8_t>(c.value >> (8 * i));
        ASSERT_TRUE(WriteFileBytes(archive, file));
        EXPECT_EQ(Load(kCaddieItemTable, kMissingOrDamaged),
                  c.lines + "Missing or damaged CaddieItem.iff.\n");
        EXPECT_EQ(why, "CaddieItem.iff: " + c.why);
        EXPECT_TRUE(store[kCaddieItemTable].Records.empty());
    }
}
