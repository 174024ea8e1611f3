// Scratch folders, whole files and little-endian bytes for every test folder and the fuzz
// targets. Only the standard library and no test framework (the fuzz programs link it
// too), so it builds for Windows as well.
#pragma once

#include "records/TableBytes.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
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
[[nodiscard]] bool WriteFileBytes(const std::string& path, const Bytes& bytes);
[[nodiscard]] bool WriteFileText(const std::string& path, const std::string& text);

// Every file and folder below dir with its bytes (a folder as "name/" with none).
std::map<std::string, Bytes> Snapshot(const fs::path& dir);

// The lines of text without their line ends ("\n" or "\r\n").
std::vector<std::string> SplitLines(const std::string& text);

// n bytes that are never zero and differ from their neighbours, so a cleared or shifted
// byte shows; another seed starts the sequence elsewhere.
inline Bytes Pattern(std::size_t n, std::uint8_t seed = 0) {
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(((i + seed) * 37 + 101) % 251 + 1);
    return bytes;
}

// A table's records as plain bytes, and back.
inline Bytes AsBytes(const TableBytes& records) {
    return Bytes(records.begin(), records.end());
}
inline TableBytes AsTableBytes(const Bytes& bytes) {
    TableBytes records;
    records.Append(bytes.data(), bytes.size());
    return records;
}

// Byte i, checked against the size.
inline std::uint8_t& At(Bytes& bytes, std::size_t i) {
    return bytes.at(i);
}
inline std::uint8_t& At(TableBytes& bytes, std::size_t i) {
    if (i >= bytes.size()) throw std::out_of_range("byte " + std::to_string(i) + " of a table's records");
    return bytes[i];
}

// A little-endian value of `width` bytes at offset, and text in a field of `size` bytes,
// cut to it and zero behind.
template <class B> void Put(B& bytes, std::size_t offset, std::size_t width, std::uint32_t value) {
    for (std::size_t i = 0; i < width; ++i)
        At(bytes, offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}
template <class B> void PutText(B& bytes, std::size_t offset, const std::string& text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        At(bytes, offset + i) = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
}
inline std::uint32_t Get(const std::uint8_t* at, std::size_t width) {
    return width == 0 ? 0 : at[0] | Get(at + 1, width - 1) << 8;
}

} // namespace ledgrin::test
