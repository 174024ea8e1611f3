// Arbitrary table entries (header plus records) in an otherwise well-formed archive.
// The first input byte picks the table (low four bits, modulo 14), whether its entry
// name is written in lower case (bit 4), and whether an entry named "data/<name>" with
// other bytes comes first (bit 5), which must not be taken for the table; the other
// bytes are the entry. The result and the slot are checked against the format's rules.
#include "archive/TableLoad.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cctype>

using namespace ledgrin;
using namespace ledgrin::fuzz;

namespace {

std::uint32_t Le(const std::uint8_t* p, int width) {
    std::uint32_t v = 0;
    for (int i = 0; i < width; ++i)
        v |= std::uint32_t{p[i]} << (8 * i);
    return v;
}

std::string LowerCase(std::string name) {
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// What loading `entry` as table t must give.
void CheckAgainstFormat(const std::uint8_t* entry, std::size_t size, TableIndex t, LoadResult result,
                        const TableSlot& slot) {
    if (size < 8) {
        FUZZ_CHECK(result == kMissingOrDamaged);
        FUZZ_CHECK(slot.Records.empty());
        return;
    }
    const std::uint32_t count = Le(entry, 2), word2 = Le(entry + 2, 2), version = Le(entry + 4, 4);
    FUZZ_CHECK(slot.RecordCount == count && slot.HeaderWord2 == word2 && slot.Version == version);
    const std::size_t recordBytes = count * RecordSize(t);
    if (version != 13) {
        FUZZ_CHECK(result == kUnsupportedVersion);
        FUZZ_CHECK(slot.Records.empty());
    } else if (size - 8 < recordBytes) {
        FUZZ_CHECK(result == kMissingOrDamaged);
        FUZZ_CHECK(slot.Records.empty());
    } else {
        // Bytes behind the last record are not kept.
        FUZZ_CHECK(result == kLoaded);
        FUZZ_CHECK(slot.Records == Bytes(entry + 8, entry + 8 + recordBytes));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SilenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const TableIndex t = (data[0] & 0x0F) % kTableCount;
    const std::string name = (data[0] & 0x10) ? LowerCase(EntryName(t)) : EntryName(t);
    const std::uint8_t* entry = data + 1;
    const std::size_t entrySize = size - 1;

    static const std::uint8_t kDecoy[8] = {1, 0, 0, 0, 13, 0, 0, 0};
    std::vector<StoredEntry> entries;
    if (data[0] & 0x20) entries.push_back({"data/" + name, kDecoy, sizeof kDecoy});
    entries.push_back({name, entry, entrySize});

    static MemoryFile file;
    Bytes archive = StoredZip(entries);
    file.Write(archive.data(), archive.size());
    TableStore store;
    LoadResult result = LoadTable(store, t, file.path());
    CheckAgainstFormat(entry, entrySize, t, result, store[t]);
    return 0;
}
