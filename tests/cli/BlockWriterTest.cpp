// Output written in blocks: what reaches the file or the console is every byte appended,
// in order, across block boundaries and for a record larger than a block.
#include "cli/Console.h"
#include "cli/Files.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace ledgrin;
using namespace ledgrin::cli;

namespace {

// Records of every length up to 2,000 bytes, half through Room, half through Append, and
// one three blocks long; returns what was written.
std::string WriteRecords(BlockWriter& out) {
    std::string all;
    for (int k = 0; k < 3000; ++k) {
        const std::string record =
            std::to_string(k) + std::string(static_cast<std::size_t>(k % 2000), 'a' + k % 26);
        if (k % 2 == 0) {
            char* p = out.Room(record.size());
            std::memcpy(p, record.data(), record.size());
            out.Wrote(p + record.size());
        } else {
            out.Append(record);
        }
        out.Written();
        all += record;
        if (k == 1500) {
            const std::string large(3 * BlockWriter::kBlockSize, 'z');
            out.Append(large);
            all += large;
        }
    }
    return all;
}

} // namespace

TEST(BlockWriter, AFileGetsEveryByteInOrder) {
    test::ScratchDir dir;
    Console console(stdout, stderr);
    BlockWriter out;
    ASSERT_TRUE(out.Open(console, dir / "out.txt"));
    const std::string written = WriteRecords(out);
    ASSERT_GT(written.size(), 4 * BlockWriter::kBlockSize);
    EXPECT_TRUE(out.Finish());
    EXPECT_TRUE(test::ReadFileText(dir / "out.txt") == written);

    BlockWriter nowhere;
    EXPECT_FALSE(nowhere.Open(console, dir / "no such folder/out.txt"));
}

TEST(BlockWriter, StandardOutputGetsEveryByteInOrder) {
    test::ScratchDir dir;
    std::FILE* file = std::fopen((dir / "console.txt").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    Console console(file, stderr);
    BlockWriter out;
    ASSERT_TRUE(out.Open(console, "-"));
    const std::string written = WriteRecords(out);
    EXPECT_TRUE(out.Finish());
    std::fclose(file);
    EXPECT_TRUE(test::ReadFileText(dir / "console.txt") == written);
}
