#include "cli/Session.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace ledgrin::cli {

bool Session::Open(const WriteOptions* write) {
    if (write) write_ = *write;
    const bool lock = write && !write->dryRun;
    const LockResult locked = lock ? LoadArchiveLocked(path_, write->waitSeconds, archive_)
                                   : (archive_ = LoadArchive(path_), LockResult::Locked);
    if (locked == LockResult::Busy) {
        console_.Error(path_ + " is being written by another process; nothing was written");
        return false;
    }
    if (locked == LockResult::CannotLock) {
        console_.Error(path_ + ": cannot open its lock file " + ArchiveLockPath(path_) +
                       "; nothing was written");
        return false;
    }
    if (!archive_.opened) console_.Error(archive_.openWhy);
    return archive_.opened;
}

bool Session::Require(TableIndex t) {
    if (archive_.results[t] == kLoaded) return true;
    console_.Error(path_ + ": " + EntryName(t) + ": " + LoadProblem(archive_, t));
    return false;
}

bool Session::ReportDamaged() {
    bool damaged = false;
    for (TableIndex t = 0; t < kTableCount; ++t)
        damaged = !Require(t) || damaged;
    return damaged;
}

bool Session::Commit() {
    std::vector<TableIndex> tables;
    for (TableIndex t = 0; t < kTableCount; ++t)
        if (changed_[t]) tables.push_back(t);
    if (write_.dryRun || tables.empty()) return true;
#ifdef __GLIBC__
    // What a command freed after planning a full table stays in the heap, in pieces the
    // allocator keeps; the save needs as much again, so it goes back to the system first.
    malloc_trim(0);
#endif
    return Written(SaveTables(archive_, tables, write_.backup));
}

bool Session::Replace(const std::string& replacement) {
    return Written(ReplaceArchive(archive_, replacement, write_.backup));
}

bool Session::Written(SaveAllResult saved) {
    if (saved == SaveAllResult::Saved) {
        console_.archiveReplaced = true;
        return true;
    }
    console_.Error(path_ + (saved == SaveAllResult::CannotBackUp
                                ? ": the backup could not be made; nothing was written"
                            : saved == SaveAllResult::Changed
                                ? " changed since it was read; nothing was written"
                                : ": the archive could not be rewritten; it is unchanged"));
    return false;
}

} // namespace ledgrin::cli
