// Writes the seed corpus of every fuzz target into FOLDER/<target>/, from the demo
// generator and the tool's own writers, so the seeds can always be made again:
//   fuzz_make_seeds FOLDER
// archive: whole archives (small and tiny demo archives, damaged variants); table_entry:
// one table's entry behind the byte that picks the table; csv and json: exports of every
// item table; patch: patches between the tiny demo tables and edited copies of them.
#include "records/DescRecord.h"
#include "records/RecordHead.h"
#include "demo/DemoArchive.h"
#include "demo/ZipWriter.h"
#include "cli/Csv.h"
#include "cli/Export.h"
#include "cli/Patch.h"

#include <cstdio>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>

using namespace ledgrin;
using namespace ledgrin::cli;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void Die(const std::string& why) {
    std::fprintf(stderr, "fuzz_make_seeds: %s\n", why.c_str());
    std::exit(1);
}

void Write(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) Die("cannot write " + file.string());
}

void Write(const fs::path& file, const Bytes& bytes) {
    Write(file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

TableStore Demo() {
    TableStore store;
    if (BuildDemoTables({DemoSize::Small, 1}, store) != DemoResult::Done) Die("demo tables");
    return store;
}

// The small demo cut to its first two records per table: fast to load, every table there.
TableStore Tiny(const TableStore& small) {
    TableStore tiny = small;
    for (TableIndex t = 0; t < kTableCount; ++t) {
        TableSlot& slot = tiny[t];
        slot.RecordCount = std::min<std::uint16_t>(slot.RecordCount, 2);
        slot.Records.resize(slot.RecordCount * RecordSize(t));
    }
    return tiny;
}

Bytes Entry(const TableSlot& slot) {
    return TableEntryBytes(slot.RecordCount, slot.HeaderWord2, slot.Version, slot.Records);
}

void WriteArchive(const fs::path& file, const TableStore& store,
                  const std::function<void(std::vector<ZipEntry>&)>& edit = nullptr) {
    std::vector<ZipEntry> entries;
    if (DemoArchiveEntries(store, entries) != DemoResult::Done) Die("demo entries");
    if (edit) edit(entries);
    if (WriteZipFile(file.string(), entries) != ZipWriteResult::Written) Die("cannot write " + file.string());
}

ZipEntry& Named(std::vector<ZipEntry>& entries, TableIndex t) {
    for (ZipEntry& e : entries)
        if (e.name == EntryName(t)) return e;
    Die("no entry " + std::string(EntryName(t)));
}

void ArchiveSeeds(const fs::path& dir, const TableStore& small, const TableStore& tiny) {
    WriteArchive(dir / "small.iff", small);
    WriteArchive(dir / "tiny.iff", tiny);
    WriteArchive(dir / "tiny-lower-stored.iff", tiny, [](std::vector<ZipEntry>& entries) {
        for (ZipEntry& e : entries) {
            for (char& c : e.name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            e.method = ZipMethod::Stored;
        }
    });
    WriteArchive(dir / "part-short.iff", tiny,
                 [](std::vector<ZipEntry>& entries) { Named(entries, kPartTable).bytes.resize(8 + 100); });
    WriteArchive(dir / "card-version-12.iff", tiny,
                 [](std::vector<ZipEntry>& entries) { Named(entries, kCardTable).bytes[4] = 12; });
}

void TableEntrySeeds(const fs::path& dir, const TableStore& tiny) {
    const auto seed = [&](const std::string& name, TableIndex t, Bytes entry) {
        entry.insert(entry.begin(), static_cast<std::uint8_t>(t));
        Write(dir / name, entry);
    };
    for (TableIndex t = 0; t < kTableCount; ++t)
        seed(std::string(EntryName(t)) + ".seed", t, Entry(tiny[t]));
    seed("ball-version-12.seed", kBallTable, TableEntryBytes(0, 0, 12, {}));
    seed("empty-card.seed", kCardTable, TableEntryBytes(0, 0, 13, {}));
    Bytes trailing = Entry(tiny[kDescTable]);
    trailing.insert(trailing.end(), {0xDE, 0xAD, 0xBE, 0xEF});
    seed("desc-trailing-bytes.seed", kDescTable, trailing);
}

void TextSeeds(const fs::path& csv, const fs::path& json, const TableStore& tiny) {
    for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t) {
        Write(csv / (std::string(EntryName(t)) + ".csv"), ExportTable(tiny, t, FileFormat::Csv));
        Write(json / (std::string(EntryName(t)) + ".json"), ExportTable(tiny, t, FileFormat::Json));
    }
    Write(csv / "quoted.csv", "\xEF\xBB\xBFTypeID,Name,Description\n1,\"a,b\",\"two\r\nlines \"\"q\"\"\"\n\n2,x,y\r\n");
    Write(json / "escapes.json", "[{\"TypeID\": 1, \"Name\": \"\\u00E9\\n\\\"\\\\\\/\", \"Price\": -0.5e+3},\n {}]");
}

void PatchSeeds(const fs::path& dir, const TableStore& tiny) {
    TableStore mod = tiny;
    const auto put = [&](TableIndex t, std::size_t index, std::size_t offset, std::uint32_t value) {
        std::uint8_t* record = mod.Record(t, index);
        for (int i = 0; i < 4; ++i)
            record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    put(kPartTable, 0, kPriceOffset, 4321);
    put(kMascotTable, 1, kPriceOffset, 777);
    SetRecordName(mod.Record(kItemTable, 0), "Renamed");
    WriteDescText(mod.Record(kDescTable, 0), "Rewritten.");
    TableSlot& desc = mod[kDescTable];
    if (AppendDescription(desc.Records, desc.RecordCount, RecordTypeId(tiny.Record(kSkinTable, 1)), "Added.") !=
        AppendResult::Appended)
        Die("append");
    const Patch patch = MakePatch(tiny, mod, std::nullopt);
    Write(dir / "mod.json", FormatPatch(patch));
    Patch conflicting = patch; // the reverse, whose old values the tiny tables do not hold
    for (PatchChange& c : conflicting.changes)
        if (c.oldValue.kind != PatchValue::Null) std::swap(c.oldValue, c.newValue);
    Write(dir / "reversed.json", FormatPatch(conflicting));
    Write(dir / "unmatched.json", FormatPatch(MakePatch(tiny, Demo(), std::nullopt)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) Die("usage: fuzz_make_seeds FOLDER");
    const fs::path root = argv[1];
    std::error_code ec;
    for (const char* target : {"archive", "table_entry", "csv", "json", "patch"}) {
        fs::remove_all(root / target, ec);
        if (!fs::create_directories(root / target, ec)) Die("cannot make " + (root / target).string());
    }
    const TableStore small = Demo(), tiny = Tiny(small);
    ArchiveSeeds(root / "archive", small, tiny);
    TableEntrySeeds(root / "table_entry", tiny);
    TextSeeds(root / "csv", root / "json", tiny);
    PatchSeeds(root / "patch", tiny);
    return 0;
}
