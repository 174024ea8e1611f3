// Putting a finished file in place of another without a moment in which neither exists.
// Its .cpp holds the file-system calls of each platform (the only <windows.h> in archive/).
#pragma once

#include <cstdio>
#include <string>

namespace ledgrin {

// Flushes the C library's buffer and has the system write the file's bytes to disk.
bool FlushFileToDisk(std::FILE* file);

// True when both paths reach one existing file (also through different spellings).
bool IsSameFile(const std::string& a, const std::string& b);

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
