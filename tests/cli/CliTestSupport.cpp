#include "CliTestSupport.h"

#include "tools/DemoArchive.h"
#include "tools/cli/Commands.h"
#include "tools/cli/Csv.h"
#include "tools/cli/Export.h"
#include "tools/cli/Json.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace ledgrin::clitest {

ScratchDir::ScratchDir() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path() /
            ("ledgrin-cli-" + std::string(info->test_suite_name()) + "-" + info->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

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

cli::InputRow Row(int line, const std::vector<std::pair<std::string, std::string>>& cells) {
    cli::InputRow row;
    row.line = line;
    for (const auto& [column, text] : cells)
        row.cells.push_back({column, text, line});
    return row;
}

std::vector<cli::InputRow> ExportedRows(const TableStore& store, TableIndex t, bool json) {
    const std::string text = cli::ExportTable(store, t, json ? cli::FileFormat::Json : cli::FileFormat::Csv);
    cli::InputRows rows = json ? cli::ReadJson(text) : cli::ReadCsv(text);
    EXPECT_TRUE(rows.errors.empty()) << EntryName(t) << ": " << rows.errors[0].message;
    return rows.rows;
}

std::vector<std::size_t> DifferingOffsets(const Bytes& a, const Bytes& b) {
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) offsets.push_back(i);
    return offsets;
}

CliRun RunCli(const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int status = cli::RunCommandLine(args);
    std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
}

} // namespace ledgrin::clitest
