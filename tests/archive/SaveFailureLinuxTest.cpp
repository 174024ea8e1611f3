// Save failures that only a file system can cause. Root ignores file modes, so these use
// what does stop root: small or read-only tmpfs mounts and the immutable attribute.
// Without the right to mount or to set attributes the tests skip.
#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ledgrin;
using namespace ledgrin::test;

using SaveFailure = ArchiveTest;

namespace {

// A tmpfs over a folder, unmounted when it goes out of scope, also after a failed assertion.
struct TmpfsMount {
    fs::path dir;
    bool mounted;
    TmpfsMount(const fs::path& d, const std::string& size)
        : dir(d), mounted(mount("tmpfs", d.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0) {}
    ~TmpfsMount() {
        if (mounted) umount2(dir.c_str(), MNT_DETACH);
    }
    bool MakeReadOnly() { return mount("tmpfs", dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }
};

bool SetImmutable(const std::string& path, bool on) {
    int fd = open(path.c_str(), O_RDONLY), flags = 0;
    bool ok = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) close(fd);
    return ok;
}

// The immutable attribute (chattr +i) on a file, taken off again at the end.
struct ImmutableFile {
    std::string path;
    bool set = SetImmutable(path, true);
    ~ImmutableFile() {
        if (set) SetImmutable(path, false);
    }
};

mode_t ModeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

#define SKIP_UNLESS(condition)                                                                               \
    if (!(condition)) GTEST_SKIP() << "not possible here: " #condition

} // namespace

TEST_F(SaveFailure, AReadOnlyProgramFolderMeansNoTemporaryArchive) {
    TmpfsMount m(exe, "1m");
    SKIP_UNLESS(m.mounted);
    ASSERT_TRUE(m.MakeReadOnly());
    ExpectPartNotSaved("Writing Part.iff\ncant create tarvik_gb1.iff.\n");
}

TEST_F(SaveFailure, AFullProgramFolderLeavesNoHalfWrittenArchive) {
    TmpfsMount m(exe, "64k");
    SKIP_UNLESS(m.mounted);
    ExpectPartNotSaved("Writing Part.iff\n");
}

TEST_F(SaveFailure, AProtectedOldTemporaryArchiveIsNotReplaced) {
    ASSERT_TRUE(WriteFileBytes((exe / "tarvik_gb1.iff").string(), {'o', 'l', 'd'}));
    ImmutableFile lock{(exe / "tarvik_gb1.iff").string()};
    SKIP_UNLESS(lock.set);
    ExpectPartNotSaved("Writing Part.iff\ncant create tarvik_gb1.iff.\n");
}

TEST_F(SaveFailure, AProtectedArchiveStaysAsItWasAndTheTemporaryGoes) {
    ImmutableFile lock{archive};
    SKIP_UNLESS(lock.set);
    ExpectPartNotSaved("Writing Part.iff\n");
}

TEST_F(SaveFailure, AReadOnlyGameFolderOnAnotherFileSystemStaysAsItWas) {
    TmpfsMount programFolder(exe, "8m");
    SKIP_UNLESS(programFolder.mounted);
    TmpfsMount gameFolder(game, "1m");
    SKIP_UNLESS(gameFolder.mounted);
    WriteArchive({Entry("notes.bin", notes, ZipMethod::Stored)}); // inside the new mount
    ASSERT_TRUE(gameFolder.MakeReadOnly());
    ExpectPartNotSaved("Writing Part.iff\n");
}

TEST_F(SaveFailure, TheArchiveKeepsItsBytesAndPermissionsOnOneOrTwoFileSystems) {
    ASSERT_EQ(chmod(archive.c_str(), 0604), 0);
    EXPECT_EQ(Save(kPartTable, kSaved), "Writing Part.iff\n");
    EXPECT_EQ(ModeOf(archive), 0604u);

    // The temporary archive on another file system is copied beside the archive first.
    TmpfsMount m(exe, "8m");
    SKIP_UNLESS(m.mounted);
    ASSERT_EQ(chmod(archive.c_str(), 0640), 0);
    store[kPartTable].HeaderWord2 = 0x0303;
    EXPECT_EQ(Save(kPartTable, kSaved), "Writing Part.iff\n");
    EXPECT_EQ(ModeOf(archive), 0640u);
    EXPECT_EQ(EntryData(archive, "Part.iff"),
              Concat({0x02, 0x00, 0x03, 0x03, 0x0D, 0x00, 0x00, 0x00}, Pattern(2 * 544, 21)));
    EXPECT_EQ(EntryData(archive, "notes.bin"), notes);
    EXPECT_EQ(Snapshot(game).size(), 1u);
    EXPECT_TRUE(Snapshot(exe).empty());
}
