// Differences between two archives, table by table, with records matched by TypeID.
#pragma once

#include "archive/TableStore.h"
#include "cli/Files.h"

#include <string>

namespace ledgrin::cli {

// The differences of table t between a and b (both loaded): header words that differ;
// records added and removed; for records in both, each changed field by name with its
// old and new value, a changed name or description, and changed byte ranges that no
// field names. Records that share a TypeID are paired in index order. Nothing when the
// table is the same in both.
void DiffTable(const TableStore& a, const TableStore& b, TableIndex t, BlockWriter& out);

// How many records of table t changed, were added and were removed from a to b, records
// paired as DiffTable pairs them.
struct TableChangeCount {
    std::size_t changed = 0, added = 0, removed = 0;
};
TableChangeCount CountChanges(const TableStore& a, const TableStore& b, TableIndex t);

// The counts of every table that differs, item tables first: "Part.iff: 18 records
// changed; Desc.iff: 1 added", or "no record changed".
std::string ChangeSummary(const TableStore& a, const TableStore& b);

} // namespace ledgrin::cli
