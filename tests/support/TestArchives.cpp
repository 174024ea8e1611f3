#include "tests/support/TestArchives.h"

#include "archive/TableLoad.h"
#include "records/Diagnostics.h"
#include "demo/DemoArchive.h"

#include <ctime>
#include <stdexcept>

namespace ledgrin::test {

TableStore SmallDemoTables() {
    TableStore store;
    if (BuildDemoTables({DemoSize::Small, 1}, store) != DemoResult::Done)
        throw std::runtime_error("demo tables");
    return store;
}

bool WriteDemoTables(const std::string& path, const TableStore& store, TableIndex t,
                     const std::function<void(Bytes& entry)>& edit) {
    std::vector<ZipEntry> entries;
    if (DemoArchiveEntries(store, entries) != DemoResult::Done) return false;
    for (ZipEntry& entry : entries)
        if (edit && entry.name == EntryName(t)) edit(entry.bytes);
    return WriteZipFile(path, entries) == ZipWriteResult::Written;
}

bool LoadAll(const std::string& path, TableStore& store) {
    QuietDiagnostics quiet;
    for (TableIndex t = 0; t < kTableCount; ++t)
        if (LoadTable(store, t, path) != kLoaded) return false;
    return true;
}

Bytes ZipReader::Data(std::int64_t i) const {
    zip_file_t* f = za && i >= 0 ? zip_fopen_index(za, static_cast<zip_uint64_t>(i), 0) : nullptr;
    Bytes out(f ? Stat(static_cast<zip_uint64_t>(i)).size : 0);
    if (f && zip_fread(f, out.data(), out.size()) != static_cast<zip_int64_t>(out.size())) out.clear();
    if (f) zip_fclose(f);
    return out;
}

std::string ZipReader::Time(zip_uint64_t i) const {
    const std::time_t mtime = Stat(i).mtime;
    char text[32] = "";
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", std::localtime(&mtime));
    return text;
}

std::vector<RawEntry> ReadRawEntries(const std::string& path) {
    const Bytes b = ReadFileBytes(path);
    auto le = [&](std::size_t at, std::size_t width) {
        return at + width <= b.size() ? Get(&b[at], width) : 0;
    };
    std::size_t end = b.size() - std::min<std::size_t>(b.size(), 22);
    while (end > 0 && le(end, 4) != 0x06054b50)
        --end;
    std::vector<RawEntry> entries(le(end + 10, 2));
    for (std::size_t i = 0, at = le(end + 16, 4); i < entries.size(); ++i) {
        const std::size_t name = at + 46, next = name + le(at + 28, 2) + le(at + 30, 2) + le(at + 32, 2),
                          local = le(at + 42, 4), data = local + 30 + le(local + 26, 2) + le(local + 28, 2);
        if (le(at, 4) != 0x02014b50 || le(local, 4) != 0x04034b50 || next > b.size() ||
            data + le(at + 20, 4) > b.size())
            return {};
        entries[i] = {std::string(b.begin() + name, b.begin() + name + le(at + 28, 2)),
                      Bytes(b.begin() + at, b.begin() + next),
                      Bytes(b.begin() + local, b.begin() + data + le(at + 20, 4))};
        std::fill(entries[i].central.begin() + 42, entries[i].central.begin() + 46, 0);
        at = next;
    }
    return entries;
}

} // namespace ledgrin::test
