#include "tools/ZipWriter.h"

#include "tests/tools/ZipReadBack.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace ledgrin;
namespace fs = std::filesystem;

namespace {

fs::path TempPath(const char* name) {
    fs::path dir = fs::temp_directory_path() / "ledgrin-zipwriter-test";
    fs::create_directories(dir);
    return dir / name;
}

} // namespace

TEST(ZipWriter, EveryEntryPropertyReadsBackWithLibzip) {
    std::vector<ZipEntry> e(3);
    e[0].name = "plain.txt";
    e[0].bytes = {'t', 'e', 'e', ' ', 'o', 'f', 'f'};
    e[0].method = ZipMethod::Stored;
    e[0].comment = "hand-written note";
    e[0].extraFields = {{0xCAFE, {1, 2, 3}, ZipWhere::Both}, {0xBEEF, {9}, ZipWhere::Central}};
    e[0].mtime = {1999, 12, 31, 23, 59, 58};
    e[1].name = "folder/";
    e[1].isDirectory = true;
    e[2].name = "folder/zeros.bin";
    e[2].bytes.assign(4000, 0);
    const fs::path path = TempPath("three.zip");
    ASSERT_EQ(WriteZipFile(path.string(), e, "archive note"), ZipWriteResult::Written);

    ledgrin_test::ZipReadBack r(path.string());
    ASSERT_NE(r.za, nullptr);
    ASSERT_EQ(zip_get_num_entries(r.za, 0), 3);
    for (zip_uint64_t i = 0; i < 3; ++i)
        EXPECT_EQ(r.Stat(i).name, e[i].name);
    EXPECT_EQ(r.Data(0), e[0].bytes);
    EXPECT_EQ(r.Stat(0).comp_method, ZIP_CM_STORE);
    EXPECT_EQ(r.Comment(0), "hand-written note");
    EXPECT_EQ(r.Extra(0, 0xCAFE, ZIP_FL_LOCAL), "\x01\x02\x03");
    EXPECT_EQ(r.Extra(0, 0xCAFE, ZIP_FL_CENTRAL), "\x01\x02\x03");
    EXPECT_EQ(r.Extra(0, 0xBEEF, ZIP_FL_CENTRAL), "\x09");
    EXPECT_EQ(r.Extra(0, 0xBEEF, ZIP_FL_LOCAL), "absent");
    EXPECT_EQ(r.Time(0), "1999-12-31 23:59:58");
    EXPECT_EQ(r.Stat(1).size, 0u);
    EXPECT_EQ(r.Data(2), e[2].bytes);
    EXPECT_EQ(r.Stat(2).comp_method, ZIP_CM_DEFLATE);
    EXPECT_LT(r.Stat(2).comp_size, 100u);
    EXPECT_EQ(r.Time(2), "2024-03-14 09:26:52"); // the fixed default keeps archives reproducible
    int length = 0;
    const char* comment = zip_get_archive_comment(r.za, &length, ZIP_FL_ENC_RAW);
    EXPECT_EQ(std::string(comment ? comment : "", length), "archive note");
}
