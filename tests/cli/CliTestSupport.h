// Shared by the ledgrin-cli tests: scratch folders, whole-file reads, the demo archive
// as a store or a file, rows as an import would read them, and in-process command runs.
// Offsets used by the tests are written out in each test, not taken from the code.
#pragma once

#include "archive/TableStore.h"
#include "tools/cli/InputRows.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace ledgrin::clitest {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// An empty folder of its own for one test, removed again at the end.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const fs::path& path() const { return path_; }
    std::string operator/(const std::string& file) const { return (path_ / file).string(); }

  private:
    fs::path path_;
};

Bytes ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

// The small demo archive: as tables, and as a file at path.
TableStore DemoStore();
void WriteDemo(const std::string& path);

// Little-endian access to a record of the store, at offsets the test writes out.
std::uint32_t Get(const TableStore& store, TableIndex t, std::size_t index, std::size_t offset, int width);
void Put(TableStore& store, TableIndex t, std::size_t index, std::size_t offset, int width,
         std::uint32_t value);

// One import row: line 2 onward, cells given as {column, text}.
cli::InputRow Row(int line, const std::vector<std::pair<std::string, std::string>>& cells);

// The exported rows of table t read back as an import reads them.
std::vector<cli::InputRow> ExportedRows(const TableStore& store, TableIndex t, bool json);

// Offsets in a table's record buffer where a and b differ.
std::vector<std::size_t> DifferingOffsets(const Bytes& a, const Bytes& b);

struct CliRun {
    int status;
    std::string out, err;
};
// ledgrin-cli run in-process with the given arguments (after the program name).
CliRun RunCli(const std::vector<std::string>& args);

} // namespace ledgrin::clitest
