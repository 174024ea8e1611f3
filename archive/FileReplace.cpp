#include "archive/FileReplace.h"

#include <array>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ledgrin {

namespace {

enum class MoveOutcome { kMoved, kOtherVolume, kFailed };

#ifdef _WIN32

bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return ok;
}

// Without MOVEFILE_COPY_ALLOWED a move to another volume fails instead of copying over
// the target in place, which could leave a half-written archive behind.
MoveOutcome MoveReplacing(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return MoveOutcome::kMoved;
    return GetLastError() == ERROR_NOT_SAME_DEVICE ? MoveOutcome::kOtherVolume : MoveOutcome::kFailed;
}

std::string DirectoryOf(const std::string& path) {
    std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos) {
        std::size_t colon = path.find(':');
        return colon == std::string::npos ? std::string(".") : path.substr(0, colon + 1);
    }
    bool root = cut == 0 || path[cut - 1] == ':';
    return path.substr(0, root ? cut + 1 : cut);
}

std::FILE* CreateSiblingFile(const std::string& path, std::string& name) {
    char buffer[MAX_PATH];
    if (GetTempFileNameA(DirectoryOf(path).c_str(), "tgb", 0, buffer) == 0) return nullptr;
    name = buffer;
    std::FILE* file = std::fopen(buffer, "wb");
    if (!file) std::remove(buffer);
    return file;
}

void KeepPermissions(const std::string&, const std::string&) {}

#else

void SyncDirectoryOf(const std::string& path) {
    std::size_t cut = path.rfind('/');
    std::string dir = cut == std::string::npos ? std::string(".") : path.substr(0, cut == 0 ? 1 : cut);
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

MoveOutcome MoveReplacing(const std::string& from, const std::string& to) {
    if (rename(from.c_str(), to.c_str()) == 0) {
        SyncDirectoryOf(to); // the rename itself is durable only once the folder is written
        return MoveOutcome::kMoved;
    }
    return errno == EXDEV ? MoveOutcome::kOtherVolume : MoveOutcome::kFailed;
}

std::FILE* CreateSiblingFile(const std::string& path, std::string& name) {
    name = path + ".XXXXXX";
    int fd = mkstemp(name.data());
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        std::remove(name.c_str());
    }
    return file;
}

// The new file replaces the old one under its name, so it takes over the old one's mode.
void KeepPermissions(const std::string& original, const std::string& replacement) {
    struct stat st;
    if (stat(original.c_str(), &st) == 0) chmod(replacement.c_str(), st.st_mode & 07777);
}

#endif

bool CopyContents(const std::string& from, std::FILE* out) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (!in) return false;
    std::array<char, 65536> chunk;
    bool ok = true;
    std::size_t n;
    while (ok && (n = std::fread(chunk.data(), 1, chunk.size(), in)) > 0)
        ok = std::fwrite(chunk.data(), 1, n, out) == n;
    ok = ok && !std::ferror(in);
    std::fclose(in);
    return ok;
}

bool MoveThroughSibling(const std::string& from, const std::string& to) {
    std::string sibling;
    std::FILE* out = CreateSiblingFile(to, sibling);
    if (!out) return false;
    bool ok = CopyContents(from, out) && FlushFileToDisk(out);
    ok = std::fclose(out) == 0 && ok;
    KeepPermissions(to, sibling);
    if (ok && MoveReplacing(sibling, to) == MoveOutcome::kMoved) {
        std::remove(from.c_str());
        return true;
    }
    std::remove(sibling.c_str());
    return false;
}

} // namespace

bool FlushFileToDisk(std::FILE* file) {
#ifdef _WIN32
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
#else
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
#endif
}

std::string ResolveLinks(const std::string& path) {
#ifdef _WIN32
    using GetFinalPath = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    // Not in every Windows the program may meet; without it a link is written as a file.
    static const auto getFinalPath = reinterpret_cast<GetFinalPath>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (!getFinalPath || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return path;
    char buffer[32768];
    const DWORD n = getFinalPath(h, buffer, sizeof buffer, 0 /* FILE_NAME_NORMALIZED | VOLUME_NAME_DOS */);
    CloseHandle(h);
    if (n == 0 || n >= sizeof buffer) return path;
    std::string resolved(buffer, n);
    if (resolved.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + resolved.substr(8);
    if (resolved.rfind("\\\\?\\", 0) == 0) return resolved.substr(4);
    return resolved;
#else
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved) return path;
    std::string result(resolved);
    std::free(resolved);
    return result;
#endif
}

bool ReadFileStamp(const std::string& path, FileStamp& stamp) {
#ifdef _WIN32
    BY_HANDLE_FILE_INFORMATION info;
    if (!FileIdentity(path, info)) return false;
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.file = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    stamp.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    stamp.modified = static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                               info.ftLastWriteTime.dwLowDateTime);
#else
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    stamp.volume = st.st_dev;
    stamp.file = st.st_ino;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
    return true;
}

bool IsSameFile(const std::string& a, const std::string& b) {
#ifdef _WIN32
    BY_HANDLE_FILE_INFORMATION ia, ib;
    return FileIdentity(a, ia) && FileIdentity(b, ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
#else
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
#endif
}

bool ReplaceFileAtomically(const std::string& from, const std::string& to) {
    KeepPermissions(to, from);
    MoveOutcome outcome = MoveReplacing(from, to);
    if (outcome != MoveOutcome::kOtherVolume) return outcome == MoveOutcome::kMoved;
    return MoveThroughSibling(from, to);
}

bool LinkOrCopyFile(const std::string& existing, const std::string& created) {
#ifdef _WIN32
    if (CreateHardLinkA(created.c_str(), existing.c_str(), nullptr)) return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS || GetLastError() == ERROR_FILE_EXISTS) return false;
    return CopyFileA(existing.c_str(), created.c_str(), TRUE) != 0;
#else
    if (link(existing.c_str(), created.c_str()) == 0) {
        SyncDirectoryOf(created);
        return true;
    }
    if (errno == EEXIST) return false;
    const int fd = open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return false;
    std::FILE* out = fdopen(fd, "wb");
    if (!out) {
        close(fd);
        std::remove(created.c_str());
        return false;
    }
    bool ok = CopyContents(existing, out) && FlushFileToDisk(out);
    ok = std::fclose(out) == 0 && ok;
    KeepPermissions(existing, created);
    if (!ok) std::remove(created.c_str());
    return ok;
#endif
}

} // namespace ledgrin
