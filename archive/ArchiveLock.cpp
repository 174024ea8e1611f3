#include "archive/ArchiveLock.h"

#include "archive/FileReplace.h"

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace ledgrin {

namespace {

constexpr auto kRetry = std::chrono::milliseconds(10);

#ifdef _WIN32
HANDLE AsHandle(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}
#endif

} // namespace

std::string ArchiveLockPath(const std::string& archivePath) {
    return ResolveLinks(archivePath) + ".lock";
}

ArchiveLock::ArchiveLock(ArchiveLock&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

ArchiveLock& ArchiveLock::operator=(ArchiveLock&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = other.handle_;
        other.handle_ = -1;
    }
    return *this;
}

ArchiveLock::Result ArchiveLock::Acquire(const std::string& archivePath, double waitSeconds) {
    Release();
    const std::string path = ArchiveLockPath(archivePath);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(waitSeconds);
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return Result::kCannotOpen;
    for (;;) {
        OVERLAPPED whole = {};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                       &whole)) {
            handle_ = reinterpret_cast<std::intptr_t>(h);
            return Result::kLocked;
        }
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING;
        if (!busy || std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(h);
            return busy ? Result::kBusy : Result::kCannotOpen;
        }
        std::this_thread::sleep_for(kRetry);
    }
#else
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return Result::kCannotOpen;
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            handle_ = fd;
            return Result::kLocked;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            close(fd);
            return Result::kCannotOpen;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            close(fd);
            return Result::kBusy;
        }
        std::this_thread::sleep_for(kRetry);
    }
#endif
}

void ArchiveLock::Release() {
    if (handle_ == -1) return;
#ifdef _WIN32
    CloseHandle(AsHandle(handle_)); // closing the handle releases its lock
#else
    close(static_cast<int>(handle_)); // and so does closing the descriptor
#endif
    handle_ = -1;
}

} // namespace ledgrin
