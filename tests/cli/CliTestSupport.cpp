#include "CliTestSupport.h"

#include "tools/DemoArchive.h"
#include "tools/cli/Commands.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ledgrin::clitest {

TableStore DemoStore() {
    TableStore store;
    EXPECT_EQ(BuildDemoTables({DemoSize::Small, 1}, store), DemoResult::Done);
    return store;
}

void WriteDemo(const std::string& path) {
    ASSERT_EQ(WriteDemoArchive(path, {DemoSize::Small, 1}), DemoResult::Done);
}

std::uint32_t Get(const TableStore& store, TableIndex t, std::size_t index, std::size_t offset, int width) {
    const std::uint8_t* r = store.Record(t, index);
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | r[offset + static_cast<std::size_t>(i)];
    return v;
}

void Put(TableStore& store, TableIndex t, std::size_t index, std::size_t offset, int width,
         std::uint32_t value) {
    std::uint8_t* r = store.Record(t, index);
    for (int i = 0; i < width; ++i)
        r[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::string IdOf(const TableStore& store, TableIndex t, std::size_t index) {
    return std::to_string(Get(store, t, index, 0x04, 4));
}

std::vector<std::string> FileNames(const ScratchDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

cli::InputRow Row(int line, const std::vector<std::pair<std::string, std::string>>& cells) {
    cli::InputRow row;
    row.line = line;
    for (const auto& [column, text] : cells)
        row.cells.push_back({column, text, line});
    return row;
}

CliRun RunCli(const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int status = cli::RunCommandLine(args);
    std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
}

} // namespace ledgrin::clitest
