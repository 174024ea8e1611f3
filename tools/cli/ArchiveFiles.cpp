#include "tools/cli/ArchiveFiles.h"

#include "archive/FileReplace.h"
#include "archive/TableSave.h"
#include "records/Diagnostics.h"

#include <cstdio>
#include <filesystem>
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
        archive.results[t] = LoadTable(archive.store, t, path);
        if (archive.results[t] == kArchiveNotFound) return archive;
    }
    archive.opened = true;
    return archive;
}

std::string LoadProblem(const TableSlot& slot, LoadResult result) {
    switch (result) {
    case kLoaded: return "loaded";
    case kArchiveNotFound: return "the archive cannot be opened";
    case kUnsupportedVersion: return "unsupported version " + std::to_string(slot.Version);
    default: return "missing or damaged";
    }
}

SaveAllResult SaveTables(const TableStore& store, const std::vector<TableIndex>& tables,
                         const std::string& path) {
    const fs::path archive(path);
    fs::path folder;
    if (!MakeWorkFolder(archive, folder)) return SaveAllResult::CannotPrepare;
    SaveAllResult result;
    {
        QuietDiagnostics quiet;
        result = SaveInFolder(store, tables, archive, folder);
    }
    std::error_code ec;
    fs::remove_all(folder, ec);
    return result;
}

} // namespace ledgrin::cli
