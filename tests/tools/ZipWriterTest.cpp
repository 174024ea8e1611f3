#include "tools/ZipWriter.h"

#include "tests/tools/ZipReadBack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace ledgrin;
using Reader = ledgrin_test::ZipReadBack;
namespace fs = std::filesystem;

namespace {

fs::path TempPath(const char* name) {
    fs::path dir = fs::temp_directory_path() / "ledgrin-zipwriter-test";
    fs::create_directories(dir);
    return dir / name;
}

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::time_t LocalTime(int y, int mo, int d, int h, int mi, int s) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

std::vector<ZipEntry> ThreeEntries() {
    std::vector<ZipEntry> e(3);
    e[0].name = "plain.txt";
    e[0].bytes = {'t', 'e', 'e', ' ', 'o', 'f', 'f'};
    e[0].method = ZipMethod::Stored;
    e[0].comment = "hand-written note";
    e[0].extraFields.push_back({0xCAFE, {1, 2, 3}, ZipWhere::Both});
    e[0].extraFields.push_back({0xBEEF, {9}, ZipWhere::Central});
    e[0].mtime = {1999, 12, 31, 23, 59, 58};
    e[1].name = "folder/";
    e[1].isDirectory = true;
    e[2].name = "folder/zeros.bin";
    e[2].bytes.assign(4000, 0); // compresses to a few bytes
    e[2].level = 1;
    return e;
}

} // namespace

TEST(ZipWriterRoundTrip, NamesDataAndOrderReadBack) {
    fs::path path = TempPath("three.zip");
    ASSERT_EQ(WriteZipFile(path.string(), ThreeEntries(), "archive note"), ZipWriteResult::Written);
    Reader r(path.string());
    ASSERT_NE(r.za, nullptr);
    ASSERT_EQ(zip_get_num_entries(r.za, 0), 3);
    EXPECT_STREQ(zip_get_name(r.za, 0, 0), "plain.txt");
    EXPECT_STREQ(zip_get_name(r.za, 1, 0), "folder/");
    EXPECT_STREQ(zip_get_name(r.za, 2, 0), "folder/zeros.bin");
    EXPECT_EQ(r.Data(0), (std::vector<std::uint8_t>{'t', 'e', 'e', ' ', 'o', 'f', 'f'}));
    EXPECT_EQ(r.Stat(1).size, 0u);
    EXPECT_EQ(r.Data(2), std::vector<std::uint8_t>(4000, 0));
    int len = 0;
    const char* comment = zip_get_archive_comment(r.za, &len, ZIP_FL_ENC_RAW);
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(std::string(comment, len), "archive note");
}

TEST(ZipWriterRoundTrip, StoredStaysStoredAndDeflateIsUsedWhenAsked) {
    std::vector<ZipEntry> e = ThreeEntries();
    e.push_back({});
    e[3].name = "noise.bin";
    e[3].bytes = {0x8F, 0x11, 0xE2, 0x5C}; // too short to shrink: deflate still asked for
    fs::path path = TempPath("methods.zip");
    ASSERT_EQ(WriteZipFile(path.string(), e), ZipWriteResult::Written);
    Reader r(path.string());
    EXPECT_EQ(r.Stat(0).comp_method, ZIP_CM_STORE);
    EXPECT_EQ(r.Stat(0).comp_size, 7u);
    EXPECT_EQ(r.Stat(2).comp_method, ZIP_CM_DEFLATE);
    EXPECT_LT(r.Stat(2).comp_size, 100u);
    EXPECT_EQ(r.Stat(3).comp_method, ZIP_CM_DEFLATE);
    EXPECT_EQ(r.Data(3), (std::vector<std::uint8_t>{0x8F, 0x11, 0xE2, 0x5C}));
}

TEST(ZipWriterRoundTrip, CommentsAndExtraFieldsLandInTheRightHeaders) {
    fs::path path = TempPath("extras.zip");
    ASSERT_EQ(WriteZipFile(path.string(), ThreeEntries()), ZipWriteResult::Written);
    Reader r(path.string());
    EXPECT_EQ(r.Comment(0), "hand-written note");
    EXPECT_EQ(r.Comment(2), "");
    EXPECT_EQ(r.Extra(0, 0xCAFE, ZIP_FL_LOCAL), std::string("\x01\x02\x03"));
    EXPECT_EQ(r.Extra(0, 0xCAFE, ZIP_FL_CENTRAL), std::string("\x01\x02\x03"));
    EXPECT_EQ(r.Extra(0, 0xBEEF, ZIP_FL_CENTRAL), std::string("\x09"));
    EXPECT_EQ(r.Extra(0, 0xBEEF, ZIP_FL_LOCAL), "absent");
    EXPECT_EQ(r.Extra(2, 0xCAFE, ZIP_FL_CENTRAL), "absent");
}

TEST(ZipWriterRoundTrip, TimestampsAreTheOnesGiven) {
    fs::path path = TempPath("times.zip");
    ASSERT_EQ(WriteZipFile(path.string(), ThreeEntries()), ZipWriteResult::Written);
    Reader r(path.string());
    EXPECT_EQ(r.Stat(0).mtime, LocalTime(1999, 12, 31, 23, 59, 58));
    EXPECT_EQ(r.Stat(2).mtime, LocalTime(2024, 3, 14, 9, 26, 52)); // the default
}

TEST(ZipWriterRoundTrip, MemoryAndFileGiveTheSameBytesEveryTime) {
    fs::path path = TempPath("same.zip");
    ASSERT_EQ(WriteZipFile(path.string(), ThreeEntries(), "c"), ZipWriteResult::Written);
    std::vector<std::uint8_t> first, second;
    ASSERT_EQ(BuildZipBytes(ThreeEntries(), first, "c"), ZipWriteResult::Written);
    ASSERT_EQ(BuildZipBytes(ThreeEntries(), second, "c"), ZipWriteResult::Written);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, FileBytes(path));
}

TEST(ZipWriterRoundTrip, AnEmptyListIsAnArchiveWithNoEntries) {
    fs::path path = TempPath("empty.zip");
    ASSERT_EQ(WriteZipFile(path.string(), {}, "nothing"), ZipWriteResult::Written);
    std::vector<std::uint8_t> bytes = FileBytes(path);
    ASSERT_EQ(bytes.size(), 22u + 7u);
    EXPECT_EQ(std::memcmp(bytes.data(), "PK\x05\x06", 4), 0);
    Reader r(path.string());
    ASSERT_NE(r.za, nullptr);
    EXPECT_EQ(zip_get_num_entries(r.za, 0), 0);
}

TEST(ZipWriterFailure, DuplicateNamesAreRefusedAndNoFileIsWritten) {
    std::vector<ZipEntry> e(2);
    e[0].name = e[1].name = "Part.iff";
    fs::path path = TempPath("dup.zip");
    fs::remove(path);
    EXPECT_EQ(WriteZipFile(path.string(), e), ZipWriteResult::CannotAdd);
    EXPECT_FALSE(fs::exists(path));
}

TEST(ZipWriterFailure, AMissingFolderIsReportedNotWritten) {
    fs::path path = TempPath("no-such-folder") / "x.zip";
    fs::remove_all(path.parent_path());
    EXPECT_NE(WriteZipFile(path.string(), ThreeEntries()), ZipWriteResult::Written);
    EXPECT_NE(WriteZipFile(path.string(), {}), ZipWriteResult::Written);
    EXPECT_FALSE(fs::exists(path));
}

TEST(ZipTimeWords, DosWordsPackTheFieldsAsZipStoresThem) {
    ZipTime t{1999, 12, 31, 23, 59, 58};
    EXPECT_EQ(DosTimeWord(t), 0xBF7D); // 23 << 11 | 59 << 5 | 29
    EXPECT_EQ(DosDateWord(t), 0x279F); // 19 << 9 | 12 << 5 | 31
    EXPECT_EQ(DosDateWord({1980, 1, 1, 0, 0, 0}), 0x0021);
}

TEST(ZipTimeWords, UnixTimesBreakDownInUtc) {
    ZipTime t = ZipTimeFromUnix(946684798); // two seconds before 2000
    EXPECT_EQ(t.year, 1999);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 31);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.minute, 59);
    EXPECT_EQ(t.second, 58);
    ZipTime leap = ZipTimeFromUnix(951782400 + 3600 * 13 + 61);
    EXPECT_EQ(leap.year, 2000);
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
    EXPECT_EQ(leap.hour, 13);
    EXPECT_EQ(leap.minute, 1);
    EXPECT_EQ(leap.second, 1);
}

TEST(TableEntryBytesLayout, HeaderIsLittleEndianThenTheRecords) {
    std::vector<std::uint8_t> bytes = TableEntryBytes(0x9C40, 0x1234, 13, {0xAA, 0xBB});
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x40, 0x9C, 0x34, 0x12, 13, 0, 0, 0, 0xAA, 0xBB}));
    EXPECT_EQ(TableEntryBytes(0, 0, 0x0102030A, {}), (std::vector<std::uint8_t>{0, 0, 0, 0, 0x0A, 3, 2, 1}));
}
