// Differences between two archives, table by table, with records matched by TypeID.
#pragma once

#include "archive/TableStore.h"

#include <string>

namespace ledgrin::cli {

// The differences of table t between a and b (both loaded): header words that differ;
// records added and removed; for records in both, each changed field by name with its
// old and new value, a changed name or description, and changed byte ranges that no
// field names. Records that share a TypeID are paired in index order. Empty when the
// table is the same in both.
std::string DiffTable(const TableStore& a, const TableStore& b, TableIndex t);

} // namespace ledgrin::cli
