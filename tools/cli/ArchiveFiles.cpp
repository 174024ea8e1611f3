#include "tools/cli/ArchiveFiles.h"

#include "archive/FileReplace.h"
#include "archive/TableSave.h"
#include "records/Diagnostics.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
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

SaveAllResult SaveInFolder(const TableStore& store, const std::vector<TableIndex>& tables,
                           const fs::path& archive, const fs::path& folder) {
    const fs::path work = folder / archive.filename();
    std::error_code ec;
    if (!fs::copy_file(archive, work, ec) || ec) return SaveAllResult::CannotPrepare;
    for (TableIndex t : tables)
        if (SaveTable(store, t, work.string(), folder.string()) != kSaved) return SaveAllResult::NotSaved;
    return ReplaceFileAtomically(work.string(), archive.string()) ? SaveAllResult::Saved
                                                                  : SaveAllResult::CannotReplace;
}

constexpr std::size_t kStampSize = 15; // YYYYMMDD-HHMMSS
constexpr int kMaxSameSecond = 1000;

// The order of a name among the archive's backups: its time, then its suffix; nullopt
// for any other file.
std::optional<std::pair<std::string, long>> BackupKey(const std::string& name, const std::string& archive) {
    const std::string prefix = archive + ".", suffix = ".bak";
    if (name.size() < prefix.size() + kStampSize + suffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    for (std::size_t i = 0; i < middle.size(); ++i)
        if (!(std::isdigit(static_cast<unsigned char>(middle[i])) ||
              (middle[i] == '-' && (i == 8 || i == kStampSize))))
            return std::nullopt;
    if (middle[8] != '-' ||
        (middle.size() > kStampSize && (middle[kStampSize] != '-' || middle.size() == 16)))
        return std::nullopt;
    const long n = middle.size() > kStampSize ? std::stol(middle.substr(kStampSize + 1)) : 1;
    return std::make_pair(middle.substr(0, kStampSize), n);
}

bool MakeBackup(const fs::path& archive, std::time_t when, fs::path& backup) {
    if (when == -1) when = std::time(nullptr);
    char stamp[32];
    const std::tm* local = std::localtime(&when);
    if (!local || std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", local) != kStampSize) return false;
    for (int n = 1; n <= kMaxSameSecond; ++n) {
        fs::path name = archive;
        name += "." + std::string(stamp) + (n == 1 ? "" : "-" + std::to_string(n)) + ".bak";
        std::error_code ec;
        if (fs::exists(fs::symlink_status(name, ec))) continue;
        if (!LinkOrCopyFile(archive.string(), name.string())) return false;
        backup = name;
        return true;
    }
    return false;
}

// Removes all but the newest `keep` backups of the archive. Failures are ignored: an old
// backup left over does no harm.
void PruneBackups(const fs::path& archive, std::size_t keep) {
    const fs::path parent = archive.has_parent_path() ? archive.parent_path() : fs::path(".");
    std::vector<std::pair<std::pair<std::string, long>, fs::path>> backups;
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec))
        if (auto key = BackupKey(it->path().filename().string(), archive.filename().string()))
            backups.emplace_back(*key, it->path());
    if (backups.size() <= keep) return;
    std::sort(backups.begin(), backups.end());
    for (std::size_t i = 0; i + keep < backups.size(); ++i)
        fs::remove(backups[i].second, ec);
}

} // namespace

bool LoadedArchive::AllLoaded() const {
    for (LoadResult r : results)
        if (r != kLoaded) return false;
    return opened;
}

LoadedArchive LoadArchive(const std::string& path) {
    LoadedArchive archive;
    archive.results.fill(kArchiveNotFound);
    QuietDiagnostics quiet;
    for (TableIndex t = 0; t < kTableCount; ++t) {
        archive.results[t] = LoadTable(archive.store, t, path, &archive.why[t]);
        if (archive.results[t] != kArchiveNotFound) continue;
        archive.openWhy = archive.why[t];
        return archive;
    }
    archive.opened = true;
    return archive;
}

std::string LoadProblem(const LoadedArchive& archive, TableIndex t) {
    const std::string prefix = EntryName(t) + std::string(": ");
    const std::string& why = archive.why[t];
    if (why.compare(0, prefix.size(), prefix) == 0) return why.substr(prefix.size());
    return why.empty() ? "missing or damaged" : why;
}

SaveAllResult SaveTables(const TableStore& store, const std::vector<TableIndex>& tables,
                         const std::string& path, const BackupPolicy& backup) {
    const fs::path archive(path);
    fs::path folder, backupPath;
    if (!MakeWorkFolder(archive, folder)) return SaveAllResult::CannotPrepare;
    SaveAllResult result = SaveAllResult::CannotBackUp;
    if (!backup.enabled || MakeBackup(archive, backup.when, backupPath)) {
        QuietDiagnostics quiet;
        result = SaveInFolder(store, tables, archive, folder);
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (result == SaveAllResult::Saved && backup.enabled) PruneBackups(archive, backup.keep);
    if (result != SaveAllResult::Saved && !backupPath.empty()) fs::remove(backupPath, ec);
    return result;
}

} // namespace ledgrin::cli
