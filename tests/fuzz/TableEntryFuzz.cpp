// Arbitrary table entries (header plus records) in an otherwise well-formed archive.
// The first input byte picks the table (low four bits, modulo 14), whether its entry
// name is written in lower case (bit 4), and whether an entry named "data/<name>" with
// other bytes comes first (bit 5), which must not be taken for the table; the other
// bytes are the entry, stored. The result and the slot are checked against the format's
// rules.
#include "archive/TableLoad.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tools/ZipWriter.h"

#include <cctype>

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
                   slot.Records == Bytes(entry.begin() + 8, entry.begin() + 8 + recordBytes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const TableIndex t = (data[0] & 0x0F) % kTableCount;
    std::string name = EntryName(t);
    if (data[0] & 0x10)
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::vector<ZipEntry> entries((data[0] & 0x20) ? 2 : 1);
    entries.front().name = "data/" + name; // the decoy, overwritten below when there is none
    entries.front().bytes = {1, 0, 0, 0, 13, 0, 0, 0};
    entries.back().name = name;
    entries.back().bytes.assign(data + 1, data + size);
    for (ZipEntry& e : entries)
        e.method = ZipMethod::Stored;

    static const std::string archive = ScratchFile("tarvik_gb.iff");
    FUZZ_CHECK(WriteZipFile(archive, entries) == ZipWriteResult::Written);
    TableStore store;
    const LoadResult result = LoadTable(store, t, archive);
    CheckAgainstFormat(entries.back().bytes, t, result, store[t]);
    return 0;
}
