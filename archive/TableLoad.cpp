#include "archive/TableLoad.h"

#include "archive/EntryName.h"
#include "records/ByteAccess.h"
#include "records/Diagnostics.h"

#include <libdeflate.h>
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <vector>

namespace ledgrin {

namespace {

struct ZipDiscard {
    void operator()(zip_t* za) const { zip_discard(za); }
};
struct ZipFileClose {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipDiscard>;
using ZipFile = std::unique_ptr<zip_file_t, ZipFileClose>;
using Bytes = std::vector<std::uint8_t>;

// The largest entry a table can need: its header and 65,535 records. A larger size in the
// directory is damage, found before the memory for it is taken.
std::uint64_t LargestEntry(TableIndex t) {
    return kTableHeaderSize + std::uint64_t{0xFFFF} * RecordSize(t);
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

// The entry's data as the archive stores it, read through libzip without inflating it.
bool ReadStored(zip_t* za, zip_int64_t index, Bytes& stored, std::string& why) {
    ZipFile file(zip_fopen_index(za, static_cast<zip_uint64_t>(index), ZIP_FL_COMPRESSED));
    std::size_t done = 0;
    while (file && done < stored.size()) {
        zip_int64_t n = zip_fread(file.get(), stored.data() + done, stored.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (done == stored.size()) return true;
    zip_error_t* error = file ? zip_file_get_error(file.get()) : zip_get_error(za);
    why = zip_error_code_zip(error) != ZIP_ER_OK
              ? std::string("cannot read its data: ") + zip_error_strerror(error)
              : "its data ends after " + Grouped(done) + " of its " + Grouped(stored.size()) + " bytes";
    return false;
}

// The entry's bytes, of the size the central directory gives: stored ones as read, deflated
// ones inflated whole with libdeflate. The CRC is not checked here.
bool ReadEntry(zip_t* za, zip_int64_t index, const zip_stat_t& st, std::uint64_t archiveSize, TableIndex t,
               Bytes& data, std::string& why) {
    const bool deflated = st.comp_method == ZIP_CM_DEFLATE;
    if (st.comp_size > archiveSize) {
        why = "the directory gives " + Grouped(st.comp_size) + " bytes of data, more than the archive's " +
              Grouped(archiveSize);
        return false;
    }
    if (st.size > LargestEntry(t)) {
        why = "the directory gives " + Grouped(st.size) + " bytes, more than 65,535 records need (" +
              Grouped(LargestEntry(t)) + ")";
        return false;
    }
    if (!deflated && st.size != st.comp_size) {
        why = "stored with " + Grouped(st.comp_size) + " bytes but the directory gives " + Grouped(st.size);
        return false;
    }
    if (st.comp_size > data.max_size()) throw std::bad_alloc(); // beyond a 32-bit address space
    if (!deflated) {
        data.resize(static_cast<std::size_t>(st.size));
        return ReadStored(za, index, data, why);
    }
    Bytes stored(static_cast<std::size_t>(st.comp_size));
    if (!ReadStored(za, index, stored, why)) return false;
    std::unique_ptr<libdeflate_decompressor, DecompressorFree> decompressor(libdeflate_alloc_decompressor());
    if (!decompressor) throw std::bad_alloc();
    data.resize(static_cast<std::size_t>(st.size));
    std::size_t inflated = 0;
    switch (libdeflate_deflate_decompress(decompressor.get(), stored.data(), stored.size(), data.data(),
                                          data.size(), &inflated)) {
    case LIBDEFLATE_SUCCESS:
        if (inflated == data.size()) return true;
        why = "inflates to " + Grouped(inflated) + " bytes, not the " + Grouped(st.size) +
              " the directory gives";
        return false;
    case LIBDEFLATE_INSUFFICIENT_SPACE:
        why = "inflates to more than the " + Grouped(st.size) + " bytes the directory gives";
        return false;
    default: why = "damaged deflate data"; return false;
    }
}

void ReleaseRecords(TableSlot& slot) {
    std::vector<std::uint8_t>().swap(slot.Records);
}

LoadResult ReadTable(zip_t* za, std::uint64_t archiveSize, TableIndex t, TableSlot& slot, std::string& why) {
    const char* name = EntryName(t);
    zip_int64_t index = FindEntry(za, name);
    zip_stat_t st;
    zip_stat_init(&st);
    if (index < 0 || zip_stat_index(za, static_cast<zip_uint64_t>(index), 0, &st) != 0) {
        why = "not in the archive";
        return kMissingOrDamaged;
    }
    if (st.encryption_method != ZIP_EM_NONE) {
        why = "encrypted";
        return kMissingOrDamaged;
    }
    if (st.comp_method != ZIP_CM_STORE && st.comp_method != ZIP_CM_DEFLATE) {
        why = "unsupported compression method " + std::to_string(st.comp_method);
        return kMissingOrDamaged;
    }
    Bytes data;
    if (!ReadEntry(za, index, st, archiveSize, t, data, why)) return kMissingOrDamaged;
    if (data.size() < kTableHeaderSize) {
        why = Grouped(data.size()) + " bytes, shorter than its " + std::to_string(kTableHeaderSize) +
              "-byte header";
        return kMissingOrDamaged;
    }

    slot.RecordCount = ReadU16(data.data(), 0);
    slot.HeaderWord2 = ReadU16(data.data(), 2);
    slot.Version = ReadU32(data.data(), 4);
    DiagPrintf("Entries inside %s: %d\n", name, slot.RecordCount);
    DiagPrintf("%s Version: %d\n", name, static_cast<int>(slot.Version));
    if (slot.Version != kSupportedVersion) {
        DiagLine("Unsupported version.");
        why = "version " + std::to_string(slot.Version) + ", not " + std::to_string(kSupportedVersion);
        return kUnsupportedVersion;
    }
    std::uint32_t crc = libdeflate_crc32(0, data.data(), data.size());
    if (crc != st.crc) {
        why = "CRC mismatch (stored " + Hex32(st.crc) + ", computed " + Hex32(crc) + ")";
        return kMissingOrDamaged;
    }
    const std::size_t size = kTableHeaderSize + slot.RecordCount * RecordSize(t);
    if (data.size() < size) {
        why = "the header promises " + Grouped(slot.RecordCount) + " records of " + Grouped(RecordSize(t)) +
              " bytes (" + Grouped(size) + " bytes with the header) but the entry holds " +
              Grouped(data.size());
        return kMissingOrDamaged;
    }
    // The entry's buffer becomes the records': a second buffer of tens of megabytes would
    // cost more than moving the records down over the header. Bytes after the last record
    // are not kept.
    data.erase(data.begin(), data.begin() + kTableHeaderSize);
    data.resize(size - kTableHeaderSize);
    if (data.capacity() - data.size() > RecordSize(t)) data.shrink_to_fit();
    slot.Records = std::move(data);
    return kLoaded;
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
        std::error_code ignored; // the archive has just been opened; its size is there
        const std::uint64_t archiveSize = std::filesystem::file_size(archivePath, ignored);
        try {
            result = ReadTable(archive.get(), archiveSize, t, slot, why);
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
