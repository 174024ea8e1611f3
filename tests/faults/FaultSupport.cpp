#include "tests/faults/FaultSupport.h"

#include "archive/TableLoad.h"
#include "tools/DemoArchive.h"
#include "tools/ZipWriter.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace ledgrin::faults {

TmpfsMount::TmpfsMount(const fs::path& dir, std::size_t kib) : dir_(dir) {
    std::string options = "size=" + std::to_string(kib) + "k";
    mounted_ = mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
    if (!mounted_) error_ = std::strerror(errno);
}

TmpfsMount::~TmpfsMount() {
    if (mounted_) umount2(dir_.c_str(), MNT_DETACH);
}

bool TmpfsMount::MakeReadOnly() {
    return mount("tmpfs", dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

TableStore SmallDemoTables() {
    TableStore store;
    EXPECT_EQ(BuildDemoTables({DemoSize::Small, 1}, store), DemoResult::Done);
    return store;
}

void WriteDemoArchive(const std::string& path, const TableStore& store) {
    std::vector<ZipEntry> entries;
    ASSERT_EQ(DemoArchiveEntries(store, entries), DemoResult::Done);
    ASSERT_EQ(WriteZipFile(path, entries), ZipWriteResult::Written);
}

bool LoadAll(const std::string& path, TableStore& store) {
    testing::internal::CaptureStdout(); // the loader's diagnostic lines
    bool ok = true;
    for (TableIndex t = 0; t < kTableCount && ok; ++t) {
        LoadResult result = LoadTable(store, t, path);
        EXPECT_EQ(result, kLoaded) << EntryName(t) << " from " << path;
        ok = result == kLoaded;
    }
    testing::internal::GetCapturedStdout();
    return ok;
}

namespace {

bool SameSlot(const TableSlot& a, const TableSlot& b) {
    return a.RecordCount == b.RecordCount && a.HeaderWord2 == b.HeaderWord2 && a.Version == b.Version &&
           a.Records == b.Records;
}

bool IsWholeArchive(const std::string& path) {
    int error = 0;
    zip_t* za = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (za) zip_discard(za);
    return za != nullptr;
}

} // namespace

bool ExpectOldOrNew(const std::string& path, const TableStore& expected, TableIndex t,
                    const TableSlot& before, const TableSlot& after) {
    EXPECT_TRUE(fs::is_regular_file(path)) << "no archive at " << path;
    EXPECT_TRUE(IsWholeArchive(path)) << path << " is damaged";
    TableStore loaded;
    if (!LoadAll(path, loaded)) return false;
    for (TableIndex u = 0; u < kTableCount; ++u)
        if (u != t) {
            EXPECT_TRUE(SameSlot(loaded[u], expected[u])) << EntryName(u) << " changed";
        }
    bool isNew = SameSlot(loaded[t], after);
    EXPECT_TRUE(isNew || SameSlot(loaded[t], before))
        << EntryName(t) << " is neither the old nor the new table";
    return isNew;
}

std::vector<std::string> ListDir(const fs::path& dir) {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace ledgrin::faults
