// Writing one table back by rebuilding the archive through a temporary archive.
#pragma once

#include "archive/TableStore.h"

#include <string>

namespace ledgrin {

enum SaveResult : int {
    kSaved = 0,
    kNotSaved = 1,
};

// The temporary archive: exeDirectory, a path separator and "tarvik_gb1.iff".
std::string TemporaryArchivePath(const std::string& exeDirectory);

// Rebuilds the archive at archivePath with every other entry copied in its stored form
// (central-directory order, names, extra fields, comments, timestamps kept) and table
// t's entry appended last, deflated (method 8, whatever its size);
// then replaces the old archive in one atomic step. On any failure the old archive is left
// byte-identical and the temporary archive is removed. Does not change the store.
SaveResult SaveTable(const TableStore& store, TableIndex t, const std::string& archivePath,
                     const std::string& exeDirectory);

// SaveTable under the archive's write lock (see ArchiveLock), waited for up to
// kSaveLockWaitSeconds: the editor's save, which then never interleaves with a write of
// the command-line tool. A lock not had in time is a failed save (result 1).
constexpr double kSaveLockWaitSeconds = 10;
SaveResult SaveTableLocked(const TableStore& store, TableIndex t, const std::string& archivePath,
                           const std::string& exeDirectory);

} // namespace ledgrin
