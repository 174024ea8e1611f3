// Save failures that only a file system can cause. Root ignores file modes, so these use
// what does stop root: small or read-only tmpfs mounts and the immutable attribute. Without
// the right to mount or to set attributes the tests skip.
#include "ArchiveTestSupport.h"
#include "archive/TableSave.h"
#include "tools/ZipWriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ledgrin;
using namespace ledgrin::test;

namespace {

// A tmpfs over a folder for one test; unmounted when it goes out of scope, also after a
// failed assertion.
class TmpfsMount {
  public:
    TmpfsMount(const fs::path& dir, const std::string& size) : dir_(dir) {
        mounted_ = mount("tmpfs", dir.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
        if (!mounted_) error_ = std::strerror(errno);
    }
    ~TmpfsMount() {
        if (mounted_) umount2(dir_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    const std::string& error() const { return error_; }
    bool MakeReadOnly() {
        return mount("tmpfs", dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

  private:
    fs::path dir_;
    bool mounted_ = false;
    std::string error_;
};

// The immutable attribute (chattr +i) on a file, taken off again at the end.
class ImmutableFile {
  public:
    explicit ImmutableFile(const std::string& path) : path_(path) { set_ = Change(true); }
    ~ImmutableFile() {
        if (set_) Change(false);
    }
    bool set() const { return set_; }

  private:
    bool Change(bool on) {
        int fd = open(path_.c_str(), O_RDONLY);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return ok;
    }
    std::string path_;
    bool set_ = false;
};

mode_t ModeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class SaveFailureLinuxTest : public testing::Test {
  protected:
    ScratchDir dir{testing::UnitTest::GetInstance()->current_test_info()->name()};
    fs::path exe = dir.path() / "exe";
    fs::path game = dir.path() / "game";
    std::string archive = (game / "tarvik_gb.iff").string();
    TableStore store;

    void SetUp() override {
        fs::create_directories(exe);
        fs::create_directories(game);
        WriteArchive();
        store[kPartTable] = {2, 0x0202, 13, Pattern(2 * 544, 21)};
    }
    // 200 KB stored: more than a 64 KB tmpfs can take.
    void WriteArchive() {
        ASSERT_EQ(WriteZipFile(archive, {Entry("music.bin", Pattern(200000, 22), ZipMethod::Stored),
                                         Entry("Part.iff", TableEntryBytes(1, 0, 13, Pattern(544, 23)))}),
                  ZipWriteResult::Written);
    }
    std::string Save(SaveResult expected) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(SaveTable(store, kPartTable, archive, exe.string()), expected);
        return testing::internal::GetCapturedStdout();
    }
    Bytes SavedPart() { return EntryData(archive, "Part.iff"); }
};

#define SKIP_UNLESS_MOUNTED(m)                                                                               \
    if (!(m).mounted()) GTEST_SKIP() << "cannot mount a tmpfs here: " << (m).error()

} // namespace

// --- the temporary archive cannot be written -------------------------------------------

TEST_F(SaveFailureLinuxTest, AReadOnlyProgramFolderMeansNoTemporaryArchive) {
    TmpfsMount m(exe, "1m");
    SKIP_UNLESS_MOUNTED(m);
    ASSERT_TRUE(m.MakeReadOnly());
    Bytes before = ReadFileBytes(archive);

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\ncant create tarvik_gb1.iff.\n");
    EXPECT_EQ(ReadFileBytes(archive), before);
    EXPECT_TRUE(ListDir(exe).empty());
}

TEST_F(SaveFailureLinuxTest, AFullProgramFolderLeavesNoHalfWrittenArchive) {
    TmpfsMount m(exe, "64k");
    SKIP_UNLESS_MOUNTED(m);
    Bytes before = ReadFileBytes(archive);

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\n");
    EXPECT_EQ(ReadFileBytes(archive), before);
    EXPECT_TRUE(ListDir(exe).empty());
}

TEST_F(SaveFailureLinuxTest, AProtectedOldTemporaryArchiveIsNotReplaced) {
    std::string temp = (exe / "tarvik_gb1.iff").string();
    WriteFileBytes(temp, {'o', 'l', 'd'});
    ImmutableFile lock(temp);
    if (!lock.set()) GTEST_SKIP() << "cannot set the immutable attribute here";
    Bytes before = ReadFileBytes(archive);

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\ncant create tarvik_gb1.iff.\n");
    EXPECT_EQ(ReadFileBytes(archive), before);
    EXPECT_EQ(ReadFileBytes(temp), (Bytes{'o', 'l', 'd'}));
}

// --- the old archive cannot be replaced ------------------------------------------------

TEST_F(SaveFailureLinuxTest, AProtectedArchiveStaysAsItWasAndTheTemporaryGoes) {
    Bytes before = ReadFileBytes(archive);
    ImmutableFile lock(archive);
    if (!lock.set()) GTEST_SKIP() << "cannot set the immutable attribute here";

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\n");
    EXPECT_EQ(ReadFileBytes(archive), before);
    EXPECT_TRUE(ListDir(exe).empty());
}

TEST_F(SaveFailureLinuxTest, AReadOnlyGameFolderOnAnotherFileSystemStaysAsItWas) {
    TmpfsMount programFolder(exe, "8m");
    SKIP_UNLESS_MOUNTED(programFolder);
    TmpfsMount gameFolder(game, "1m");
    SKIP_UNLESS_MOUNTED(gameFolder);
    WriteArchive();
    ASSERT_TRUE(gameFolder.MakeReadOnly());
    Bytes before = ReadFileBytes(archive);

    EXPECT_EQ(Save(kNotSaved), "Writing Part.iff\n");
    EXPECT_EQ(ReadFileBytes(archive), before);
    EXPECT_EQ(ListDir(game), std::vector<std::string>{"tarvik_gb.iff"});
    EXPECT_TRUE(ListDir(exe).empty());
}

// --- successful replacement ------------------------------------------------------------

TEST_F(SaveFailureLinuxTest, ATemporaryArchiveOnAnotherFileSystemIsCopiedBesideTheArchive) {
    TmpfsMount m(exe, "8m");
    SKIP_UNLESS_MOUNTED(m);
    ASSERT_EQ(chmod(archive.c_str(), 0640), 0);

    EXPECT_EQ(Save(kSaved), "Writing Part.iff\n");
    Bytes expected = {0x02, 0x00, 0x02, 0x02, 0x0D, 0x00, 0x00, 0x00};
    Bytes records = Pattern(2 * 544, 21);
    expected.insert(expected.end(), records.begin(), records.end());
    EXPECT_EQ(SavedPart(), expected);
    EXPECT_EQ(EntryData(archive, "music.bin"), Pattern(200000, 22));
    EXPECT_EQ(ListDir(game), std::vector<std::string>{"tarvik_gb.iff"});
    EXPECT_TRUE(ListDir(exe).empty());
    EXPECT_EQ(ModeOf(archive), 0640u);
}

TEST_F(SaveFailureLinuxTest, TheArchiveKeepsItsPermissions) {
    ASSERT_EQ(chmod(archive.c_str(), 0604), 0);
    EXPECT_EQ(Save(kSaved), "Writing Part.iff\n");
    EXPECT_EQ(ModeOf(archive), 0604u);
}
