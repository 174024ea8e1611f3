#include "tests/window/ArchiveOnDisk.h"

#include <zip.h>

#include <fstream>
#include <iterator>

namespace ledgrin {

namespace {

std::uint32_t Le(const Bytes& b, std::size_t off, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | b[off + static_cast<std::size_t>(i)];
    return v;
}

Bytes Slice(const Bytes& b, std::size_t off, std::size_t length) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(off),
                 b.begin() + static_cast<std::ptrdiff_t>(off + length));
}

// The end-of-central-directory record (signature 0x06054b50), searched from the end.
std::size_t FindEndRecord(const Bytes& b) {
    for (std::size_t off = b.size() >= 22 ? b.size() - 22 : 0; b.size() >= 22; --off) {
        if (Le(b, off, 4) == 0x06054b50) return off;
        if (off == 0) break;
    }
    return std::string::npos;
}

// Reads the central record at `off` (signature 0x02014b50) and the local header it
// points to (0x04034b50); returns the offset of the next central record, or 0.
std::size_t ReadEntry(const Bytes& b, std::size_t off, StoredEntry& e) {
    if (off + 46 > b.size() || Le(b, off, 4) != 0x02014b50) return 0;
    std::size_t name = Le(b, off + 28, 2), extra = Le(b, off + 30, 2), comment = Le(b, off + 32, 2);
    std::size_t next = off + 46 + name + extra + comment;
    std::size_t local = Le(b, off + 42, 4), compressed = Le(b, off + 20, 4);
    if (next > b.size() || local + 30 > b.size() || Le(b, local, 4) != 0x04034b50) return 0;
    std::size_t end = local + 30 + Le(b, local + 26, 2) + Le(b, local + 28, 2) + compressed;
    if (end > b.size()) return 0;
    e.name.assign(b.begin() + static_cast<std::ptrdiff_t>(off + 46),
                  b.begin() + static_cast<std::ptrdiff_t>(off + 46 + name));
    e.central = Slice(b, off, next - off);
    for (int i = 0; i < 4; ++i)
        e.central[42 + i] = 0; // the entry's place in the file may move
    e.local = Slice(b, local, end - local);
    return next;
}

} // namespace

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

StoredArchive ReadStoredArchive(const std::string& path) {
    StoredArchive archive;
    Bytes b = ReadFileBytes(path);
    std::size_t end = FindEndRecord(b);
    if (end == std::string::npos) return archive;
    std::size_t off = Le(b, end + 16, 4);
    archive.entries.resize(Le(b, end + 10, 2));
    for (StoredEntry& e : archive.entries)
        if ((off = ReadEntry(b, off, e)) == 0) return archive;
    archive.ok = true;
    return archive;
}

Bytes EntryContents(const std::string& path, const std::string& name) {
    zip_t* za = zip_open(path.c_str(), ZIP_RDONLY, nullptr);
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

} // namespace ledgrin
