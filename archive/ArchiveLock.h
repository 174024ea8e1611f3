// One writer at a time: an exclusive lock on a file beside the archive, which every
// program of the project takes around a write (the command-line tool from its load to its
// replace, the editor around each save). The system releases it when its holder ends, so a
// killed writer never blocks the next one. The lock file stays: removing it would let two
// writers lock two different files of one name.
#pragma once

#include <cstdint>
#include <string>

namespace ledgrin {

// The lock file of an archive: the path of the file itself (links resolved) and ".lock".
std::string ArchiveLockPath(const std::string& archivePath);

class ArchiveLock {
  public:
    enum class Result { kLocked, kBusy, kCannotOpen };

    ArchiveLock() = default;
    ~ArchiveLock() { Release(); }
    ArchiveLock(ArchiveLock&& other) noexcept;
    ArchiveLock& operator=(ArchiveLock&& other) noexcept;
    ArchiveLock(const ArchiveLock&) = delete;
    ArchiveLock& operator=(const ArchiveLock&) = delete;

    // Locks the archive's lock file (creating it when missing), trying again until
    // `waitSeconds` have passed; kBusy when another holder kept it that long.
    Result Acquire(const std::string& archivePath, double waitSeconds);
    void Release();
    bool held() const { return handle_ != -1; }

  private:
    std::intptr_t handle_ = -1; // a file descriptor, or a Windows HANDLE
};

} // namespace ledgrin
