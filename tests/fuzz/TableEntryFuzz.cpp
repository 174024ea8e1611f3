// Arbitrary table entries (header plus records) in an otherwise well-formed archive.
// The first input byte picks the table (low four bits, modulo 14); the other bytes are the
// entry, stored. The result and the slot are checked against the format's rules.
#include "archive/TableLoad.h"
#include "demo/ZipWriter.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace ledgrin;
using namespace ledgrin::fuzz;

namespace {

// What loading `entry` as table t must give.
void CheckAgainstFormat(const Bytes& entry, TableIndex t, LoadResult result, const TableSlot& slot) {
    if (entry.size() < 8) {
        FUZZ_CHECK(result == kMissingOrDamaged && slot.Records.empty());
        return;
    }
    const std::uint32_t count = Get(&entry[0], 2), version = Get(&entry[4], 4);
    FUZZ_CHECK(slot.RecordCount == count && slot.HeaderWord2 == Get(&entry[2], 2) && slot.Version == version);
    const std::size_t recordBytes = count * RecordSize(t);
    if (version != 13)
        FUZZ_CHECK(result == kUnsupportedVersion && slot.Records.empty());
    else if (entry.size() - 8 < recordBytes)
        FUZZ_CHECK(result == kMissingOrDamaged && slot.Records.empty());
    else // bytes behind the last record are not kept
        FUZZ_CHECK(result == kLoaded &&
                   AsBytes(slot.Records) == Bytes(entry.begin() + 8, entry.begin() + 8 + recordBytes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const TableIndex t = (data[0] & 0x0F) % kTableCount;
    ZipEntry entry;
    entry.name = EntryName(t);
    entry.bytes.assign(data + 1, data + size);
    entry.method = ZipMethod::Stored;

    static const std::string archive = ScratchFile("tarvik_gb.iff");
    FUZZ_CHECK(WriteZipFile(archive, {entry}) == ZipWriteResult::Written);
    TableStore store;
    const LoadResult result = LoadTable(store, t, archive);
    CheckAgainstFormat(entry.bytes, t, result, store[t]);
    return 0;
}
