#include "demo/DemoArchive.h"

#include "demo/DemoRecords.h"
#include "records/DescRecord.h"
#include "records/RecordHead.h"

#include <new>
#include <string_view>
#include <unordered_set>

namespace ledgrin {

namespace {

// SetItem draws members from Card and Card takes a TypeID from Part, so Card comes
// before SetItem; Desc describes them all and comes last.
constexpr TableIndex kBuildOrder[] = {
    kPartTable,    kItemTable,      kClubSetTable,   kBallTable,       kMascotTable, kCaddieTable, kSkinTable,
    kAuxPartTable, kCharacterTable, kHairStyleTable, kCaddieItemTable, kCardTable,   kSetItemTable};

const char* const kDescOpeners[] = {
    "Made for long afternoons on the fairway.",
    "Stitched by the clubhouse tailor after the spring storms.",
    "Light enough to forget about by the third hole.",
    "A favourite of the dawn-round regulars.",
    "Weathered by sea wind and still going strong.",
    "Keeps its shape through a full season of rain.",
    "Found in the lost-and-found and never claimed.",
    "Tested on the windiest links on the coast.",
};
const char* const kDescDetails[] = {
    "Wear it with matching shoes for the full effect.",
    "Only a few are made each week.",
    "Friends can trade it at the clubhouse counter.",
    "The greenkeeper swears it brings better bounces.",
    "Ask your caddie how to keep it clean.",
    "Shines a little brighter after a birdie.",
};
constexpr std::uint32_t kOrphanDescTypeId = 0xFC000001u; // a description whose item does not exist

constexpr std::uint32_t kDescStream = 200; // the item tables use 1 to 13 and 101 to 113

std::string DescriptionText(DemoRandom& r, std::string_view name) {
    std::string text = std::string(name) + ": " + r.Pick(kDescOpeners);
    std::uint32_t extraLines = r.Percent(50) ? 0 : (r.Percent(70) ? 1 : 2);
    for (std::uint32_t i = 0; i < extraLines; ++i)
        text += std::string("\n") + r.Pick(kDescDetails);
    return text;
}

// Exactly 512 bytes, so the stored text has no NUL.
std::string FullLengthDescription() {
    std::string text;
    while (text.size() < kDescTextSize)
        text += "Every dimple of this ball was pressed by hand in the old boathouse. ";
    text.resize(kDescTextSize);
    return text;
}

bool WantsDescription(DemoRandom& r, DemoSize size, TableIndex t, std::size_t index) {
    if (t == kBallTable && index == 0) return true;
    if (index == 2) return false;
    // Max needs nearly every item described to fill Desc to 65,535 records.
    return r.Below(size == DemoSize::Max ? 40 : 7) != 0;
}

bool Append(TableSlot& desc, std::uint32_t typeId, std::string_view text) {
    return AppendDescription(desc.Records, desc.RecordCount, typeId, text) == AppendResult::Appended;
}

bool BuildDescTable(const DemoOptions& options, TableStore& store) {
    TableSlot& desc = store[kDescTable];
    desc = {0, kDemoTables[kDescTable].headerWord2, kSupportedVersion, {}};
    DemoRandom r = DemoRandom::Stream(options.seed, kDescStream);
    std::unordered_set<std::uint32_t> described;
    const std::uint16_t lastForItems = kMaxRecordCount - 2; // room for the two extra records
    for (TableIndex t = kFirstItemTable; t <= kLastItemTable; ++t) {
        for (std::size_t i = 0; i < store[t].RecordCount && desc.RecordCount < lastForItems; ++i) {
            const std::uint8_t* record = store.Record(t, i);
            bool wanted = WantsDescription(r, options.size, t, i);
            // One description per TypeID: the Part/Card pair shares one.
            if (!wanted || !described.insert(RecordTypeId(record)).second) continue;
            std::string text =
                t == kBallTable && i == 0 ? FullLengthDescription() : DescriptionText(r, RecordName(record));
            if (!Append(desc, RecordTypeId(record), text)) return false;
        }
    }
    // A second description for one TypeID: only the first is ever shown or rewritten.
    return Append(desc, RecordTypeId(store.Record(kItemTable, 0)),
                  "A second description that is never shown.") &&
           Append(desc, kOrphanDescTypeId, "Left behind by an item that was removed long ago.");
}

bool BuildItemTable(const DemoOptions& options, TableStore& store, TableIndex t) {
    TableSlot& slot = store[t];
    slot.RecordCount = DemoRecordCount(options.size, t);
    slot.HeaderWord2 = kDemoTables[t].headerWord2;
    slot.Version = kSupportedVersion;
    slot.Records.Release();
    slot.Records.resize(static_cast<std::size_t>(slot.RecordCount) * RecordSize(t));
    DemoContext c{DemoRandom::Stream(options.seed, static_cast<std::uint32_t>(t)),
                  DemoRandom::Stream(options.seed, 100 + static_cast<std::uint32_t>(t)), store};
    for (std::size_t i = 0; i < slot.RecordCount; ++i)
        FillDemoRecord(c, t, i, slot.Record(i, RecordSize(t)));
    return c.ok;
}

DemoResult BuildAll(const DemoOptions& options, TableStore& store) {
    store = TableStore{};
    for (TableIndex t : kBuildOrder)
        if (!BuildItemTable(options, store, t)) return DemoResult::LayoutMismatch;
    return BuildDescTable(options, store) ? DemoResult::Done : DemoResult::OutOfMemory;
}

std::vector<std::uint8_t> TextBytes(std::string_view text) {
    return {text.begin(), text.end()};
}

const char kCourseNotes[] = "Course notes\n"
                            "\n"
                            "The fourteen .iff tables beside this folder hold made-up golf gear:\n"
                            "parts, clubs, comets, mascots, caddies, cards and more.\n"
                            "Every name and number in them was generated for Ledgrin.\n";
const char kClubhouse1999[] = "Clubhouse ledger, summer 1999\n"
                              "\n"
                              "Monthly medal: 41 entrants; fog held the first tee for an hour.\n"
                              "The longest drive found the pond on the 7th. The heron kept the ball.\n";

void AddNonTableHead(std::vector<ZipEntry>& entries) {
    ZipEntry folder;
    folder.name = "readme/";
    folder.isDirectory = true;
    entries.push_back(folder);

    ZipEntry notes;
    notes.name = "readme/course_notes.txt";
    notes.bytes = TextBytes(kCourseNotes);
    notes.method = ZipMethod::Stored;
    notes.comment = "Greenkeeper's notes, kept by every save";
    notes.extraFields.push_back({0x4C47, {'L', 'g', 1, 0}, ZipWhere::Both});
    entries.push_back(notes);
}

void AddNonTableTail(std::vector<ZipEntry>& entries) {
    ZipEntry ledger;
    ledger.name = "history/clubhouse_1999.txt";
    ledger.bytes = TextBytes(kClubhouse1999);
    ledger.mtime = {1999, 6, 20, 7, 30, 0};
    entries.push_back(ledger);
}

} // namespace

std::uint16_t DemoRecordCount(DemoSize size, TableIndex t) {
    if (!IsItemTable(t)) return 0;
    const DemoTablePlan& c = kDemoTables[t];
    return size == DemoSize::Small ? c.small : size == DemoSize::Realistic ? c.realistic : c.max;
}

DemoResult BuildDemoTables(const DemoOptions& options, TableStore& store) {
    try {
        return BuildAll(options, store);
    } catch (const std::bad_alloc&) {
        return DemoResult::OutOfMemory;
    }
}

DemoResult DemoArchiveEntries(const TableStore& store, std::vector<ZipEntry>& entries) {
    try {
        entries.clear();
        AddNonTableHead(entries);
        for (TableIndex t = 0; t < kTableCount; ++t) {
            const TableSlot& slot = store[t];
            ZipEntry table;
            table.name = EntryName(t);
            table.bytes = TableEntryBytes(slot.RecordCount, slot.HeaderWord2, slot.Version, slot.Records);
            table.level = 6; // level 9 takes twice as long on the Max tables and saves under 1%
            entries.push_back(std::move(table));
        }
        AddNonTableTail(entries);
        return DemoResult::Done;
    } catch (const std::bad_alloc&) {
        return DemoResult::OutOfMemory;
    }
}

DemoResult WriteDemoArchive(const std::string& path, const DemoOptions& options) {
    TableStore store;
    DemoResult result = BuildDemoTables(options, store);
    if (result != DemoResult::Done) return result;
    std::vector<ZipEntry> entries;
    result = DemoArchiveEntries(store, entries);
    if (result != DemoResult::Done) return result;
    return WriteZipFile(path, entries) == ZipWriteResult::Written ? DemoResult::Done
                                                                  : DemoResult::CannotWrite;
}

} // namespace ledgrin
