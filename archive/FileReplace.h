// Putting a finished file in place of another without a moment in which neither exists.
// Its .cpp holds the file-system calls of each platform (the only <windows.h> in archive/).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace ledgrin {

// Flushes the C library's buffer and has the system write the file's bytes to disk.
bool FlushFileToDisk(std::FILE* file);

// True when both paths reach one existing file (also through different spellings).
bool IsSameFile(const std::string& a, const std::string& b);

// When `path` names a symbolic link (a reparse point on Windows), the full path of the file
// it leads to, so a write replaces that file and leaves the link a link. Otherwise `path`
// as given: a linked folder on the way holds the file's own entry, which a rename replaces.
std::string ResolveLinks(const std::string& path);

// One version of one file: the file itself (device and inode, or volume and file index),
// its size and its modification time. A write compares the stamp of the archive it loaded
// with the archive's stamp just before it replaces it.
struct FileStamp {
    std::uint64_t volume = 0, file = 0, size = 0;
    std::int64_t modified = 0; // nanoseconds (Linux) or 100-nanosecond ticks (Windows)
    bool operator==(const FileStamp& o) const {
        return volume == o.volume && file == o.file && size == o.size && modified == o.modified;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};
// False when the file cannot be reached.
bool ReadFileStamp(const std::string& path, FileStamp& stamp);

// Moves the file at `from` over the file at `to` in one step of the file system, so `to`
// names either the old file or the complete new one at every moment. When `from` lies on
// another volume it is first copied, flushed, into a new file beside `to`, and that file
// is moved instead. On failure `to` is unchanged and `from` is left for the caller.
bool ReplaceFileAtomically(const std::string& from, const std::string& to);

// Makes `created`, which must not exist yet, a second name of the file `existing` where the
// file system allows (a backup that costs no copy), else a flushed copy of it. False when
// neither works or `created` exists; a failed copy is removed.
bool LinkOrCopyFile(const std::string& existing, const std::string& created);

} // namespace ledgrin
