#include "tools/ZipWriter.h"

#include "tests/support/TestArchives.h"

#include <gtest/gtest.h>

using namespace ledgrin;
using namespace ledgrin::test;

TEST(ZipWriter, EveryEntryPropertyReadsBackWithLibzip) {
    std::vector<ZipEntry> e(3);
    e[0].name = "plain.txt";
    e[0].bytes = {'t', 'e', 'e', ' ', 'o', 'f', 'f'};
    e[0].method = ZipMethod::Stored;
    e[0].comment = "a note";
    e[1].name = "folder/";
    e[2].name = "folder/zeros.bin";
    e[2].bytes.assign(4000, 0);
    e[0].extraFields = {{0xCAFE, {1, 2, 3}, ZipWhere::Both},
                        {0xBEEF, {9}, ZipWhere::Central},
                        {0xF00D, {4}, ZipWhere::Local}};
    e[0].mtime = {1999, 12, 31, 23, 59, 58};
    e[1].isDirectory = true;
    ScratchDir dir;
    ASSERT_EQ(WriteZipFile(dir / "three.zip", e, "archive note"), ZipWriteResult::Written);

    const ZipReader r(dir / "three.zip");
    ASSERT_EQ(zip_get_num_entries(r.za, 0), 3);
    for (zip_uint64_t i = 0; i < 3; ++i) {
        EXPECT_EQ(r.Stat(i).name, e[i].name);
        EXPECT_EQ(r.Data(i), e[i].bytes);
    }
    EXPECT_EQ(r.Stat(0).comp_method, ZIP_CM_STORE);
    EXPECT_EQ(r.Comment(0), "a note");
    EXPECT_EQ(r.Comment(2), "");
    const struct {
        zip_uint16_t id;
        zip_flags_t where;
        std::string data;
    } extras[] = {{0xCAFE, ZIP_FL_LOCAL, "\x01\x02\x03"}, {0xCAFE, ZIP_FL_CENTRAL, "\x01\x02\x03"},
                  {0xBEEF, ZIP_FL_CENTRAL, "\x09"},       {0xBEEF, ZIP_FL_LOCAL, "absent"},
                  {0xF00D, ZIP_FL_LOCAL, "\x04"},         {0xF00D, ZIP_FL_CENTRAL, "absent"}};
    for (const auto& x : extras)
        EXPECT_EQ(r.Extra(0, x.id, x.where), x.data) << std::hex << x.id << " in " << x.where;
    EXPECT_EQ(r.Time(0), "1999-12-31 23:59:58");
    // The fixed default keeps archives reproducible, for folders as for files.
    EXPECT_EQ(r.Time(1), "2024-03-14 09:26:52");
    EXPECT_EQ(r.Time(2), "2024-03-14 09:26:52");
    EXPECT_EQ(r.Stat(2).comp_method, ZIP_CM_DEFLATE);
    EXPECT_LT(r.Stat(2).comp_size, 100u);
    int length = 0;
    const char* comment = zip_get_archive_comment(r.za, &length, ZIP_FL_ENC_RAW);
    EXPECT_EQ(std::string(comment ? comment : "", length), "archive note");
}
