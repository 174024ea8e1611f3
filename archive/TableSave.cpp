#include "archive/TableSave.h"

#include "archive/ArchiveLock.h"
#include "archive/EntryName.h"
#include "archive/FileReplace.h"
#include "archive/PreparedEntry.h"
#include "archive/ZipFileTarget.h"
#include "records/ByteAccess.h"
#include "records/Diagnostics.h"

#include <zip.h>

#include <algorithm>
#include <memory>
#include <new>

namespace ledgrin {

namespace {

struct ZipDiscard {
    void operator()(zip_t* za) const { zip_discard(za); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipDiscard>;

// The temporary archive while it is written: removed again unless it has been moved into
// place, so a failed save leaves nothing behind. A file that could not be opened (a folder
// or a protected file of that name) is never touched.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {
        file_ = std::fopen(path_.c_str(), "wb");
        created_ = file_ != nullptr;
    }
    ~TemporaryFile() {
        if (file_) std::fclose(file_);
        if (created_ && !moved_) std::remove(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    std::FILE* file() const { return file_; }
    const std::string& path() const { return path_; }
    bool Close() {
        bool ok = std::fclose(file_) == 0;
        file_ = nullptr;
        return ok;
    }
    void MarkMoved() { moved_ = true; }

  private:
    std::string path_;
    std::FILE* file_ = nullptr;
    bool created_ = false;
    bool moved_ = false;
};

// Carries what a zip_source_zip copy does not: comment, extra fields (local and central),
// timestamp (lost for empty entries), and the stored method of entries kept uncompressed
// (libzip would deflate them). Host system and external attributes come with the source.
bool CopyEntryDetails(zip_t* source, zip_uint64_t i, zip_t* target, zip_uint64_t added,
                      const zip_stat_t& st) {
    if ((st.comp_method == ZIP_CM_STORE || st.comp_size == 0) &&
        zip_set_file_compression(target, added, ZIP_CM_STORE, 0) != 0)
        return false;
    if ((st.valid & ZIP_STAT_MTIME) && zip_file_set_mtime(target, added, st.mtime, 0) != 0) return false;
    zip_uint32_t commentLength = 0;
    const char* comment = zip_file_get_comment(source, i, &commentLength, ZIP_FL_ENC_RAW);
    if (comment && commentLength > 0 &&
        zip_file_set_comment(target, added, comment, static_cast<zip_uint16_t>(commentLength), 0) != 0)
        return false;
    for (zip_flags_t where : {ZIP_FL_CENTRAL, ZIP_FL_LOCAL}) {
        zip_int16_t count = zip_file_extra_fields_count(source, i, where);
        if (count < 0) return false;
        for (zip_uint16_t k = 0; k < static_cast<zip_uint16_t>(count); ++k) {
            zip_uint16_t id, length;
            const zip_uint8_t* data = zip_file_extra_field_get(source, i, k, &id, &length, where);
            if (!data ||
                zip_file_extra_field_set(target, added, id, ZIP_EXTRA_FIELD_NEW, data, length, where) != 0)
                return false;
        }
    }
    return true;
}

// Adds entry i of the old archive in its stored form: the compressed bytes are copied,
// never inflated and deflated again.
bool CopyEntry(zip_t* source, zip_uint64_t i, const char* name, zip_t* target) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(source, i, 0, &st) != 0) return false;
    zip_source_t* data = zip_source_zip(target, source, i, 0, 0, -1);
    if (!data) return false;
    zip_int64_t added = zip_file_add(target, name, data, 0);
    if (added < 0) {
        zip_source_free(data);
        return false;
    }
    return CopyEntryDetails(source, i, target, static_cast<zip_uint64_t>(added), st);
}

// Every entry except those named like table t, in central-directory order. Returns the
// number copied, or -1.
zip_int64_t CopyOtherEntries(zip_t* source, TableIndex t, zip_t* target) {
    zip_int64_t count = zip_get_num_entries(source, 0);
    zip_int64_t copied = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(source, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (!name) return -1;
        if (EntryNamesEqual(name, EntryName(t))) continue;
        if (!CopyEntry(source, static_cast<zip_uint64_t>(i), name, target)) return -1;
        ++copied;
    }
    return copied;
}

// The table's entry, its header and its records, deflated whole: the header is written
// into the room before the records, which are not copied.
PreparedEntry PrepareTable(const TableSlot& slot) {
    static_assert(TableBytes::kHeaderRoom == kTableHeaderSize);
    std::uint8_t alone[kTableHeaderSize]; // a slot that never held memory has no room
    std::uint8_t* entry = slot.Records.HeaderRoom() ? slot.Records.HeaderRoom() : alone;
    WriteU16(entry, 0, slot.RecordCount);
    WriteU16(entry, 2, slot.HeaderWord2);
    WriteU32(entry, 4, slot.Version);
    return PrepareEntry(entry, kTableHeaderSize + slot.Records.size());
}

// The table's entry, appended last, deflated as PrepareTable gave it.
bool AddTableEntry(zip_t* target, TableIndex t, PreparedEntry entry) {
    zip_source_t* data = CreatePreparedSource(target, std::move(entry));
    if (!data) return false;
    if (zip_file_add(target, EntryName(t), data, 0) >= 0) return true;
    zip_source_free(data);
    return false;
}

// Writes the new archive into `file`; returns its entry count, or -1.
zip_int64_t WriteNewArchive(zip_t* source, const TableSlot& slot, TableIndex t, std::FILE* file) {
    PreparedEntry entry = PrepareTable(slot);

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* sink = CreateZipFileTarget(file, &error);
    zip_t* target = sink ? zip_open_from_source(sink, ZIP_CREATE | ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (!target) {
        if (sink) zip_source_free(sink);
        return -1;
    }
    zip_int64_t copied = CopyOtherEntries(source, t, target);
    if (copied < 0 || !AddTableEntry(target, t, std::move(entry)) || zip_close(target) != 0) {
        zip_discard(target);
        return -1;
    }
    return copied + 1;
}

// Reads the new archive's directory back, checking every local header against it, before
// the old archive is given up for it.
bool ArchiveReadsBack(const std::string& path, zip_int64_t entries) {
    ZipArchive archive(zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, nullptr));
    return archive && zip_get_num_entries(archive.get(), 0) == entries;
}

SaveResult RewriteArchive(const TableSlot& slot, TableIndex t, const std::string& archivePath,
                          const std::string& tempPath) {
    ZipArchive source(zip_open(archivePath.c_str(), ZIP_RDONLY, nullptr));
    if (!source) {
        DiagLine("tarvik_gb.iff File not found.");
        return kNotSaved;
    }
    // Writing the temporary archive over the archive itself would destroy it.
    if (IsSameFile(archivePath, tempPath)) {
        DiagLine("cant create tarvik_gb1.iff.");
        return kNotSaved;
    }
    TemporaryFile temp(tempPath);
    if (!temp.file()) {
        DiagLine("cant create tarvik_gb1.iff.");
        return kNotSaved;
    }
    zip_int64_t entries = WriteNewArchive(source.get(), slot, t, temp.file());
    source.reset(); // Windows cannot replace a file that is still open
    if (entries < 0 || !temp.Close() || !ArchiveReadsBack(temp.path(), entries)) return kNotSaved;
    if (!ReplaceFileAtomically(temp.path(), archivePath)) return kNotSaved;
    temp.MarkMoved();
    return kSaved;
}

} // namespace

std::string TemporaryArchivePath(const std::string& exeDirectory) {
#ifdef _WIN32
    return exeDirectory + "\\tarvik_gb1.iff";
#else
    return exeDirectory + "/tarvik_gb1.iff";
#endif
}

SaveResult SaveTable(const TableStore& store, TableIndex t, const std::string& archivePath,
                     const std::string& exeDirectory) {
    if (!IsValidTable(t)) return kNotSaved;
    const TableSlot& slot = store[t];
    DiagPrintf("Writing %s\n", EntryName(t));
    // A slot whose buffer does not hold exactly RecordCount records would be written as a
    // damaged table.
    if (slot.Records.size() != slot.RecordCount * RecordSize(t)) return kNotSaved;
    try {
        // Through a symbolic link the file it points to is rewritten, and the link stays.
        return RewriteArchive(slot, t, ResolveLinks(archivePath), TemporaryArchivePath(exeDirectory));
    } catch (const std::bad_alloc&) {
        return kNotSaved;
    }
}

SaveResult SaveTableLocked(const TableStore& store, TableIndex t, const std::string& archivePath,
                           const std::string& exeDirectory) {
    ArchiveLock lock;
    if (lock.Acquire(archivePath, kSaveLockWaitSeconds) == ArchiveLock::Result::kLocked)
        return SaveTable(store, t, archivePath, exeDirectory);
    DiagPrintf("Writing %s\n", EntryName(t)); // as SaveTable begins, so every failed save reads alike
    return kNotSaved;
}

} // namespace ledgrin
