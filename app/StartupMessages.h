// Texts of the message boxes that end start-up.
#pragma once

#include "archive/TableLoad.h"

#include <string>

namespace ledgrin {

constexpr char kErrorTitle[] = "Error";

// The box text for a failed LoadTable of table t; "" for kLoaded. The texts name
// "tarvik_gb.iff" whatever archive path was given.
std::string LoadFailureMessage(LoadResult result, TableIndex t);

// The box text for an archive path longer than kMaxArchivePath.
std::string PathTooLongMessage();

} // namespace ledgrin
