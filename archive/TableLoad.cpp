#include "archive/TableLoad.h"

#include "archive/EntryName.h"
#include "records/ByteAccess.h"
#include "records/Diagnostics.h"

#include <zip.h>
#include <zlib.h>

#include <array>
#include <cstdio>
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

// 35651048 as "35,651,048".
std::string Grouped(std::uint64_t n) {
    const std::string digits = std::to_string(n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string Hex32(std::uint32_t v) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(v));
    return text;
}

// The CRC of the entry's bytes as they read now: libzip says only that it differs.
std::uint32_t ComputedCrc(zip_t* za, zip_int64_t index) {
    ZipFile file(zip_fopen_index(za, static_cast<zip_uint64_t>(index), 0));
    uLong crc = crc32(0, nullptr, 0);
    std::array<std::uint8_t, 65536> chunk;
    zip_int64_t n;
    while (file && (n = zip_fread(file.get(), chunk.data(), chunk.size())) > 0)
        crc = crc32(crc, chunk.data(), static_cast<uInt>(n));
    return static_cast<std::uint32_t>(crc);
}

// Why the entry could not be opened.
std::string OpenFailure(zip_t* za, const zip_stat_t& st) {
    if (st.encryption_method != ZIP_EM_NONE) return "encrypted";
    if (!zip_compression_method_supported(st.comp_method, 0))
        return "unsupported compression method " + std::to_string(st.comp_method);
    return zip_error_strerror(zip_get_error(za));
}

// Why reading the entry's data stopped short.
std::string ReadFailure(zip_t* za, zip_int64_t index, zip_file_t* file, const zip_stat_t& st) {
    zip_error_t* error = zip_file_get_error(file);
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_CRC:
        return "CRC mismatch (stored " + Hex32(st.crc) + ", computed " + Hex32(ComputedCrc(za, index)) + ")";
    case ZIP_ER_COMPRESSED_DATA: return "damaged deflate data";
    case ZIP_ER_MEMORY: return "out of memory";
    default: return zip_error_strerror(error);
    }
}

void ReleaseRecords(TableSlot& slot) {
    std::vector<std::uint8_t>().swap(slot.Records);
}

LoadResult ReadRecords(zip_t* za, zip_int64_t index, zip_file_t* file, const zip_stat_t& st, TableIndex t,
                       TableSlot& slot, std::string& why) {
    std::size_t size = slot.RecordCount * RecordSize(t);
    // A stated size too small for the count is damage: no need to allocate and read.
    if (st.size < kTableHeaderSize + size) {
        why = "the header promises " + Grouped(slot.RecordCount) + " records of " + Grouped(RecordSize(t)) +
              " bytes (" + Grouped(kTableHeaderSize + size) + " bytes with the header) but the entry holds " +
              Grouped(st.size);
        return kMissingOrDamaged;
    }
    std::vector<std::uint8_t> records(size);
    if (!ReadExactly(file, records.data(), size) || !SkipToEnd(file)) {
        why = ReadFailure(za, index, file, st);
        return kMissingOrDamaged;
    }
    slot.Records = std::move(records);
    return kLoaded;
}

LoadResult ReadTable(zip_t* za, TableIndex t, TableSlot& slot, std::string& why) {
    const char* name = EntryName(t);
    zip_int64_t index = FindEntry(za, name);
    zip_stat_t st;
    zip_stat_init(&st);
    if (index < 0 || zip_stat_index(za, static_cast<zip_uint64_t>(index), 0, &st) != 0) {
        why = "not in the archive";
        return kMissingOrDamaged;
    }
    ZipFile file(zip_fopen_index(za, static_cast<zip_uint64_t>(index), 0));
    if (!file) {
        why = OpenFailure(za, st);
        return kMissingOrDamaged;
    }
    if (st.size < kTableHeaderSize) {
        why = Grouped(st.size) + " bytes, shorter than its " + std::to_string(kTableHeaderSize) +
              "-byte header";
        return kMissingOrDamaged;
    }
    std::array<std::uint8_t, kTableHeaderSize> header;
    if (!ReadExactly(file.get(), header.data(), header.size())) {
        why = ReadFailure(za, index, file.get(), st);
        return kMissingOrDamaged;
    }

    slot.RecordCount = ReadU16(header.data(), 0);
    slot.HeaderWord2 = ReadU16(header.data(), 2);
    slot.Version = ReadU32(header.data(), 4);
    DiagPrintf("Entries inside %s: %d\n", name, slot.RecordCount);
    DiagPrintf("%s Version: %d\n", name, static_cast<int>(slot.Version));
    if (slot.Version != kSupportedVersion) {
        DiagLine("Unsupported version.");
        why = "version " + std::to_string(slot.Version) + ", not " + std::to_string(kSupportedVersion);
        return kUnsupportedVersion;
    }
    return ReadRecords(za, index, file.get(), st, t, slot, why);
}

// libzip's own words for why zip_open failed ("Not a zip archive", "No such file", ...).
std::string OpenError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

} // namespace

LoadResult LoadTable(TableStore& store, TableIndex t, const std::string& archivePath, std::string* whyOut) {
    std::string why;
    LoadResult result = kMissingOrDamaged;
    int error = 0;
    ZipArchive archive(IsValidTable(t) ? zip_open(archivePath.c_str(), ZIP_RDONLY, &error) : nullptr);
    if (!IsValidTable(t)) {
        why = "no table " + std::to_string(t);
    } else if (!archive) {
        DiagLine("tarvik_gb.iff File not found.");
        why = "cannot open " + archivePath + ": " + OpenError(error);
        result = kArchiveNotFound;
    } else {
        TableSlot& slot = store[t];
        try {
            result = ReadTable(archive.get(), t, slot, why);
        } catch (const std::bad_alloc&) {
            why = "out of memory";
        }
        if (result != kLoaded) {
            ReleaseRecords(slot);
            why = EntryName(t) + (": " + why);
        }
        if (result == kMissingOrDamaged) DiagPrintf("Missing or damaged %s.\n", EntryName(t));
    }
    if (whyOut) *whyOut = result == kLoaded ? std::string() : why;
    return result;
}

} // namespace ledgrin
