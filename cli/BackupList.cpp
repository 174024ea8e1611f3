#include "cli/BackupList.h"

#include "cli/ArchiveDiff.h"

#include <filesystem>

namespace ledgrin::cli {

namespace fs = std::filesystem;

std::string BackupHeading(const Backup& backup) {
    const std::string& s = backup.stamp; // YYYYMMDD-HHMMSS
    const std::string time = s.substr(0, 4) + "-" + s.substr(4, 2) + "-" + s.substr(6, 2) + " " +
                             s.substr(9, 2) + ":" + s.substr(11, 2) + ":" + s.substr(13, 2);
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(backup.path, ec);
    return fs::path(backup.path).filename().string() + "  " + time + "  " +
           (ec ? std::string("size unknown") : std::to_string(size) + " bytes") + "\n";
}

std::string Comparison(const LoadedArchive& before, const LoadedArchive& after) {
    for (const LoadedArchive* side : {&before, &after}) {
        if (!side->opened) return "cannot compare: " + side->openWhy;
        for (TableIndex t = 0; t < kTableCount; ++t)
            if (side->results[t] != kLoaded)
                return "cannot compare: " + side->file + ": " + EntryName(t) + ": " + LoadProblem(*side, t);
    }
    return ChangeSummary(before.store, after.store);
}

std::optional<Backup> FindBackup(const std::string& archiveFile, const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    if (!IsBackupName(name, archiveFile)) return std::nullopt;
    // The stamp follows the archive's name and its dot.
    return Backup{path, name.substr(fs::path(archiveFile).filename().string().size() + 1, 15)};
}

} // namespace ledgrin::cli
