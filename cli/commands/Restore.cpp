// restore ARCHIVE [BACKUP]: a backup brought back, the archive it replaces kept as a backup.
#include "cli/BackupList.h"
#include "cli/Command.h"

#include <filesystem>

namespace ledgrin::cli {

namespace {

int RunRestore(Invocation& run) {
    if (!run.Load()) return kExitFailure;
    Session& session = run.archive();
    const std::string& file = session.archive().file;
    std::optional<Backup> backup;
    if (run.operands.size() > 1) {
        const std::string& path = run.operands[1].text;
        backup = FindBackup(file, path);
        if (!backup) {
            run.console.Error(path + " is not a backup of " + session.path() + "; nothing was written");
            return kExitFailure;
        }
    } else {
        const std::vector<Backup> backups = ArchiveBackups(file);
        if (backups.empty()) {
            run.console.Error(session.path() + " has no backups; nothing was written");
            return kExitFailure;
        }
        backup = backups.back();
    }
    const LoadedArchive restored = LoadArchive(backup->path);
    for (TableIndex t = 0; t < kTableCount; ++t) {
        if (restored.results[t] == kLoaded) continue;
        run.console.Error(backup->path + ": " +
                          (restored.opened ? EntryName(t) + std::string(": ") + LoadProblem(restored, t)
                                           : restored.openWhy) +
                          "; nothing was written");
        return kExitFailure;
    }
    run.console.Out(BackupHeading(*backup) + "  " + Comparison(session.archive(), restored) + "\n");
    if (session.dryRun()) {
        run.console.Out("Dry run: nothing written.\n");
        return kExitOk;
    }
    if (!session.Replace(backup->path)) return kExitFailure;
    run.console.Out("Restored " + session.path() + " from " +
                    std::filesystem::path(backup->path).filename().string() + ".\n");
    return kExitOk;
}

} // namespace

extern const CommandDef kRestoreCommand = {
    "restore",
    "bring a backup of the archive back",
    {"ARCHIVE [BACKUP]"},
    "Replaces ARCHIVE with BACKUP, a backup of it by its name (ARCHIVE.YYYYMMDD-HHMMSS.bak\n"
    "and -2, -3, ... within one second), or with the newest backup when none is named.\n"
    "Every table of the backup must load. Prints what the restore changes, as history\n"
    "does, then replaces the archive in one step; the archive replaced becomes a backup\n"
    "first, so a restore can itself be undone.\n",
    {},
    Loads::Archive,
    Needs::Nothing,
    TableKind::AnyTable,
    Access::Writes,
    RunRestore,
};

} // namespace ledgrin::cli
