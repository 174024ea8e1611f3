// The `tables` listing: one line per table of an archive.
#pragma once

#include "cli/ArchiveFiles.h"

#include <string>

namespace ledgrin::cli {

// A header line, then for each of the fourteen tables its entry name, RecordCount,
// record size, HeaderWord2, Version and the size of its entry (header and records);
// a table that did not load names its problem instead.
std::string FormatTableList(const LoadedArchive& archive);

} // namespace ledgrin::cli
