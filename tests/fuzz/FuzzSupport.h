// Shared by the fuzz targets: a file in memory that the path-based loader can open, a
// scratch folder on a memory file system for saves, a stored ZIP writer that needs no
// libzip (so the input decides every byte), and the check that stops a run on a broken
// property.
#pragma once

#include "tests/support/TestFiles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ledgrin::fuzz {

using test::Bytes;
using test::ReadFileBytes;
using test::WriteFileBytes;

// Stops the run with a message when a property does not hold: the fuzzer then keeps the
// input as a crash, like any other fault it finds.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) ::ledgrin::fuzz::CheckFailed(#condition, __FILE__, __LINE__);                      \
    } while (0)
[[noreturn]] void CheckFailed(const char* condition, const char* file, int line);

// Diagnostic lines would flood the fuzzer's output: standard output goes to /dev/null.
void SilenceStandardOutput();

// A file that exists only in memory (memfd), rewritten for every input; its path opens a
// new descriptor to it, as a file on disk would.
class MemoryFile {
  public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    void Write(const std::uint8_t* data, std::size_t size);
    const std::string& path() const { return path_; }

  private:
    int fd_ = -1;
    std::string path_;
};

// A folder of this process on a memory file system (or the temporary folder), removed at exit.
const std::string& ScratchFolder();

bool FileExists(const std::string& path);

// One entry of a stored (uncompressed) ZIP archive.
struct StoredEntry {
    std::string name;
    const std::uint8_t* data;
    std::size_t size;
};

// A complete ZIP archive of stored entries, in order, with correct CRCs.
Bytes StoredZip(const std::vector<StoredEntry>& entries);

} // namespace ledgrin::fuzz
