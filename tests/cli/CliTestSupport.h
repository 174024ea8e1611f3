// Shared by the ledgrin-cli tests: the demo archive as a store or a file, little-endian
// record access at offsets the tests write out, and in-process command runs.
#pragma once

#include "archive/TableStore.h"
#include "tests/support/TestFiles.h"
#include "tools/cli/InputRows.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace ledgrin::clitest {

using test::Bytes;
using test::ReadFileText;
using test::ScratchDir;
using test::WriteFileText;
namespace fs = std::filesystem;

// The small demo archive: as tables, and as a file at path.
TableStore DemoStore();
void WriteDemo(const std::string& path);

std::uint32_t Get(const TableStore& store, TableIndex t, std::size_t index, std::size_t offset, int width);
void Put(TableStore& store, TableIndex t, std::size_t index, std::size_t offset, int width,
         std::uint32_t value);
// The TypeID (offset 4) of an item record, as a row or an argument writes it.
std::string IdOf(const TableStore& store, TableIndex t, std::size_t index);

// The names of the files in a folder, sorted: what a command left behind.
std::vector<std::string> FileNames(const ScratchDir& dir);

// One import row, cells given as {column, text}.
cli::InputRow Row(int line, const std::vector<std::pair<std::string, std::string>>& cells);

struct CliRun {
    int status;
    std::string out, err;
};
// ledgrin-cli run in-process with the given arguments (after the program name).
CliRun RunCli(const std::vector<std::string>& args);

} // namespace ledgrin::clitest
