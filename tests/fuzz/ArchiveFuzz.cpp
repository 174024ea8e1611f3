// Arbitrary bytes as a whole archive: every one of the fourteen tables is loaded from
// it. When all of them load, one table is saved back and the archive read again, which
// must give the same fourteen tables; a save that fails must leave the file as it was
// and no temporary archive behind.
#include "archive/TableLoad.h"
#include "archive/TableSave.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/TestArchives.h"

using namespace ledgrin;
using namespace ledgrin::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string archive = ScratchFile("tarvik_gb.iff");
    FUZZ_CHECK(WriteFileBytes(archive, Bytes(data, data + size)));
    TableStore store;
    bool allLoaded = true;
    for (TableIndex t = 0; t < kTableCount; ++t) {
        const LoadResult result = LoadTable(store, t, archive);
        FUZZ_CHECK(result != kLoaded || store[t].Version == kSupportedVersion);
        FUZZ_CHECK(result != kUnsupportedVersion || store[t].Version != kSupportedVersion);
        FUZZ_CHECK(store[t].Records.size() == (result == kLoaded ? store[t].RecordCount * RecordSize(t) : 0));
        allLoaded = allLoaded && result == kLoaded;
    }
    if (!allLoaded) return 0;

    const TableIndex t = static_cast<TableIndex>(size % kTableCount);
    const std::string folder = fs::path(archive).parent_path().string();
    if (SaveTable(store, t, archive, folder) == kSaved) {
        TableStore reloaded;
        for (TableIndex u = 0; u < kTableCount; ++u) {
            FUZZ_CHECK(LoadTable(reloaded, u, archive) == kLoaded);
            FUZZ_CHECK(SameSlot(reloaded[u], store[u]));
        }
    } else {
        FUZZ_CHECK(ReadFileBytes(archive) == Bytes(data, data + size));
    }
    FUZZ_CHECK(!fs::exists(TemporaryArchivePath(folder)));
    return 0;
}
