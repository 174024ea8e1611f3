// One table as CSV or JSON: a row per record, in record order.
#pragma once

#include "archive/TableStore.h"
#include "cli/Files.h"

namespace ledgrin::cli {

enum class FileFormat { Csv, Json };

// The whole export of table t (any of the fourteen; Desc gives Index, TypeID and
// Description), written to out as it is made. CSV: a header line, then one record per
// row. JSON: an array with one object per line, so a version-control diff shows each
// changed record on its own line.
void ExportTable(const TableStore& store, TableIndex t, FileFormat format, BlockWriter& out);

} // namespace ledgrin::cli
