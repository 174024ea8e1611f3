// One archive as a command works on it: loaded (under the write lock when the command
// writes), its tables changed in memory and marked, and written once by Commit: backup,
// save of the changed tables, prune. A dry run changes only memory.
#pragma once

#include "cli/ArchiveFiles.h"
#include "cli/Console.h"
#include "cli/Options.h"

#include <array>
#include <string>

namespace ledgrin::cli {

class Session {
  public:
    Session(std::string path, Console& console) : path_(std::move(path)), console_(console) {}

    // Loads the archive; for a write that is no dry run, under the archive's write lock,
    // which is then held until the session ends. False, after saying why, when the
    // archive cannot be opened or the lock not had.
    bool Open(const WriteOptions* write);
    // True when table t loaded; otherwise says why ("PATH: Part.iff: not in the archive").
    bool Require(TableIndex t);
    // A line on standard error for every table that did not load; true when there was one.
    bool ReportDamaged();

    const std::string& path() const { return path_; }
    const LoadedArchive& archive() const { return archive_; }
    const TableStore& store() const { return archive_.store; }
    TableStore& store() { return archive_.store; }

    void MarkChanged(TableIndex t) { changed_[t] = true; }
    bool dryRun() const { return write_.dryRun; }
    // Writes the changed tables into the archive, all or nothing, with the backup and the
    // pruning the options ask for; says why when it fails. Nothing is written in a dry run
    // or when no table changed.
    bool Commit();
    // Replaces the archive with a copy of the file at `replacement` (a backup brought
    // back), with the backup and pruning of Commit; says why when it fails.
    bool Replace(const std::string& replacement);

  private:
    bool Written(SaveAllResult saved);

    std::string path_;
    Console& console_;
    LoadedArchive archive_;
    WriteOptions write_;
    std::array<bool, kTableCount> changed_{};
};

} // namespace ledgrin::cli
