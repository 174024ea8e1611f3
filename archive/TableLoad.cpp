#include "archive/TableLoad.h"

#include "archive/EntryName.h"
#include "records/ByteAccess.h"
#include "records/Diagnostics.h"

#include <libdeflate.h>
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <limits>
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
struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipDiscard>;
using ZipFile = std::unique_ptr<zip_file_t, ZipFileClose>;

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
bool ReadStored(zip_t* za, zip_int64_t index, std::uint8_t* stored, std::size_t size, std::string& why) {
    ZipFile file(zip_fopen_index(za, static_cast<zip_uint64_t>(index), ZIP_FL_COMPRESSED));
    std::size_t done = 0;
    while (file && done < size) {
        zip_int64_t n = zip_fread(file.get(), stored + done, size - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (done == size) return true;
    zip_error_t* error = file ? zip_file_get_error(file.get()) : zip_get_error(za);
    why = zip_error_code_zip(error) != ZIP_ER_OK
              ? std::string("cannot read its data: ") + zip_error_strerror(error)
              : "its data ends after " + Grouped(done) + " of its " + Grouped(size) + " bytes";
    return false;
}

} // namespace

struct TableReader::State {
    ZipArchive archive;
    std::string openWhy;
    std::uint64_t archiveSize = 0;
    std::unique_ptr<libdeflate_decompressor, DecompressorFree> decompressor;
    TableBytes compressed; // the deflated bytes of the table being read, for one table after another

    bool ReadEntry(zip_int64_t index, const zip_stat_t& st, TableIndex t, TableBytes& records,
                   std::string& why);
    LoadResult ReadTable(TableIndex t, TableSlot& slot, std::string& why);
};

// The entry's bytes, of the size the central directory gives, into `records` from its
// header room on: stored ones as read, deflated ones inflated whole with libdeflate. Nothing
// is zero-filled first. The CRC is not checked here.
bool TableReader::State::ReadEntry(zip_int64_t index, const zip_stat_t& st, TableIndex t, TableBytes& records,
                                   std::string& why) {
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
    if (st.comp_size > std::numeric_limits<std::size_t>::max() / 2) throw std::bad_alloc(); // 32-bit
    const std::size_t size = static_cast<std::size_t>(st.size);
    // The header lands in the header room, the records where they stay.
    records = TableBytes::Uninitialised(size > kTableHeaderSize ? size - kTableHeaderSize : 0);
    std::uint8_t* entry = records.HeaderRoom();
    if (!deflated) return ReadStored(archive.get(), index, entry, size, why);
    compressed.ReuseFor(static_cast<std::size_t>(st.comp_size));
    if (!ReadStored(archive.get(), index, compressed.data(), compressed.size(), why)) return false;
    if (!decompressor) decompressor.reset(libdeflate_alloc_decompressor());
    if (!decompressor) throw std::bad_alloc();
    std::size_t inflated = 0;
    switch (libdeflate_deflate_decompress(decompressor.get(), compressed.data(), compressed.size(), entry,
                                          size, &inflated)) {
    case LIBDEFLATE_SUCCESS:
        if (inflated == size) return true;
        why = "inflates to " + Grouped(inflated) + " bytes, not the " + Grouped(st.size) +
              " the directory gives";
        return false;
    case LIBDEFLATE_INSUFFICIENT_SPACE:
        why = "inflates to more than the " + Grouped(st.size) + " bytes the directory gives";
        return false;
    default: why = "damaged deflate data"; return false;
    }
}

LoadResult TableReader::State::ReadTable(TableIndex t, TableSlot& slot, std::string& why) {
    zip_t* za = archive.get();
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
    TableBytes records;
    if (!ReadEntry(index, st, t, records, why)) return kMissingOrDamaged;
    const std::uint8_t* entry = records.HeaderRoom();
    const std::size_t entrySize = static_cast<std::size_t>(st.size);
    if (entrySize < kTableHeaderSize) {
        why = Grouped(entrySize) + " bytes, shorter than its " + std::to_string(kTableHeaderSize) +
              "-byte header";
        return kMissingOrDamaged;
    }

    slot.RecordCount = ReadU16(entry, 0);
    slot.HeaderWord2 = ReadU16(entry, 2);
    slot.Version = ReadU32(entry, 4);
    DiagPrintf("Entries inside %s: %d\n", name, slot.RecordCount);
    DiagPrintf("%s Version: %d\n", name, static_cast<int>(slot.Version));
    if (slot.Version != kSupportedVersion) {
        DiagLine("Unsupported version.");
        why = "version " + std::to_string(slot.Version) + ", not " + std::to_string(kSupportedVersion);
        return kUnsupportedVersion;
    }
    std::uint32_t crc = libdeflate_crc32(0, entry, entrySize);
    if (crc != st.crc) {
        why = "CRC mismatch (stored " + Hex32(st.crc) + ", computed " + Hex32(crc) + ")";
        return kMissingOrDamaged;
    }
    const std::size_t size = kTableHeaderSize + slot.RecordCount * RecordSize(t);
    if (entrySize < size) {
        why = "the header promises " + Grouped(slot.RecordCount) + " records of " + Grouped(RecordSize(t)) +
              " bytes (" + Grouped(size) + " bytes with the header) but the entry holds " +
              Grouped(entrySize);
        return kMissingOrDamaged;
    }
    // Bytes after the last record are not kept.
    records.resize(size - kTableHeaderSize);
    if (records.capacity() - records.size() > RecordSize(t) + (std::size_t{2} << 20)) records.ShrinkToFit();
    slot.Records = std::move(records);
    return kLoaded;
}

namespace {

// libzip's own words for why zip_open failed ("Not a zip archive", "No such file", ...).
std::string OpenError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

} // namespace

TableReader::TableReader(const std::string& archivePath) : state_(new State) {
    int error = 0;
    state_->archive.reset(zip_open(archivePath.c_str(), ZIP_RDONLY, &error));
    if (!state_->archive) {
        state_->openWhy = "cannot open " + archivePath + ": " + OpenError(error);
        return;
    }
    std::error_code ignored; // the archive has just been opened; its size is there
    state_->archiveSize = std::filesystem::file_size(archivePath, ignored);
}

TableReader::~TableReader() = default;

LoadResult TableReader::Load(TableStore& store, TableIndex t, std::string* whyOut) {
    std::string why;
    LoadResult result = kMissingOrDamaged;
    if (!IsValidTable(t)) {
        why = "no table " + std::to_string(t);
    } else if (!state_->archive) {
        DiagLine("tarvik_gb.iff File not found.");
        why = state_->openWhy;
        result = kArchiveNotFound;
    } else {
        TableSlot& slot = store[t];
        try {
            result = state_->ReadTable(t, slot, why);
        } catch (const std::bad_alloc&) {
            why = "out of memory";
        }
        if (result != kLoaded) {
            slot.Records.Release();
            why = EntryName(t) + (": " + why);
        }
        if (result == kMissingOrDamaged) DiagPrintf("Missing or damaged %s.\n", EntryName(t));
    }
    if (whyOut) *whyOut = result == kLoaded ? std::string() : why;
    return result;
}

LoadResult LoadTable(TableStore& store, TableIndex t, const std::string& archivePath, std::string* whyOut) {
    return TableReader(archivePath).Load(store, t, whyOut);
}

} // namespace ledgrin
