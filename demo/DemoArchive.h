// The demo item archive: all fourteen tables filled with made-up but plausible golf
// gear, plus a few entries that are not tables. The same options always give the same
// bytes. Its content exercises the editor on purpose:
// - every record byte that no field names holds non-zero filler, so a test sees
//   whether untouched bytes survive; every table's HeaderWord2 is a distinct non-zero value;
// - TypeIDs are unique (one group in bits 26..31 per table; Card TypeIDs have bit 31
//   set), except that Card record 9 shares the TypeID of Part record 1;
// - Part covers character codes 0 to 14 and 255 plus one code 20 (no name), slots
//   0 to 5, 8, 9 and a few 7; Item is active (char 0) or passive (char 128); Skin kinds
//   0, 1, 2, 3, 5, 6; SetItem groups 2, 4, 5, 9, 11, 13, 17 with a character in pos for
//   groups 2 and 4; Card kinds 0 to 5 and volumes 0 to 4, one card with volume 7;
// - record 7 of every table with more than seven records is disabled (Enabled 0),
//   and every 41st after it;
// - Part record 5's name fills all 40 bytes with no NUL; some names hold Latin-1 bytes;
// - set members point at real records of other tables, except one that points at
//   nothing; one member has quantity 0; set 8 is empty; set 6 has ten members;
// - most items have a description (one to three lines); record 2 of each table has
//   none; Ball record 0's text is 512 bytes with no NUL; Item record 0 has a second
//   description at the end of Desc, followed by one for a TypeID no item holds.
#pragma once

#include "archive/TableStore.h"
#include "demo/ZipWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ledgrin {

enum class DemoSize {
    Small,     // a few records per table, for fast tests
    Realistic, // thousands of Part and Desc records, hundreds or dozens elsewhere
    Max,       // 65,535 Part and 65,535 Desc records: Desc is full
};

struct DemoOptions {
    DemoSize size = DemoSize::Realistic;
    std::uint32_t seed = 1;
};

enum class DemoResult {
    Done = 0,
    OutOfMemory = 1,
    LayoutMismatch = 2, // the record layer lacks a field the generator fills
    CannotWrite = 3,    // the archive file could not be written
};

// Records in item table t (1 to 13) at this size. Desc follows from the items.
std::uint16_t DemoRecordCount(DemoSize size, TableIndex t);

// Fills all fourteen slots of store (replacing what was there) from the options.
DemoResult BuildDemoTables(const DemoOptions& options, TableStore& store);

// The archive's entries in their fixed order: the folder "readme/", the stored file
// "readme/course_notes.txt" (entry comment, extra field 0x4C47 in both headers), the
// fourteen tables in TableIndex order (deflated), and "history/clubhouse_1999.txt"
// (timestamp 1999-06-20 07:30:00).
DemoResult DemoArchiveEntries(const TableStore& store, std::vector<ZipEntry>& entries);

// Builds the tables and writes the whole archive to path.
DemoResult WriteDemoArchive(const std::string& path, const DemoOptions& options);

} // namespace ledgrin
