#include "archive/PreparedEntry.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace ledgrin {

namespace {

// Level 9 deflates a large table about three times as fast as zlib's level 9 and a little
// smaller. On small tables it can come out a byte or two larger than zlib's; level 10 never
// did on the demo tables and takes only milliseconds there.
constexpr std::size_t kSmallEntry = 256 * 1024;
int LevelFor(std::size_t size) {
    return size <= kSmallEntry ? 10 : 9;
}

struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

struct Source {
    PreparedEntry entry;
    std::size_t offset = 0;
    zip_error_t error;
};

zip_int64_t Read(Source& s, void* data, zip_uint64_t len) {
    std::size_t n = static_cast<std::size_t>(std::min<zip_uint64_t>(len, s.entry.stored.size() - s.offset));
    std::memcpy(data, s.entry.stored.data() + s.offset, n);
    s.offset += n;
    return static_cast<zip_int64_t>(n);
}

zip_int64_t Stat(Source& s, void* data, zip_uint64_t len) {
    auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &s.error);
    if (!st) return -1;
    zip_stat_init(st);
    st->valid =
        ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC | ZIP_STAT_ENCRYPTION_METHOD;
    st->size = s.entry.size;
    st->comp_size = s.entry.stored.size();
    st->comp_method = ZIP_CM_DEFLATE;
    st->crc = s.entry.crc;
    st->encryption_method = ZIP_EM_NONE;
    return sizeof(zip_stat_t);
}

// The deflate option bits of the general purpose flags say "maximum compression", as
// libzip's own deflate at level 9 marks its entries.
zip_int64_t Attributes(Source& s, void* data, zip_uint64_t len) {
    auto* attributes = ZIP_SOURCE_GET_ARGS(zip_file_attributes_t, data, len, &s.error);
    if (!attributes) return -1;
    attributes->valid |= ZIP_FILE_ATTRIBUTES_GENERAL_PURPOSE_BIT_FLAGS;
    attributes->general_purpose_bit_mask = 0x0006;
    attributes->general_purpose_bit_flags = 0x0002;
    return sizeof(zip_file_attributes_t);
}

zip_int64_t Callback(void* userdata, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    Source& s = *static_cast<Source*>(userdata);
    switch (cmd) {
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              ZIP_SOURCE_GET_FILE_ATTRIBUTES, -1);
    case ZIP_SOURCE_OPEN: s.offset = 0; return 0;
    case ZIP_SOURCE_READ: return Read(s, data, len);
    case ZIP_SOURCE_CLOSE: return 0;
    case ZIP_SOURCE_STAT: return Stat(s, data, len);
    case ZIP_SOURCE_GET_FILE_ATTRIBUTES: return Attributes(s, data, len);
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&s.error, data, len);
    case ZIP_SOURCE_FREE:
        zip_error_fini(&s.error);
        delete &s;
        return 0;
    default: zip_error_set(&s.error, ZIP_ER_OPNOTSUPP, 0); return -1;
    }
}

} // namespace

PreparedEntry PrepareEntry(const std::uint8_t* data, std::size_t size) {
    PreparedEntry entry;
    entry.size = size;
    entry.crc = libdeflate_crc32(0, data, size);
    std::unique_ptr<libdeflate_compressor, CompressorFree> compressor(
        libdeflate_alloc_compressor(LevelFor(size)));
    if (!compressor) throw std::bad_alloc();
    // Deflated whatever it gives: random records come out a little larger than they are.
    // Left uninitialised, the room past the deflated bytes is never touched.
    const std::size_t bound = libdeflate_deflate_compress_bound(compressor.get(), size);
    entry.stored = TableBytes::Uninitialised(bound);
    const std::size_t stored =
        libdeflate_deflate_compress(compressor.get(), data, size, entry.stored.data(), bound);
    if (stored == 0) throw std::bad_alloc(); // the bound always holds the output
    entry.stored.resize(stored);
    return entry;
}

zip_source_t* CreatePreparedSource(zip_t* za, PreparedEntry entry) {
    Source* s = new (std::nothrow) Source{std::move(entry), 0, {}};
    if (!s) return nullptr;
    zip_error_init(&s->error);
    zip_source_t* source = zip_source_function(za, Callback, s);
    if (!source) {
        zip_error_fini(&s->error);
        delete s;
    }
    return source;
}

} // namespace ledgrin
