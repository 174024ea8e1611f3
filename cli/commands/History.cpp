// history ARCHIVE: the archive's backups, newest first, with what the write after each changed.
#include "cli/ArchiveDiff.h"
#include "cli/BackupList.h"
#include "cli/Command.h"

namespace ledgrin::cli {

namespace {

int RunHistory(Invocation& run) {
    if (!run.Load()) return kExitFailure;
    Session& session = run.archive();
    const std::vector<Backup> backups = ArchiveBackups(session.archive().file);
    if (backups.empty()) {
        run.console.Out("No backups of " + session.path() + ".\n");
        return kExitOk;
    }
    // Each backup against the state that replaced it: the next newer backup, or the archive.
    const LoadedArchive* newer = &session.archive();
    LoadedArchive previous;
    for (auto it = backups.rbegin(); it != backups.rend(); ++it) {
        LoadedArchive loaded = LoadArchive(it->path);
        run.console.Out(BackupHeading(*it) + "  " + Comparison(loaded, *newer) + "\n");
        previous = std::move(loaded);
        newer = &previous;
    }
    return kExitOk;
}

} // namespace

extern const CommandDef kHistoryCommand = {
    "history",
    "list the archive's backups and what each write changed",
    {"ARCHIVE"},
    "Lists the backups that the commands which write keep beside ARCHIVE, newest first:\n"
    "file name, the local time it was made and its size, and below it what the write\n"
    "that replaced it changed, table by table (records changed, added and removed), as\n"
    "diff counts them. An archive without backups gets one line saying so.\n",
    {},
    Loads::Archive,
    Needs::Nothing,
    TableKind::AnyTable,
    Access::Reads,
    RunHistory,
};

} // namespace ledgrin::cli
