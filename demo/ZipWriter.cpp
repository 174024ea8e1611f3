#include "demo/ZipWriter.h"

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

} // namespace

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

std::vector<std::uint8_t> TableEntryBytes(std::uint16_t count, std::uint16_t headerWord2,
                                          std::uint32_t version, const std::uint8_t* records,
                                          std::size_t size) {
    std::vector<std::uint8_t> out(8 + size);
    auto put = [&out](std::size_t off, std::uint32_t v, int width) {
        for (int i = 0; i < width; ++i)
            out[off + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put(0, count, 2);
    put(2, headerWord2, 2);
    put(4, version, 4);
    if (size > 0) std::copy(records, records + size, out.begin() + 8);
    return out;
}

} // namespace ledgrin
