#include "app/StartupMessages.h"

#include "app/CommandLine.h"

namespace ledgrin {

std::string LoadFailureMessage(LoadResult result, TableIndex t) {
    std::string table = IsValidTable(t) ? EntryName(t) : "?";
    switch (result) {
    case kLoaded: return {};
    case kArchiveNotFound: return "tarvik_gb.iff not found. Quitting";
    case kUnsupportedVersion: return "Unsupported " + table + " found inside tarvik_gb.iff. Quitting";
    case kMissingOrDamaged: break;
    }
    return table + " is missing or damaged inside tarvik_gb.iff. Quitting";
}

std::string PathTooLongMessage() {
    return "The archive path is longer than " + std::to_string(kMaxArchivePath) + " characters. Quitting";
}

} // namespace ledgrin
