// Shared by the archive tests: scratch folders, whole-file reads and writes, and a raw
// reader of ZIP headers that does not go through libzip, so the bytes a save wrote can be
// compared with the bytes it was given.
#pragma once

#include "tools/ZipWriter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ledgrin::test {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

// An empty folder of its own for one test, removed again at the end.
class ScratchDir {
  public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const fs::path& path() const { return path_; }
    std::string operator/(const std::string& file) const { return (path_ / file).string(); }

  private:
    fs::path path_;
};

// Bytes that differ from record to record and from offset to offset.
Bytes Pattern(std::size_t n, std::uint8_t seed);
ZipEntry Entry(const std::string& name, const Bytes& bytes, ZipMethod method = ZipMethod::Deflate);

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
// Names of the files and folders directly inside dir, sorted.
std::vector<std::string> ListDir(const fs::path& dir);

// One entry as its two headers store it.
struct RawEntry {
    std::string name;
    std::uint16_t versionMadeBy = 0;
    std::uint16_t flags = 0; // general purpose bits
    std::uint16_t method = 0;
    std::uint16_t dosTime = 0, dosDate = 0;           // central directory
    std::uint16_t localDosTime = 0, localDosDate = 0; // local header
    std::uint32_t crc = 0, size = 0;
    std::uint32_t externalAttributes = 0;
    std::string comment;
    Bytes centralExtra, localExtra; // the extra-field blocks, byte for byte
    Bytes stored;                   // the compressed bytes as they lie in the file
};

struct RawArchive {
    bool ok = false; // false when the headers could not be followed
    std::vector<RawEntry> entries;
    std::string comment;
};

RawArchive ReadRawArchive(const Bytes& file);
RawArchive ReadRawArchive(const std::string& path);

// Expects `after` to be `before` copied in its stored form: same name, compressed bytes,
// CRC, sizes, method, timestamps, comment, extra fields and attributes.
void ExpectSameStoredEntry(const RawEntry& before, const RawEntry& after);

// The uncompressed bytes of the first entry named exactly `name`, read with libzip;
// empty when there is none.
Bytes EntryData(const std::string& archivePath, const std::string& name);

} // namespace ledgrin::test
