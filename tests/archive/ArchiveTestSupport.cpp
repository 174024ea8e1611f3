#include "ArchiveTestSupport.h"

#include <zip.h>

namespace ledgrin::test {

namespace {

std::uint32_t Le(const Bytes& b, std::size_t off, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | b[off + i];
    return v;
}

// Reads the central record at `off` and the local header it points to; returns the
// offset of the next central record, or 0 when something lies outside the file.
std::size_t ReadEntry(const Bytes& b, std::size_t off, RawEntry& e) {
    if (off + 46 > b.size() || Le(b, off, 4) != 0x02014b50) return 0;
    std::size_t nameLen = Le(b, off + 28, 2), extraLen = Le(b, off + 30, 2);
    std::size_t next = off + 46 + nameLen + extraLen + Le(b, off + 32, 2), local = Le(b, off + 42, 4);
    if (next > b.size() || local + 30 > b.size() || Le(b, local, 4) != 0x04034b50) return 0;
    std::size_t localEnd = local + 30 + Le(b, local + 26, 2) + Le(b, local + 28, 2) + Le(b, off + 20, 4);
    if (localEnd > b.size()) return 0;
    e.flags = Le(b, off + 8, 2);
    e.method = Le(b, off + 10, 2);
    e.name.assign(b.begin() + off + 46, b.begin() + off + 46 + nameLen);
    e.comment.assign(b.begin() + off + 46 + nameLen + extraLen, b.begin() + next);
    e.central.assign(b.begin() + off, b.begin() + next);
    std::fill(e.central.begin() + 42, e.central.begin() + 46, 0); // entries move when others go
    e.local.assign(b.begin() + local, b.begin() + localEnd);
    return next;
}

} // namespace

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

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::map<std::string, Bytes> Snapshot(const fs::path& dir) {
    std::map<std::string, Bytes> files;
    for (const auto& item : fs::recursive_directory_iterator(dir)) {
        std::string name = item.path().lexically_relative(dir).generic_string();
        if (item.is_directory())
            files[name + "/"];
        else
            files[name] = ReadFileBytes(item.path().string());
    }
    return files;
}

RawArchive ReadRawArchive(const std::string& path) {
    RawArchive archive;
    const Bytes b = ReadFileBytes(path);
    std::size_t end = b.size() < 22 ? 0 : b.size() - 22;
    while (end > 0 && Le(b, end, 4) != 0x06054b50)
        --end;
    if (b.size() < 22 || Le(b, end, 4) != 0x06054b50) return archive;
    archive.comment.assign(b.begin() + end + 22, b.end());
    archive.entries.resize(Le(b, end + 10, 2));
    std::size_t off = Le(b, end + 16, 4);
    for (RawEntry& e : archive.entries)
        if ((off = ReadEntry(b, off, e)) == 0) return archive;
    archive.ok = true;
    return archive;
}

void ExpectSameStoredEntry(const RawEntry& before, const RawEntry& after) {
    EXPECT_EQ(after.name, before.name);
    EXPECT_EQ(after.central, before.central) << before.name;
    EXPECT_EQ(after.local, before.local) << before.name;
}

Bytes EntryData(const std::string& archivePath, const std::string& name) {
    zip_t* za = zip_open(archivePath.c_str(), ZIP_RDONLY, nullptr);
    zip_stat_t st;
    zip_file_t* f = za && zip_stat(za, name.c_str(), 0, &st) == 0 ? zip_fopen(za, name.c_str(), 0) : nullptr;
    Bytes out(f ? st.size : 0);
    if (f && zip_fread(f, out.data(), out.size()) != static_cast<zip_int64_t>(out.size())) out.clear();
    if (f) zip_fclose(f);
    if (za) zip_discard(za);
    return out;
}

void ArchiveTest::SetUp() {
    fs::create_directories(exe);
    fs::create_directories(game);
    WriteArchive({Entry("notes.bin", notes, ZipMethod::Stored),
                  Entry("Part.iff", TableEntryBytes(1, 0, 13, Pattern(544, 23)))});
    store[kPartTable] = {2, 0x0202, 13, Pattern(2 * 544, 21)};
}

void ArchiveTest::WriteArchive(const std::vector<ZipEntry>& entries, const std::string& comment) {
    ASSERT_EQ(WriteZipFile(archive, entries, comment), ZipWriteResult::Written);
}

std::string ArchiveTest::Load(TableIndex t, LoadResult expected) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(LoadTable(store, t, archive, &why), expected) << EntryName(t);
    return testing::internal::GetCapturedStdout();
}

std::string ArchiveTest::Save(TableIndex t, SaveResult expected) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(SaveTable(store, t, archive, exe.string()), expected);
    return testing::internal::GetCapturedStdout();
}

void ArchiveTest::ExpectPartNotSaved(const std::string& output) {
    const std::map<std::string, Bytes> before = Snapshot(dir);
    EXPECT_EQ(Save(kPartTable, kNotSaved), output);
    EXPECT_EQ(Snapshot(dir), before);
}

} // namespace ledgrin::test
