// ledgrin-fuzz-seeds: writes the seed corpora of the three fuzz targets from the demo
// generator, into <folder>/archive, <folder>/table_entry and <folder>/record. The same
// build always writes the same bytes; the committed corpora are its output.
#include "records/DescRecord.h"
#include "records/RecordHead.h"
#include "tests/support/TestFiles.h"
#include "tools/DemoArchive.h"
#include "tools/ZipWriter.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace ledgrin;
namespace fs = std::filesystem;

namespace {

using test::Bytes;

bool Write(const fs::path& path, const Bytes& bytes) {
    return test::WriteFileBytes(path.string(), bytes);
}

// The first `keep` records of every table (fewer if it has fewer).
TableStore FirstRecords(const TableStore& store, std::size_t keep) {
    TableStore out = store;
    for (TableIndex t = 0; t < kTableCount; ++t) {
        TableSlot& slot = out[t];
        slot.RecordCount = static_cast<std::uint16_t>(std::min<std::size_t>(slot.RecordCount, keep));
        slot.Records.resize(slot.RecordCount * RecordSize(t));
    }
    return out;
}

std::string LowerCase(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool WriteArchive(const fs::path& path, const TableStore& store, bool lowerCaseStored) {
    std::vector<ZipEntry> entries;
    if (DemoArchiveEntries(store, entries) != DemoResult::Done) return false;
    if (lowerCaseStored) {
        for (ZipEntry& e : entries) {
            e.name = LowerCase(e.name);
            if (!e.isDirectory) e.method = ZipMethod::Stored;
        }
    }
    return WriteZipFile(path.string(), entries) == ZipWriteResult::Written;
}

Bytes EntryBytes(const TableSlot& slot) {
    return TableEntryBytes(slot.RecordCount, slot.HeaderWord2, slot.Version, slot.Records);
}

bool WriteArchiveSeeds(const fs::path& dir, const TableStore& small) {
    TableStore tiny = FirstRecords(small, 2);
    TableStore oldCard = tiny;
    oldCard[kCardTable].Version = 12;
    TableStore shortPart = tiny;
    shortPart[kPartTable].Records.resize(RecordSize(kPartTable)); // count 2, one record
    return WriteArchive(dir / "small.iff", small, false) && WriteArchive(dir / "tiny.iff", tiny, false) &&
           WriteArchive(dir / "tiny-lower-stored.iff", tiny, true) &&
           WriteArchive(dir / "card-version-12.iff", oldCard, false) &&
           WriteArchive(dir / "part-short.iff", shortPart, false);
}

// Selector byte: table in the low four bits, 0x10 lower-case name, 0x20 a decoy entry first.
bool WriteTableEntrySeeds(const fs::path& dir, const TableStore& tiny) {
    for (TableIndex t = 0; t < kTableCount; ++t) {
        Bytes seed = {static_cast<std::uint8_t>(t | (t % 3 == 1 ? 0x10 : 0) | (t % 4 == 2 ? 0x20 : 0))};
        Bytes entry = EntryBytes(tiny[t]);
        if (t == kItemTable) entry.insert(entry.end(), {0xAA, 0xBB, 0xCC}); // bytes behind the records
        seed.insert(seed.end(), entry.begin(), entry.end());
        if (!Write(dir / (std::string(EntryName(t)) + ".seed"), seed)) return false;
    }
    Bytes empty = {kCardTable, 0, 0, 0xFE, 0xFF, 13, 0, 0, 0};
    Bytes version12 = {kBallTable, 1, 0, 0, 0, 12, 0, 0, 0};
    return Write(dir / "empty-card.seed", empty) && Write(dir / "ball-version-12.seed", version12);
}

// One record of each item table, a search text of three characters from its name, and
// two Desc records: the record's own description and another.
bool WriteRecordSeeds(const fs::path& dir, const TableStore& small) {
    const std::size_t pick[kTableCount] = {0, 5, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 6, 9};
    for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t) {
        const std::uint8_t* record = small.Record(t, pick[t]);
        std::string_view name = RecordName(record);
        std::string search(name.substr(name.size() > 4 ? 2 : 0, 3));
        Bytes seed = {static_cast<std::uint8_t>(t - 1), static_cast<std::uint8_t>(search.size())};
        seed.insert(seed.end(), record, record + RecordSize(t));
        seed.insert(seed.end(), search.begin(), search.end());
        const TableSlot& desc = small[kDescTable];
        std::size_t own = FindDescription(desc.Records.data(), desc.RecordCount, RecordTypeId(record));
        for (std::size_t i : {own, std::size_t{3}}) {
            if (i >= desc.RecordCount) continue; // no description of its own
            const std::uint8_t* d = small.Record(kDescTable, i);
            seed.insert(seed.end(), d, d + RecordSize(kDescTable));
        }
        if (!Write(dir / (std::string(EntryName(t)) + ".seed"), seed)) return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Usage: ledgrin-fuzz-seeds FOLDER\n", stderr);
        return 2;
    }
    const fs::path root = argv[1];
    TableStore small;
    if (BuildDemoTables({DemoSize::Small, 1}, small) != DemoResult::Done) return 1;
    for (const char* target : {"archive", "table_entry", "record"}) {
        fs::remove_all(root / target);
        fs::create_directories(root / target);
    }
    bool ok = WriteArchiveSeeds(root / "archive", small) &&
              WriteTableEntrySeeds(root / "table_entry", FirstRecords(small, 2)) &&
              WriteRecordSeeds(root / "record", small);
    if (!ok) {
        std::fprintf(stderr, "ledgrin-fuzz-seeds: cannot write the seeds into %s\n", root.c_str());
        return 1;
    }
    return 0;
}
