// What refers to an item: where it stands, its descriptions, the sets that list it as a
// member and, for a set, what its members are.
#pragma once

#include "archive/TableStore.h"

#include <cstdint>
#include <string>

namespace ledgrin::cli {

// The report for typeId over all loaded tables; false (and no text) when neither an item
// nor a description holds typeId.
bool FormatRefs(const TableStore& store, std::uint32_t typeId, std::string& out);

} // namespace ledgrin::cli
