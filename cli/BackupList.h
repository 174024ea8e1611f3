// The backups of an archive as history and restore show them.
#pragma once

#include "cli/ArchiveFiles.h"

#include <optional>
#include <string>

namespace ledgrin::cli {

// "tarvik_gb.iff.20261207-011500.bak  2026-12-07 01:15:00  55884 bytes".
std::string BackupHeading(const Backup& backup);

// What replacing `before` by `after` changes, per table (ChangeSummary), on a line of its
// own; or why the two cannot be compared.
std::string Comparison(const LoadedArchive& before, const LoadedArchive& after);

// The backup of the archive file at path, when its name is that of one.
std::optional<Backup> FindBackup(const std::string& archiveFile, const std::string& path);

} // namespace ledgrin::cli
