#include "cli/ArchiveFiles.h"

#include "archive/FileReplace.h"
#include "archive/TableSave.h"
#include "records/Diagnostics.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <system_error>

namespace ledgrin::cli {

namespace fs = std::filesystem;

namespace {

// A new folder beside the archive, on its volume, so the final move is a rename.
bool MakeWorkFolder(const fs::path& archive, fs::path& folder) {
    const fs::path parent = archive.has_parent_path() ? archive.parent_path() : fs::path(".");
    for (int i = 0; i < 100; ++i) {
        folder = parent / (".ledgrin-cli-" + std::to_string(i));
        std::error_code ec;
        if (fs::create_directory(folder, ec)) return true;
        if (ec) return false;
    }
    return false;
}

bool Unchanged(const LoadedArchive& archive) {
    FileStamp now;
    return ReadFileStamp(archive.file, now) && now == archive.stamp;
}

constexpr std::size_t kStampSize = 15; // YYYYMMDD-HHMMSS
// Sequence numbers of backups made in one second: 2 and up (the first has none). A name
// past this is no backup of ours, so an odd file name can neither throw nor wrap.
constexpr std::uint32_t kMaxSequence = 999999999;

struct BackupKey {
    std::string stamp;      // YYYYMMDD-HHMMSS: digits only, so text order is time order
    std::uint32_t sequence; // 1 for the name without one
    bool operator<(const BackupKey& other) const {
        return stamp != other.stamp ? stamp < other.stamp : sequence < other.sequence;
    }
};

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The order of a file among the archive's backups: NAME.YYYYMMDD-HHMMSS.bak or
// NAME.YYYYMMDD-HHMMSS-N.bak exactly as MakeBackup writes them; nullopt for any other file.
std::optional<BackupKey> ParseBackupName(std::string_view name, std::string_view archive) {
    constexpr std::string_view kSuffix = ".bak";
    if (name.size() < archive.size() + 1 + kStampSize + kSuffix.size() ||
        name.substr(0, archive.size()) != archive || name[archive.size()] != '.' ||
        name.substr(name.size() - kSuffix.size()) != kSuffix)
        return std::nullopt;
    const std::string_view middle =
        name.substr(archive.size() + 1, name.size() - archive.size() - 1 - kSuffix.size());
    const std::string_view stamp = middle.substr(0, kStampSize);
    if (!AllDigits(stamp.substr(0, 8)) || stamp[8] != '-' || !AllDigits(stamp.substr(9))) return std::nullopt;
    if (middle.size() == kStampSize) return BackupKey{std::string(stamp), 1};
    const std::string_view number = middle.substr(kStampSize + 1);
    if (middle[kStampSize] != '-' || !AllDigits(number) || number[0] == '0' || number.size() > 9)
        return std::nullopt;
    std::uint32_t sequence = 0;
    for (char c : number)
        sequence = sequence * 10 + static_cast<std::uint32_t>(c - '0');
    if (sequence < 2) return std::nullopt;
    return BackupKey{std::string(stamp), sequence};
}

// The archive's backups beside it, oldest first.
std::vector<std::pair<BackupKey, fs::path>> ListBackups(const fs::path& archive) {
    const fs::path parent = archive.has_parent_path() ? archive.parent_path() : fs::path(".");
    const std::string archiveName = archive.filename().string();
    std::vector<std::pair<BackupKey, fs::path>> backups;
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec))
        if (auto key = ParseBackupName(it->path().filename().string(), archiveName))
            backups.emplace_back(std::move(*key), it->path());
    std::sort(backups.begin(), backups.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return backups;
}

// A backup named after `when`, numbered past every backup of that second, so it sorts
// after them even when older ones of the second have been pruned.
bool MakeBackup(const fs::path& archive, std::time_t when, fs::path& backup) {
    if (when == -1) when = std::time(nullptr);
    char stamp[32];
    const std::tm* local = std::localtime(&when);
    if (!local || std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", local) != kStampSize) return false;
    std::uint32_t sequence = 1;
    bool taken = false;
    for (const auto& [key, path] : ListBackups(archive))
        if (key.stamp == stamp) {
            sequence = std::max(sequence, key.sequence);
            taken = true;
        }
    for (sequence += taken; sequence <= kMaxSequence; ++sequence) {
        fs::path name = archive;
        name += "." + std::string(stamp) + (sequence == 1 ? "" : "-" + std::to_string(sequence)) + ".bak";
        std::error_code ec;
        if (fs::exists(fs::symlink_status(name, ec))) continue;
        if (!LinkOrCopyFile(archive.string(), name.string())) return false;
        backup = name;
        return true;
    }
    return false;
}

// Removes all but the newest `keep` backups of the archive; the one just made always
// stays, also when the clock went back and its name sorts older. Failures are ignored:
// an old backup left over does no harm.
void PruneBackups(const fs::path& archive, std::size_t keep, const fs::path& made) {
    auto backups = ListBackups(archive);
    std::error_code ec;
    const auto newest = std::remove_if(backups.begin(), backups.end(),
                                       [&](const auto& b) { return b.second.filename() == made.filename(); });
    if (newest != backups.end()) {
        backups.erase(newest, backups.end());
        keep = keep > 0 ? keep - 1 : 0;
    }
    for (std::size_t i = 0; i + keep < backups.size(); ++i)
        fs::remove(backups[i].second, ec);
}

// The new archive is made as `work` in the working folder by `make`, then replaces the
// archive, which must still be the file that was loaded.
using MakeArchive = std::function<SaveAllResult(const fs::path& work, const fs::path& folder)>;

SaveAllResult ReplaceInFolder(const LoadedArchive& archive, const fs::path& folder, const MakeArchive& make) {
    const fs::path path(archive.file), work = folder / path.filename();
    if (const SaveAllResult made = make(work, folder); made != SaveAllResult::Saved) return made;
    if (!Unchanged(archive)) return SaveAllResult::Changed;
    return ReplaceFileAtomically(work.string(), path.string()) ? SaveAllResult::Saved
                                                               : SaveAllResult::CannotReplace;
}

// Everything a write does around making the new archive: the stamp check, the working
// folder, the backup before and the pruning after; on failure no backup stays.
SaveAllResult WriteArchive(const LoadedArchive& loaded, const BackupPolicy& backup, const MakeArchive& make) {
    if (!Unchanged(loaded)) return SaveAllResult::Changed;
    const fs::path archive(loaded.file);
    fs::path folder, backupPath;
    if (!MakeWorkFolder(archive, folder)) return SaveAllResult::CannotPrepare;
    SaveAllResult result = SaveAllResult::CannotBackUp;
    if (!backup.enabled || MakeBackup(archive, backup.when, backupPath)) {
        QuietDiagnostics quiet;
        result = ReplaceInFolder(loaded, folder, make);
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (result == SaveAllResult::Saved && backup.enabled) PruneBackups(archive, backup.keep, backupPath);
    if (result != SaveAllResult::Saved && !backupPath.empty()) fs::remove(backupPath, ec);
    return result;
}

} // namespace

LoadedArchive LoadArchive(const std::string& path) {
    LoadedArchive archive;
    archive.results.fill(kArchiveNotFound);
    archive.file = ResolveLinks(path);
    ReadFileStamp(archive.file, archive.stamp); // a file that cannot be reached does not load either
    QuietDiagnostics quiet;
    TableReader reader(archive.file);
    for (TableIndex t = 0; t < kTableCount; ++t) {
        archive.results[t] = reader.Load(archive.store, t, &archive.why[t]);
        if (archive.results[t] != kArchiveNotFound) continue;
        archive.openWhy = archive.why[t];
        return archive;
    }
    archive.opened = true;
    return archive;
}

LockResult LoadArchiveLocked(const std::string& path, double waitSeconds, LoadedArchive& archive) {
    ArchiveLock lock;
    switch (lock.Acquire(path, waitSeconds)) {
    case ArchiveLock::Result::kLocked: break;
    case ArchiveLock::Result::kBusy: return LockResult::Busy;
    case ArchiveLock::Result::kCannotOpen: return LockResult::CannotLock;
    }
    archive = LoadArchive(path);
    archive.lock = std::move(lock);
    return LockResult::Locked;
}

std::string LoadProblem(const LoadedArchive& archive, TableIndex t) {
    const std::string prefix = EntryName(t) + std::string(": ");
    const std::string& why = archive.why[t];
    if (why.compare(0, prefix.size(), prefix) == 0) return why.substr(prefix.size());
    return why.empty() ? "missing or damaged" : why;
}

SaveAllResult SaveTables(const LoadedArchive& loaded, const std::vector<TableIndex>& tables,
                         const BackupPolicy& backup) {
    return WriteArchive(loaded, backup, [&](const fs::path& work, const fs::path& folder) {
        std::error_code ec;
        if (!fs::copy_file(loaded.file, work, ec) || ec) return SaveAllResult::CannotPrepare;
        for (TableIndex t : tables)
            if (SaveTable(loaded.store, t, work.string(), folder.string()) != kSaved)
                return SaveAllResult::NotSaved;
        return SaveAllResult::Saved;
    });
}

SaveAllResult ReplaceArchive(const LoadedArchive& loaded, const std::string& replacement,
                             const BackupPolicy& backup) {
    return WriteArchive(loaded, backup, [&](const fs::path& work, const fs::path&) {
        std::error_code ec;
        return fs::copy_file(replacement, work, ec) && !ec ? SaveAllResult::Saved
                                                           : SaveAllResult::CannotPrepare;
    });
}

std::vector<Backup> ArchiveBackups(const std::string& archiveFile) {
    std::vector<Backup> backups;
    for (const auto& [key, path] : ListBackups(archiveFile))
        backups.push_back({path.string(), key.stamp});
    return backups;
}

bool IsBackupName(const std::string& name, const std::string& archiveFile) {
    return ParseBackupName(name, fs::path(archiveFile).filename().string()).has_value();
}

} // namespace ledgrin::cli
