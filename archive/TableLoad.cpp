#include "archive/TableLoad.h"

#include "archive/EntryName.h"
#include "records/ByteAccess.h"
#include "records/Diagnostics.h"

#include <zip.h>

#include <array>
#include <memory>
#include <new>

namespace ledgrin {

namespace {

struct ZipDiscard {
    void operator()(zip_t* za) const { zip_discard(za); }
};
struct ZipFileClose {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipDiscard>;
using ZipFile = std::unique_ptr<zip_file_t, ZipFileClose>;

// The first entry, in central-directory order, whose whole name matches; -1 when none.
zip_int64_t FindEntry(zip_t* za, const char* name) {
    zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        // Raw: libzip would otherwise turn names with bytes from 0x80 up into UTF-8.
        const char* entry = zip_get_name(za, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (entry && EntryNamesEqual(entry, name)) return i;
    }
    return -1;
}

bool ReadExactly(zip_file_t* file, std::uint8_t* out, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        zip_int64_t n = zip_fread(file, out + done, size - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Reads past the last record to the end of the entry: the bytes there are not kept, but
// only reaching the end lets libzip check the entry's CRC.
bool SkipToEnd(zip_file_t* file) {
    std::array<std::uint8_t, 4096> chunk;
    zip_int64_t n;
    while ((n = zip_fread(file, chunk.data(), chunk.size())) > 0) {
    }
    return n == 0;
}

// The entry's uncompressed size as the central directory states it, or 0 when unknown.
zip_uint64_t StatedSize(zip_t* za, zip_int64_t index) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(za, static_cast<zip_uint64_t>(index), 0, &st) != 0) return 0;
    return (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
}

void ReleaseRecords(TableSlot& slot) {
    std::vector<std::uint8_t>().swap(slot.Records);
}

LoadResult ReadRecords(zip_t* za, zip_int64_t index, zip_file_t* file, TableIndex t, TableSlot& slot) {
    std::size_t size = slot.RecordCount * RecordSize(t);
    // A stated size too small for the count is damage: no need to allocate and read.
    if (StatedSize(za, index) < kTableHeaderSize + size) return kMissingOrDamaged;
    std::vector<std::uint8_t> records(size);
    if (!ReadExactly(file, records.data(), size) || !SkipToEnd(file)) return kMissingOrDamaged;
    slot.Records = std::move(records);
    return kLoaded;
}

LoadResult ReadTable(zip_t* za, TableIndex t, TableSlot& slot) {
    const char* name = EntryName(t);
    zip_int64_t index = FindEntry(za, name);
    if (index < 0) return kMissingOrDamaged;
    ZipFile file(zip_fopen_index(za, static_cast<zip_uint64_t>(index), 0));
    std::array<std::uint8_t, kTableHeaderSize> header;
    if (!file || !ReadExactly(file.get(), header.data(), header.size())) return kMissingOrDamaged;

    slot.RecordCount = ReadU16(header.data(), 0);
    slot.HeaderWord2 = ReadU16(header.data(), 2);
    slot.Version = ReadU32(header.data(), 4);
    DiagPrintf("Entries inside %s: %d\n", name, slot.RecordCount);
    DiagPrintf("%s Version: %d\n", name, static_cast<int>(slot.Version));
    if (slot.Version != kSupportedVersion) {
        DiagLine("Unsupported version.");
        return kUnsupportedVersion;
    }
    return ReadRecords(za, index, file.get(), t, slot);
}

} // namespace

LoadResult LoadTable(TableStore& store, TableIndex t, const std::string& archivePath) {
    if (!IsValidTable(t)) return kMissingOrDamaged;
    ZipArchive archive(zip_open(archivePath.c_str(), ZIP_RDONLY, nullptr));
    if (!archive) {
        DiagLine("tarvik_gb.iff File not found.");
        return kArchiveNotFound;
    }
    TableSlot& slot = store[t];
    LoadResult result;
    try {
        result = ReadTable(archive.get(), t, slot);
    } catch (const std::bad_alloc&) {
        result = kMissingOrDamaged;
    }
    if (result == kLoaded) return result;
    ReleaseRecords(slot);
    if (result == kMissingOrDamaged) DiagPrintf("Missing or damaged %s.\n", EntryName(t));
    return result;
}

} // namespace ledgrin
