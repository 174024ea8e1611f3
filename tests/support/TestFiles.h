// Scratch folders and whole-file reads and writes, shared by the tests, the fault checks
// and the fuzz targets. It uses no test framework (the fuzz programs link it too) and only
// the standard library, so it builds for Windows as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ledgrin::test {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A new, empty folder with a name of its own under base, removed with its contents at the
// end. A folder that cannot be made throws, which fails the test that wanted it.
class ScratchDir {
  public:
    explicit ScratchDir(const fs::path& base = fs::temp_directory_path());
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const fs::path& path() const { return path_; }
    std::string operator/(const std::string& file) const { return (path_ / file).string(); }

  private:
    fs::path path_;
};

// Whole files, byte for byte; a file that cannot be read reads as empty. The writers
// return false when the file could not be written completely.
Bytes ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
[[nodiscard]] bool WriteFileBytes(const std::string& path, const std::uint8_t* data, std::size_t size);
[[nodiscard]] bool WriteFileBytes(const std::string& path, const Bytes& bytes);
[[nodiscard]] bool WriteFileText(const std::string& path, const std::string& text);

} // namespace ledgrin::test
