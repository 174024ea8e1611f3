#include "tools/ZipWriter.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>

namespace ledgrin {

namespace {

zip_flags_t ExtraFieldFlags(ZipWhere where) {
    switch (where) {
    case ZipWhere::Local: return ZIP_FL_LOCAL;
    case ZipWhere::Central: return ZIP_FL_CENTRAL;
    default: return ZIP_FL_LOCAL | ZIP_FL_CENTRAL;
    }
}

// Adds the entry's data (or folder) and returns its index, or -1.
zip_int64_t AddData(zip_t* za, const ZipEntry& e) {
    if (e.isDirectory) return zip_dir_add(za, e.name.c_str(), 0);
    zip_source_t* src = zip_source_buffer(za, e.bytes.data(), e.bytes.size(), 0);
    if (!src) return -1;
    zip_int64_t index = zip_file_add(za, e.name.c_str(), src, 0);
    if (index < 0) zip_source_free(src);
    return index;
}

bool SetAttributes(zip_t* za, zip_uint64_t index, const ZipEntry& e) {
    if (!e.isDirectory) {
        bool stored = e.method == ZipMethod::Stored;
        if (zip_set_file_compression(za, index, stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                     stored ? 0 : static_cast<zip_uint32_t>(e.level)) != 0)
            return false;
    }
    if (!e.comment.empty() && zip_file_set_comment(za, index, e.comment.data(),
                                                   static_cast<zip_uint16_t>(e.comment.size()), 0) != 0)
        return false;
    for (const ZipExtraField& f : e.extraFields)
        if (zip_file_extra_field_set(za, index, f.id, ZIP_EXTRA_FIELD_NEW, f.data.data(),
                                     static_cast<zip_uint16_t>(f.data.size()), ExtraFieldFlags(f.where)) != 0)
            return false;
    return zip_file_set_dostime(za, index, DosTimeWord(e.mtime), DosDateWord(e.mtime), 0) == 0;
}

bool AddEntries(zip_t* za, const std::vector<ZipEntry>& entries, const std::string& archiveComment) {
    for (const ZipEntry& e : entries) {
        zip_int64_t index = AddData(za, e);
        if (index < 0 || !SetAttributes(za, static_cast<zip_uint64_t>(index), e)) return false;
    }
    return archiveComment.empty() ||
           zip_set_archive_comment(za, archiveComment.data(),
                                   static_cast<zip_uint16_t>(archiveComment.size())) == 0;
}

// Adds everything and closes; on failure the archive is discarded unwritten.
ZipWriteResult FillAndClose(zip_t* za, const std::vector<ZipEntry>& entries,
                            const std::string& archiveComment) {
    if (!AddEntries(za, entries, archiveComment)) {
        zip_discard(za);
        return ZipWriteResult::CannotAdd;
    }
    if (zip_close(za) != 0) {
        zip_discard(za);
        return ZipWriteResult::CannotFinish;
    }
    return ZipWriteResult::Written;
}

// libzip writes no file for an archive without entries, so that case is written here:
// an end-of-central-directory record alone, with the archive comment.
std::vector<std::uint8_t> EmptyArchiveBytes(const std::string& archiveComment) {
    std::vector<std::uint8_t> out = {'P', 'K', 5, 6};
    out.resize(20, 0); // disk numbers, entry counts, directory size and offset: all 0
    out.push_back(static_cast<std::uint8_t>(archiveComment.size()));
    out.push_back(static_cast<std::uint8_t>(archiveComment.size() >> 8));
    out.insert(out.end(), archiveComment.begin(), archiveComment.end());
    return out;
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadSource(zip_source_t* src, std::vector<std::uint8_t>& out) {
    if (zip_source_open(src) != 0) return false;
    std::uint8_t chunk[65536];
    zip_int64_t n;
    while ((n = zip_source_read(src, chunk, sizeof chunk)) > 0)
        out.insert(out.end(), chunk, chunk + n);
    zip_source_close(src);
    return n == 0;
}

} // namespace

ZipTime ZipTimeFromUnix(std::time_t t) {
    // Days since 1970-01-01 to a civil date (proleptic Gregorian, UTC).
    long long secs = static_cast<long long>(t);
    long long days = secs / 86400, rest = secs % 86400;
    if (rest < 0) rest += 86400, days -= 1;
    long long z = days + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    ZipTime r;
    r.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    r.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    r.year = static_cast<int>(yoe + era * 400 + (r.month <= 2 ? 1 : 0));
    r.hour = static_cast<int>(rest / 3600);
    r.minute = static_cast<int>(rest / 60 % 60);
    r.second = static_cast<int>(rest % 60);
    return r;
}

std::uint16_t DosTimeWord(const ZipTime& t) {
    return static_cast<std::uint16_t>((t.hour << 11) | (t.minute << 5) | (t.second / 2));
}

std::uint16_t DosDateWord(const ZipTime& t) {
    return static_cast<std::uint16_t>(((t.year - 1980) << 9) | (t.month << 5) | t.day);
}

ZipWriteResult WriteZipFile(const std::string& path, const std::vector<ZipEntry>& entries,
                            const std::string& archiveComment) {
    if (entries.empty())
        return WriteWholeFile(path, EmptyArchiveBytes(archiveComment)) ? ZipWriteResult::Written
                                                                       : ZipWriteResult::CannotCreate;
    int error = 0;
    zip_t* za = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!za) return ZipWriteResult::CannotCreate;
    return FillAndClose(za, entries, archiveComment);
}

ZipWriteResult BuildZipBytes(const std::vector<ZipEntry>& entries, std::vector<std::uint8_t>& out,
                             const std::string& archiveComment) {
    out.clear();
    if (entries.empty()) {
        out = EmptyArchiveBytes(archiveComment);
        return ZipWriteResult::Written;
    }
    zip_source_t* src = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    if (!src) return ZipWriteResult::CannotCreate;
    zip_t* za = zip_open_from_source(src, ZIP_TRUNCATE, nullptr);
    if (!za) {
        zip_source_free(src);
        return ZipWriteResult::CannotCreate;
    }
    zip_source_keep(src); // the buffer must outlive zip_close, which releases the archive's hold
    ZipWriteResult result = FillAndClose(za, entries, archiveComment);
    if (result == ZipWriteResult::Written && !ReadSource(src, out)) result = ZipWriteResult::CannotFinish;
    zip_source_free(src);
    return result;
}

std::vector<std::uint8_t> TableEntryBytes(std::uint16_t count, std::uint16_t headerWord2,
                                          std::uint32_t version, const std::vector<std::uint8_t>& records) {
    std::vector<std::uint8_t> out(8 + records.size());
    auto put = [&out](std::size_t off, std::uint32_t v, int width) {
        for (int i = 0; i < width; ++i)
            out[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put(0, count, 2);
    put(2, headerWord2, 2);
    put(4, version, 4);
    std::copy(records.begin(), records.end(), out.begin() + 8);
    return out;
}

} // namespace ledgrin
