// Archives for the tests: the demo archive in the forms the tests need, and the one reader
// of archives, apart from the code under test: libzip for names, contents and attributes,
// and a parser of its own for the headers exactly as stored.
#pragma once

#include "archive/TableStore.h"
#include "tests/support/TestFiles.h"

#include <zip.h>

#include <functional>

namespace ledgrin::test {

// The small demo archive's tables (seed 1: a few records per table, 40 Part records).
TableStore SmallDemoTables();
// The tables written as the demo archive writes them, with its other entries; `edit`, if
// given, changes table t's entry (header and records) first.
[[nodiscard]] bool WriteDemoTables(const std::string& path, const TableStore& store, TableIndex t = 0,
                                   const std::function<void(Bytes& entry)>& edit = nullptr);
// Loads all fourteen tables without diagnostic lines; false when one does not load.
[[nodiscard]] bool LoadAll(const std::string& path, TableStore& store);
inline bool SameSlot(const TableSlot& a, const TableSlot& b) {
    return a.RecordCount == b.RecordCount && a.HeaderWord2 == b.HeaderWord2 && a.Version == b.Version &&
           a.Records == b.Records;
}

struct ZipReader {
    explicit ZipReader(const std::string& path, int flags = ZIP_RDONLY)
        : za(zip_open(path.c_str(), flags, nullptr)) {}
    ~ZipReader() {
        if (za) zip_discard(za);
    }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    zip_t* const za; // null when the archive could not be opened
    std::int64_t Find(const std::string& name) const {
        return za ? zip_name_locate(za, name.c_str(), 0) : -1;
    }
    zip_stat_t Stat(zip_uint64_t i) const {
        zip_stat_t st;
        zip_stat_init(&st);
        if (za) zip_stat_index(za, i, ZIP_FL_ENC_RAW, &st);
        return st;
    }
    // The entry's contents; empty when there is no such entry or it reads short.
    Bytes Data(std::int64_t i) const;
    Bytes Data(const std::string& name) const { return Data(Find(name)); }
    std::string Comment(zip_uint64_t i) const {
        zip_uint32_t length = 0;
        const char* c = zip_file_get_comment(za, i, &length, ZIP_FL_ENC_RAW);
        return c ? std::string(c, length) : "";
    }
    // The data of extra field `id` in one header (ZIP_FL_LOCAL or ZIP_FL_CENTRAL), or "absent".
    std::string Extra(zip_uint64_t i, zip_uint16_t id, zip_flags_t where) const {
        zip_uint16_t length = 0;
        const zip_uint8_t* d = zip_file_extra_field_get_by_id(za, i, id, 0, &length, where);
        return d ? std::string(reinterpret_cast<const char*>(d), length) : "absent";
    }
    // The entry's DOS timestamp, which is a local time, as "YYYY-MM-DD hh:mm:ss".
    std::string Time(zip_uint64_t i) const;
};

// One entry as the file stores it: its central record (the local-header offset zeroed, as
// entries move when others go) and its local header with name, extra field and data.
struct RawEntry {
    std::string name;
    Bytes central, local;
};
// In central-directory order; empty when the headers cannot be followed.
std::vector<RawEntry> ReadRawEntries(const std::string& path);

} // namespace ledgrin::test
