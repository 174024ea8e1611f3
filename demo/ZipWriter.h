// Writes ZIP archives from a plain list of entries, for test fixtures, fuzz seeds,
// benchmarks and the demo archive. Every field of an entry is explicit, so the same
// list always gives the same bytes (no current time, no guessed compression).
//
//     std::vector<ZipEntry> entries(2);
//     entries[0].name = "Part.iff";
//     entries[0].bytes = TableEntryBytes(2, 0x0101, 13, records);   // deflated, level 9
//     entries[1].name = "notes.txt";
//     entries[1].bytes = {'h', 'i'};
//     entries[1].method = ZipMethod::Stored;
//     entries[1].comment = "kept by every save";
//     entries[1].extraFields.push_back({0xCAFE, {1, 2, 3}, ZipWhere::Both});
//     entries[1].mtime = {1999, 12, 31, 23, 59, 58};
//     if (WriteZipFile("fixture.iff", entries) != ZipWriteResult::Written) ...
#pragma once

#include "records/TableBytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ledgrin {

enum class ZipMethod {
    Stored,  // bytes kept as they are (method 0)
    Deflate, // deflate (method 8) at ZipEntry::level, also when that makes the entry larger
};

// Which header carries an extra field: the local header, the central directory, or both.
enum class ZipWhere { Local, Central, Both };

struct ZipExtraField {
    std::uint16_t id = 0;
    std::vector<std::uint8_t> data; // at most 65,535 bytes in all per header
    ZipWhere where = ZipWhere::Both;
};

// A DOS timestamp as ZIP headers store it: local time, 1980 to 2107, even seconds
// (an odd second is stored as the second below it).
struct ZipTime {
    int year = 2024, month = 3, day = 14;
    int hour = 9, minute = 26, second = 52;
};

// The two 16-bit words of the headers ("last mod file time", "last mod file date").
std::uint16_t DosTimeWord(const ZipTime& t);
std::uint16_t DosDateWord(const ZipTime& t);

struct ZipEntry {
    std::string name;                // stored as given, unique in the list; a folder's name ends with '/'
    std::vector<std::uint8_t> bytes; // the uncompressed contents; ignored for a folder
    ZipMethod method = ZipMethod::Deflate;
    int level = 9;       // deflate level 1 to 9 (0: zlib's default)
    std::string comment; // entry comment in the central directory, "" for none
    std::vector<ZipExtraField> extraFields;
    ZipTime mtime;            // a fixed default keeps archives reproducible
    bool isDirectory = false; // a folder entry (no data); '/' is added to the name if missing
};

enum class ZipWriteResult {
    Written = 0,
    CannotCreate = 1, // the file could not be opened for writing
    CannotAdd = 2,    // libzip refused an entry or an attribute (a duplicate name, a level above 9)
    CannotFinish = 3, // compressing or writing the archive failed; no file is left behind
};

// Writes the entries, in list order, as a new archive at path (replacing any file
// there), with an optional archive comment. libzip writes through a temporary file of
// its own and renames it into place, so a failure leaves no half-written archive.
ZipWriteResult WriteZipFile(const std::string& path, const std::vector<ZipEntry>& entries,
                            const std::string& archiveComment = "");

// The bytes of a table entry: RecordCount (u16), HeaderWord2 (u16), Version (u32), all
// little-endian, then the records as given. Nothing checks that records.size() matches
// count x record size, so damaged tables can be built on purpose.
std::vector<std::uint8_t> TableEntryBytes(std::uint16_t count, std::uint16_t headerWord2,
                                          std::uint32_t version, const std::uint8_t* records,
                                          std::size_t size);
inline std::vector<std::uint8_t> TableEntryBytes(std::uint16_t count, std::uint16_t headerWord2,
                                                 std::uint32_t version,
                                                 const std::vector<std::uint8_t>& records) {
    return TableEntryBytes(count, headerWord2, version, records.data(), records.size());
}
inline std::vector<std::uint8_t> TableEntryBytes(std::uint16_t count, std::uint16_t headerWord2,
                                                 std::uint32_t version, const TableBytes& records) {
    return TableEntryBytes(count, headerWord2, version, records.data(), records.size());
}

} // namespace ledgrin
