#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace ledgrin::test {

namespace {

int ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

std::uint32_t Le(const Bytes& b, std::size_t off, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | b[off + i];
    return v;
}

std::size_t FindEndRecord(const Bytes& b) {
    if (b.size() < 22) return std::string::npos;
    for (std::size_t off = b.size() - 22;; --off) {
        if (Le(b, off, 4) == 0x06054b50) return off;
        if (off == 0) return std::string::npos;
    }
}

Bytes Slice(const Bytes& b, std::size_t off, std::size_t len) {
    return Bytes(b.begin() + off, b.begin() + off + len);
}

// Reads the central record at `off` and the local header it points to; returns the
// offset of the next central record, or 0 when something lies outside the file.
std::size_t ReadEntry(const Bytes& b, std::size_t off, RawEntry& e) {
    if (off + 46 > b.size() || Le(b, off, 4) != 0x02014b50) return 0;
    std::size_t nameLen = Le(b, off + 28, 2), extraLen = Le(b, off + 30, 2), commentLen = Le(b, off + 32, 2);
    std::size_t next = off + 46 + nameLen + extraLen + commentLen;
    std::size_t local = Le(b, off + 42, 4), compSize = Le(b, off + 20, 4);
    if (next > b.size() || local + 30 > b.size() || Le(b, local, 4) != 0x04034b50) return 0;
    std::size_t localName = Le(b, local + 26, 2), localExtra = Le(b, local + 28, 2);
    std::size_t data = local + 30 + localName + localExtra;
    if (data + compSize > b.size()) return 0;
    e.versionMadeBy = Le(b, off + 4, 2);
    e.flags = Le(b, off + 8, 2);
    e.method = Le(b, off + 10, 2);
    e.dosTime = Le(b, off + 12, 2);
    e.dosDate = Le(b, off + 14, 2);
    e.crc = Le(b, off + 16, 4);
    e.size = Le(b, off + 24, 4);
    e.externalAttributes = Le(b, off + 38, 4);
    e.name.assign(b.begin() + off + 46, b.begin() + off + 46 + nameLen);
    e.centralExtra = Slice(b, off + 46 + nameLen, extraLen);
    e.comment.assign(b.begin() + off + 46 + nameLen + extraLen, b.begin() + next);
    e.localDosTime = Le(b, local + 10, 2);
    e.localDosDate = Le(b, local + 12, 2);
    e.localExtra = Slice(b, local + 30 + localName, localExtra);
    e.stored = Slice(b, data, compSize);
    return next;
}

} // namespace

// The process id keeps two test runs at the same time (native and sanitizer trees) apart.
ScratchDir::ScratchDir(const std::string& name)
    : path_(fs::temp_directory_path() / ("ledgrin-archive-" + std::to_string(ProcessId()) + "-" + name)) {
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

Bytes Pattern(std::size_t n, std::uint8_t seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(seed + i * 31 + i / 251);
    return b;
}

ZipEntry Entry(const std::string& name, const Bytes& bytes, ZipMethod method) {
    ZipEntry e;
    e.name = name;
    e.bytes = bytes;
    e.method = method;
    return e;
}

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> ListDir(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(dir))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

RawArchive ReadRawArchive(const Bytes& b) {
    RawArchive archive;
    std::size_t end = FindEndRecord(b);
    if (end == std::string::npos) return archive;
    std::size_t count = Le(b, end + 10, 2), off = Le(b, end + 16, 4);
    archive.comment.assign(b.begin() + end + 22,
                           b.begin() + std::min(b.size(), end + 22 + Le(b, end + 20, 2)));
    archive.entries.resize(count);
    for (RawEntry& e : archive.entries)
        if ((off = ReadEntry(b, off, e)) == 0) return archive;
    archive.ok = true;
    return archive;
}

RawArchive ReadRawArchive(const std::string& path) {
    return ReadRawArchive(ReadFileBytes(path));
}

void ExpectSameStoredEntry(const RawEntry& before, const RawEntry& after) {
    SCOPED_TRACE("entry " + before.name);
    EXPECT_EQ(after.name, before.name);
    EXPECT_EQ(after.stored, before.stored);
    EXPECT_EQ(after.crc, before.crc);
    EXPECT_EQ(after.size, before.size);
    EXPECT_EQ(after.method, before.method);
    EXPECT_EQ(after.dosTime, before.dosTime);
    EXPECT_EQ(after.dosDate, before.dosDate);
    EXPECT_EQ(after.localDosTime, before.localDosTime);
    EXPECT_EQ(after.localDosDate, before.localDosDate);
    EXPECT_EQ(after.comment, before.comment);
    EXPECT_EQ(after.centralExtra, before.centralExtra);
    EXPECT_EQ(after.localExtra, before.localExtra);
    EXPECT_EQ(after.externalAttributes, before.externalAttributes);
    EXPECT_EQ(after.versionMadeBy >> 8, before.versionMadeBy >> 8); // the host system
}

Bytes EntryData(const std::string& archivePath, const std::string& name) {
    zip_t* za = zip_open(archivePath.c_str(), ZIP_RDONLY, nullptr);
    if (!za) return {};
    Bytes out;
    zip_stat_t st;
    zip_file_t* f = nullptr;
    if (zip_stat(za, name.c_str(), ZIP_FL_ENC_RAW, &st) == 0 && (f = zip_fopen(za, name.c_str(), 0))) {
        out.resize(st.size);
        if (zip_fread(f, out.data(), out.size()) != static_cast<zip_int64_t>(out.size())) out.clear();
        zip_fclose(f);
    }
    zip_discard(za);
    return out;
}

} // namespace ledgrin::test
