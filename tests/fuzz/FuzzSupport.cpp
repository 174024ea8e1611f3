#include "tests/fuzz/FuzzSupport.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace ledgrin::fuzz {

namespace {

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutText(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

// The fields that the local header and the central directory share, from "version
// needed" to the extra-field length (DOS time 2024-03-14 09:26:52).
void PutCommonFields(Bytes& out, const StoredEntry& e, std::uint32_t crc) {
    Put16(out, 10);     // version needed: 1.0
    Put16(out, 0);      // flags
    Put16(out, 0);      // method: stored
    Put16(out, 0x4B5A); // time
    Put16(out, 0x586E); // date
    Put32(out, crc);
    Put32(out, static_cast<std::uint32_t>(e.size)); // compressed size
    Put32(out, static_cast<std::uint32_t>(e.size)); // uncompressed size
    Put16(out, static_cast<std::uint32_t>(e.name.size()));
    Put16(out, 0); // extra-field length
}

} // namespace

void CheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}

void SilenceStandardOutput() {
    if (!std::freopen("/dev/null", "w", stdout)) CheckFailed("freopen", __FILE__, __LINE__);
}

MemoryFile::MemoryFile() {
    fd_ = memfd_create("ledgrin-fuzz", 0);
    if (fd_ < 0) CheckFailed("memfd_create", __FILE__, __LINE__);
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
    close(fd_);
}

void MemoryFile::Write(const std::uint8_t* data, std::size_t size) {
    if (ftruncate(fd_, 0) != 0) CheckFailed("ftruncate", __FILE__, __LINE__);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) CheckFailed("pwrite", __FILE__, __LINE__);
        done += static_cast<std::size_t>(n);
    }
}

const std::string& ScratchFolder() {
    static const test::ScratchDir folder(FileExists("/dev/shm") ? "/dev/shm"
                                                                : test::fs::temp_directory_path());
    static const std::string path = folder.path().string();
    return path;
}

bool FileExists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

Bytes StoredZip(const std::vector<StoredEntry>& entries) {
    Bytes out, directory;
    for (const StoredEntry& e : entries) {
        std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, e.data, static_cast<uInt>(e.size)));
        std::uint32_t localOffset = static_cast<std::uint32_t>(out.size());
        Put32(out, 0x04034B50);
        PutCommonFields(out, e, crc);
        PutText(out, e.name);
        out.insert(out.end(), e.data, e.data + e.size);

        Put32(directory, 0x02014B50);
        Put16(directory, 20); // version made by: 2.0, MS-DOS
        PutCommonFields(directory, e, crc);
        Put16(directory, 0); // comment length
        Put16(directory, 0); // disk number
        Put16(directory, 0); // internal attributes
        Put32(directory, 0); // external attributes
        Put32(directory, localOffset);
        PutText(directory, e.name);
    }
    std::uint32_t directoryOffset = static_cast<std::uint32_t>(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    Put32(out, 0x06054B50);
    Put16(out, 0); // this disk
    Put16(out, 0); // disk of the directory
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put32(out, static_cast<std::uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0); // comment length
    return out;
}

} // namespace ledgrin::fuzz
