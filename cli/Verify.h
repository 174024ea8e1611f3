// Consistency checks over a whole archive, with counts and a few examples of each.
#pragma once

#include "cli/ArchiveFiles.h"

#include <string>

namespace ledgrin::cli {

// Checks the loaded tables: duplicate TypeIDs within a table, TypeIDs shared by items of
// different tables, descriptions whose TypeID no item has, several descriptions for one
// TypeID, set members that refer to no item, member counts above ten, codes without a
// label (characters, card volumes, level indexes), " Avail. in Shop" together with
// " Display only", and names without a NUL.
// The report: every check with its count, then up to five examples each.
std::string VerifyArchive(const LoadedArchive& archive);

} // namespace ledgrin::cli
