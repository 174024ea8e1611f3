// Loading and saving whole archives for the commands, through LoadTable and SaveTable.
#pragma once

#include "archive/ArchiveLock.h"
#include "archive/FileReplace.h"
#include "archive/TableLoad.h"
#include "archive/TableStore.h"

#include <array>
#include <ctime>
#include <string>
#include <vector>

namespace ledgrin::cli {

struct LoadedArchive {
    TableStore store;
    std::array<LoadResult, kTableCount> results{}; // per table; kLoaded when in the store
    std::array<std::string, kTableCount> why;      // per table not loaded: "Card.iff: not in the archive"
    bool opened = false;                           // false: the archive could not be opened at all
    std::string openWhy;                           // then: "cannot open PATH: Not a zip archive"
    std::string file;                              // the file loaded: the path given, a link resolved
    FileStamp stamp;                               // that file as it was when the load began
    ArchiveLock lock;                              // held by a write from before its load to its end
};

// Loads all fourteen tables. The loader's diagnostic lines are kept off standard output,
// which belongs to the command's own output (an export may be written there).
LoadedArchive LoadArchive(const std::string& path);

enum class LockResult { Locked, Busy, CannotLock };
// Takes the archive's write lock (see ArchiveLock), waiting up to waitSeconds for another
// writer, and then loads the archive into `archive`, which holds the lock from then on.
LockResult LoadArchiveLocked(const std::string& path, double waitSeconds, LoadedArchive& archive);

// Why table t did not load, without its entry name: "not in the archive", "version 12, not 13".
std::string LoadProblem(const LoadedArchive& archive, TableIndex t);

enum class SaveAllResult {
    Saved = 0,
    CannotPrepare = 1, // the working folder or the working copy could not be made
    NotSaved = 2,      // SaveTable failed for a table
    CannotReplace = 3, // the finished archive could not replace the old one
    CannotBackUp = 4,  // the backup could not be made, so nothing was written
    Changed = 5,       // the archive is no longer the file that was loaded: another program wrote it
};

// The archive a write replaces, kept beside it as NAME.YYYYMMDD-HHMMSS.bak (local time;
// NAME.YYYYMMDD-HHMMSS-2.bak and on for further writes in that second). Backups are
// ordered by their time, then by that number; the newest `keep` stay.
struct BackupPolicy {
    bool enabled = false;
    std::size_t keep = 10; // the newest this many backups of the archive stay, the others go
    std::time_t when = -1; // the moment the name is taken from; -1: now
};

// Writes the given tables of archive.store into archive.file, all or nothing: a working
// copy of the archive in a private folder beside it is rebuilt by SaveTable once per
// table, then replaces the archive in one atomic step. With a backup, it is made (hard
// link, else copy) before anything else, so the old archive always has a name. Before the
// copy and again just before the replace, the file must still carry the stamp it had when
// it was loaded; a change by a program that takes no lock is never written over. On
// failure the archive is left byte-identical, the working folder and the backup are removed.
SaveAllResult SaveTables(const LoadedArchive& archive, const std::vector<TableIndex>& tables,
                         const BackupPolicy& backup = {});

// Replaces the archive with a copy of the file `replacement` (a backup brought back), with
// the same checks, backup and pruning as SaveTables.
SaveAllResult ReplaceArchive(const LoadedArchive& archive, const std::string& replacement,
                             const BackupPolicy& backup = {});

// The archive's backups beside it, oldest first: NAME.YYYYMMDD-HHMMSS[-N].bak exactly.
struct Backup {
    std::string path;
    std::string stamp; // YYYYMMDD-HHMMSS, local time
};
std::vector<Backup> ArchiveBackups(const std::string& archiveFile);
// Whether a file's name (without its folder) is that of a backup of the archive.
bool IsBackupName(const std::string& name, const std::string& archiveFile);

} // namespace ledgrin::cli
