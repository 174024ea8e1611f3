// The demo archive, read back with libzip and picked apart by hand: offsets and record
// sizes below are written out from the file format, not taken from the code's tables.
#include "tools/DemoArchive.h"

#include "archive/TableLoad.h"
#include "records/DescRecord.h"
#include "tests/tools/ZipReadBack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

using namespace ledgrin;
using ledgrin_test::ZipReadBack;
namespace fs = std::filesystem;

namespace {

struct TableFile {
    const char* name;
    std::size_t recordSize;
};
const TableFile kTableFiles[14] = {
    {"Desc.iff", 516},    {"Part.iff", 544},      {"Item.iff", 224},      {"ClubSet.iff", 236},
    {"Ball.iff", 792},    {"Mascot.iff", 284},    {"Caddie.iff", 224},    {"Skin.iff", 220},
    {"AuxPart.iff", 204}, {"Character.iff", 396}, {"HairStyle.iff", 172}, {"CaddieItem.iff", 260},
    {"SetItem.iff", 244}, {"Card.iff", 360},
};

std::uint32_t U32(const std::uint8_t* p, std::size_t off) {
    return p[off] | p[off + 1] << 8 | p[off + 2] << 16 | static_cast<std::uint32_t>(p[off + 3]) << 24;
}
std::uint32_t U16(const std::uint8_t* p, std::size_t off) {
    return p[off] | p[off + 1] << 8;
}
std::uint32_t Char(std::uint32_t id) { // bits 18..25
    return id >> 18 & 0xFF;
}

struct Table {
    std::uint32_t count = 0, headerWord2 = 0, version = 0;
    std::size_t entrySize = 0, recordSize = 0;
    std::vector<std::uint8_t> bytes;
    const std::uint8_t* Rec(std::size_t i) const { return bytes.data() + 8 + i * recordSize; }
};

struct Archive {
    std::vector<std::string> names;
    std::map<std::string, Table> tables;
    const Table& operator[](const char* name) const { return tables.at(name); }
};

Archive ReadArchive(const std::string& path) {
    ZipReadBack r(path);
    Archive a;
    for (std::int64_t i = 0; i < r.Count(); ++i)
        a.names.push_back(r.Name(i));
    for (const TableFile& f : kTableFiles) {
        std::int64_t i = r.Find(f.name);
        if (i < 0) continue;
        Table t;
        t.bytes = r.Data(i);
        if (t.bytes.size() < 8) continue;
        t.count = U16(t.bytes.data(), 0);
        t.headerWord2 = U16(t.bytes.data(), 2);
        t.version = U32(t.bytes.data(), 4);
        t.entrySize = t.bytes.size();
        t.recordSize = f.recordSize;
        a.tables[f.name] = std::move(t);
    }
    return a;
}

fs::path TempFolder() {
    fs::path dir = fs::temp_directory_path() / "ledgrin-demo-test";
    fs::create_directories(dir);
    return dir;
}

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// All item TypeIDs by table name.
std::map<std::string, std::vector<std::uint32_t>> ItemIds(const Archive& a) {
    std::map<std::string, std::vector<std::uint32_t>> ids;
    for (int t = 1; t < 14; ++t) {
        const Table& table = a[kTableFiles[t].name];
        for (std::size_t i = 0; i < table.count; ++i)
            ids[kTableFiles[t].name].push_back(U32(table.Rec(i), 4));
    }
    return ids;
}

class DemoArchiveTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        smallPath = (TempFolder() / "small.iff").string();
        realisticPath = (TempFolder() / "realistic.iff").string();
        ASSERT_EQ(WriteDemoArchive(smallPath, {DemoSize::Small, 1}), DemoResult::Done);
        ASSERT_EQ(WriteDemoArchive(realisticPath, {DemoSize::Realistic, 1}), DemoResult::Done);
        small = ReadArchive(smallPath);
        realistic = ReadArchive(realisticPath);
    }
    static std::string smallPath, realisticPath;
    static Archive small, realistic;
};
std::string DemoArchiveTest::smallPath, DemoArchiveTest::realisticPath;
Archive DemoArchiveTest::small, DemoArchiveTest::realistic;

} // namespace

TEST_F(DemoArchiveTest, TheSameSeedGivesTheSameBytesAndAnotherSeedOtherBytes) {
    fs::path again = TempFolder() / "small-again.iff", other = TempFolder() / "small-seed2.iff";
    ASSERT_EQ(WriteDemoArchive(again.string(), {DemoSize::Small, 1}), DemoResult::Done);
    ASSERT_EQ(WriteDemoArchive(other.string(), {DemoSize::Small, 2}), DemoResult::Done);
    std::vector<std::uint8_t> first = FileBytes(smallPath);
    ASSERT_GT(first.size(), 1000u);
    EXPECT_EQ(first, FileBytes(again));
    EXPECT_NE(first, FileBytes(other));
    // Only the content changes with the seed, not the shape.
    Archive b = ReadArchive(other.string());
    EXPECT_EQ(b.names, small.names);
    EXPECT_EQ(b["Part.iff"].count, small["Part.iff"].count);
}

TEST_F(DemoArchiveTest, EntriesComeInTheirFixedOrder) {
    std::vector<std::string> expected = {"readme/", "readme/course_notes.txt"};
    for (const TableFile& f : kTableFiles)
        expected.push_back(f.name);
    expected.push_back("history/clubhouse_1999.txt");
    EXPECT_EQ(small.names, expected);
    EXPECT_EQ(realistic.names, expected);
}

TEST_F(DemoArchiveTest, TableEntriesAreDeflatedVersion13AndSizedByTheirCount) {
    ZipReadBack r(smallPath);
    std::set<std::uint32_t> words;
    for (const TableFile& f : kTableFiles) {
        SCOPED_TRACE(f.name);
        const Table& t = small[f.name];
        EXPECT_EQ(r.Stat(r.Find(f.name)).comp_method, ZIP_CM_DEFLATE);
        EXPECT_EQ(t.version, 13u);
        EXPECT_GT(t.count, 0u);
        EXPECT_EQ(t.entrySize, 8 + t.count * f.recordSize);
        EXPECT_NE(t.headerWord2, 0u);
        words.insert(t.headerWord2);
    }
    EXPECT_EQ(words.size(), 14u); // each table's word differs, so a mix-up on save shows
}

TEST_F(DemoArchiveTest, CountsFollowTheSize) {
    for (int t = 1; t < 14; ++t) {
        SCOPED_TRACE(kTableFiles[t].name);
        EXPECT_EQ(small[kTableFiles[t].name].count, DemoRecordCount(DemoSize::Small, t));
        EXPECT_EQ(realistic[kTableFiles[t].name].count, DemoRecordCount(DemoSize::Realistic, t));
        EXPECT_LE(small[kTableFiles[t].name].count, 40u);
        EXPECT_GE(realistic[kTableFiles[t].name].count, small[kTableFiles[t].name].count);
    }
    EXPECT_GE(realistic["Part.iff"].count, 2000u);
    EXPECT_GE(realistic["Desc.iff"].count, 3000u);
    EXPECT_GE(realistic["Card.iff"].count, 100u);
}

TEST(DemoArchiveMax, PartAndDescHold65535RecordsAndDescTakesNoMore) {
    fs::path path = TempFolder() / "max.iff";
    ASSERT_EQ(WriteDemoArchive(path.string(), {DemoSize::Max, 1}), DemoResult::Done);
    std::vector<std::uint8_t> part, desc;
    {
        ZipReadBack r(path.string()); // closed before the file is removed: Windows keeps open files
        part = r.Data(r.Find("Part.iff"));
        desc = r.Data(r.Find("Desc.iff"));
    }
    std::error_code ignored;
    fs::remove(path, ignored); // 34 MB: not left behind
    ASSERT_GE(part.size(), 8u);
    ASSERT_GE(desc.size(), 8u);
    EXPECT_EQ(U16(part.data(), 0), 65535u);
    EXPECT_EQ(part.size(), 8 + 65535u * 544);
    EXPECT_EQ(U16(desc.data(), 0), 65535u);
    EXPECT_EQ(desc.size(), 8 + 65535u * 516);
    std::vector<std::uint8_t> records(desc.begin() + 8, desc.end());
    std::uint16_t count = 65535;
    EXPECT_EQ(AppendDescription(records, count, 0x12345678, "one more"), AppendResult::TableFull);
    EXPECT_EQ(count, 65535u);
}

TEST_F(DemoArchiveTest, TypeIdsAreUniqueExceptOnePartSharedWithACard) {
    for (const Archive* a : {&small, &realistic}) {
        std::map<std::uint32_t, std::vector<std::string>> owners;
        for (const auto& [table, ids] : ItemIds(*a))
            for (std::uint32_t id : ids)
                owners[id].push_back(table);
        int shared = 0;
        for (const auto& [id, tables] : owners) {
            if (tables.size() == 1) continue;
            ++shared;
            EXPECT_EQ(tables, (std::vector<std::string>{"Card.iff", "Part.iff"})) << std::hex << id;
        }
        EXPECT_EQ(shared, 1);
    }
}

TEST_F(DemoArchiveTest, PartCharactersAndSlotsAreInRange) {
    for (const Archive* a : {&small, &realistic}) {
        const Table& part = (*a)["Part.iff"];
        std::set<std::uint32_t> chars, slots;
        int code20 = 0;
        for (std::size_t i = 0; i < part.count; ++i) {
            std::uint32_t c = Char(U32(part.Rec(i), 4));
            std::uint32_t slot = U32(part.Rec(i), 0xD0);
            code20 += c == 20;
            if (c != 20) chars.insert(c);
            slots.insert(slot);
        }
        EXPECT_EQ(code20, 1); // the one character code without a name
        EXPECT_EQ(chars, (std::set<std::uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 255}));
        EXPECT_EQ(slots, (std::set<std::uint32_t>{0, 1, 2, 3, 4, 5, 7, 8, 9}));
    }
}

TEST_F(DemoArchiveTest, ItemSkinAndHairStyleCodesAreInRange) {
    for (const Archive* a : {&small, &realistic}) {
        std::set<std::uint32_t> items, skins, hair;
        auto ids = ItemIds(*a);
        for (std::uint32_t id : ids["Item.iff"])
            items.insert(Char(id));
        for (std::uint32_t id : ids["Skin.iff"])
            skins.insert(Char(id));
        const Table& h = (*a)["HairStyle.iff"];
        for (std::size_t i = 0; i < h.count; ++i)
            hair.insert(h.Rec(i)[0xA9]);
        EXPECT_EQ(items, (std::set<std::uint32_t>{0, 128}));                // active, passive (bit 25)
        EXPECT_EQ(skins, (std::set<std::uint32_t>{0, 16, 32, 48, 80, 96})); // 16 x kinds 0,1,2,3,5,6
        EXPECT_EQ(hair, (std::set<std::uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 255}));
    }
}

TEST_F(DemoArchiveTest, SetGroupsAndSetCharactersAreInRange) {
    for (const Archive* a : {&small, &realistic}) {
        std::set<std::uint32_t> groups;
        auto ids = ItemIds(*a);
        for (std::uint32_t id : ids["SetItem.iff"]) {
            std::uint32_t group = id >> 20 & 0x3F, pos = id >> 13 & 0x1F;
            groups.insert(group);
            EXPECT_EQ(id >> 18 & 3, 0u) << std::hex << id; // bits 18, 19 clear: SetGroup is exact
            if (group == 2 || group == 4) {
                EXPECT_TRUE(pos <= 14 && pos != 13) << std::hex << id;
            } else {
                EXPECT_EQ(pos, 0u) << std::hex << id;
            }
        }
        EXPECT_EQ(groups, (std::set<std::uint32_t>{2, 4, 5, 9, 11, 13, 17}));
    }
}

TEST_F(DemoArchiveTest, CardKindsAndVolumesAreInRangeBesideOneVolume7) {
    for (const Archive* a : {&small, &realistic}) {
        const Table& card = (*a)["Card.iff"];
        std::set<std::uint32_t> kinds, volumes;
        int volume7 = 0;
        for (std::size_t i = 0; i < card.count; ++i) {
            std::uint32_t id = U32(card.Rec(i), 4), volume = U16(card.Rec(i), 0x15A);
            kinds.insert(id >> 22 & 0xF);
            if (id >> 26 == 33) { // not the one shared with a Part: bits 18..21 clear
                EXPECT_EQ(id >> 18 & 0xF, 0u) << std::hex << id;
            }
            volume7 += volume == 7;
            if (volume != 7) volumes.insert(volume);
        }
        EXPECT_EQ(kinds, (std::set<std::uint32_t>{0, 1, 2, 3, 4, 5}));
        EXPECT_EQ(volumes, (std::set<std::uint32_t>{0, 1, 2, 3, 4}));
        EXPECT_EQ(volume7, 1);
    }
}

TEST_F(DemoArchiveTest, SetMembersResolveToOtherTablesExceptOne) {
    for (const Archive* a : {&small, &realistic}) {
        std::map<std::uint32_t, std::string> owner;
        for (const auto& [table, ids] : ItemIds(*a))
            for (std::uint32_t id : ids)
                owner.emplace(id, table);
        const Table& sets = (*a)["SetItem.iff"];
        int dangling = 0, zeroQuantity = 0, empty = 0, full = 0;
        for (std::size_t i = 0; i < sets.count; ++i) {
            std::uint32_t n = U32(sets.Rec(i), 0xA8);
            ASSERT_LE(n, 10u);
            empty += n == 0;
            full += n == 10;
            for (std::uint32_t m = 0; m < n; ++m) {
                auto found = owner.find(U32(sets.Rec(i), 0xAC + 4 * m));
                if (found == owner.end())
                    ++dangling;
                else
                    EXPECT_NE(found->second, "SetItem.iff");
                zeroQuantity += U16(sets.Rec(i), 0xD4 + 2 * m) == 0;
            }
        }
        EXPECT_EQ(dangling, 1);
        EXPECT_EQ(zeroQuantity, 1);
        EXPECT_GE(empty, 1);
        EXPECT_GE(full, 1);
    }
}

TEST_F(DemoArchiveTest, DescriptionsCoverMostItemsWithOneDuplicateAndOneOrphan) {
    for (const Archive* a : {&small, &realistic}) {
        std::set<std::uint32_t> items;
        std::size_t itemCount = 0;
        for (const auto& [table, ids] : ItemIds(*a)) {
            items.insert(ids.begin(), ids.end());
            itemCount += ids.size();
        }
        const Table& desc = (*a)["Desc.iff"];
        std::map<std::uint32_t, int> seen;
        int orphans = 0, multiLine = 0, fullLength = 0;
        for (std::size_t i = 0; i < desc.count; ++i) {
            const std::uint8_t* rec = desc.Rec(i);
            std::uint32_t id = U32(rec, 0);
            ++seen[id];
            orphans += items.count(id) == 0;
            const char* text = reinterpret_cast<const char*>(rec + 4);
            std::size_t len = 0;
            while (len < 512 && text[len] != '\0')
                ++len;
            fullLength += len == 512;
            multiLine += std::memchr(text, '\n', len) != nullptr;
            EXPECT_EQ(std::memchr(text, '\r', len), nullptr);
            for (std::size_t b = len; b < 512; ++b)
                ASSERT_EQ(rec[4 + b], 0) << "record " << i << " byte " << b;
        }
        int twice = 0;
        for (const auto& [id, n] : seen)
            twice += n == 2;
        EXPECT_EQ(twice, 1);
        EXPECT_EQ(orphans, 1);
        EXPECT_EQ(fullLength, 1);
        EXPECT_GT(multiLine, 0);
        std::size_t described = seen.size() - 1;  // without the orphan
        EXPECT_LT(described, itemCount - 1);      // some items have none
        EXPECT_GT(described * 10, itemCount * 7); // most have one
    }
}

TEST_F(DemoArchiveTest, NamesIncludeLatin1AndOneWithoutNul) {
    int latin1 = 0, noNul = 0, disabled = 0;
    for (int t = 1; t < 14; ++t) {
        const Table& table = realistic[kTableFiles[t].name];
        for (std::size_t i = 0; i < table.count; ++i) {
            const std::uint8_t* name = table.Rec(i) + 8;
            const void* nul = std::memchr(name, 0, 40);
            noNul += nul == nullptr;
            std::size_t len = nul ? static_cast<const std::uint8_t*>(nul) - name : 40;
            EXPECT_GT(len, 2u);
            bool high = false;
            for (std::size_t b = 0; b < len; ++b)
                high |= name[b] >= 0x80;
            latin1 += high;
            disabled += U32(table.Rec(i), 0) == 0;
            EXPECT_LE(U32(table.Rec(i), 0), 1u);
        }
    }
    EXPECT_EQ(noNul, 1);
    EXPECT_GT(latin1, 10);
    EXPECT_GT(disabled, 10);
    EXPECT_LT(disabled, 400); // a few, not many
    EXPECT_EQ(U32(small["Part.iff"].Rec(7), 0), 0u);
}

TEST_F(DemoArchiveTest, UnnamedBytesHoldNonZeroFiller) {
    const Table& part = small["Part.iff"];
    const Table& ball = small["Ball.iff"];
    for (std::size_t i = 0; i < part.count; ++i) {
        for (std::size_t b = 0x31; b < 0x5C; ++b) // head bytes no field names
            ASSERT_NE(part.Rec(i)[b], 0) << "Part " << i << " byte " << b;
        for (std::size_t b = 0x64; b < 0x68; ++b)
            ASSERT_NE(part.Rec(i)[b], 0) << "Part " << i << " byte " << b;
    }
    for (std::size_t i = 0; i < ball.count; ++i)
        for (std::size_t b = 0x6A; b < 792; ++b) // a Ball names nothing behind its head
            ASSERT_NE(ball.Rec(i)[b], 0) << "Ball " << i << " byte " << b;
    // Filler differs between records, so a record copied onto another shows.
    EXPECT_NE(std::memcmp(ball.Rec(0) + 0x6A, ball.Rec(1) + 0x6A, 792 - 0x6A), 0);
}

TEST_F(DemoArchiveTest, DerivedFieldsAgreeWithTheirSources) {
    const Archive& a = realistic;
    for (const char* name : {"Mascot.iff", "CaddieItem.iff"}) { // PriceCopy at 0xF8: low 16 bits of Price
        const Table& t = a[name];
        for (std::size_t i = 0; i < t.count; ++i)
            EXPECT_EQ(U16(t.Rec(i), 0xF8), U32(t.Rec(i), 0x5C) & 0xFFFF) << name << " " << i;
    }
    const Table& mascot = a["Mascot.iff"];
    for (std::size_t i = 0; i < mascot.count; ++i) {
        std::uint32_t rates = U32(mascot.Rec(i), 0x10C);
        EXPECT_EQ(rates & 0xFF00FF00u, 0u);
        for (std::uint32_t percent : {rates & 0xFF, rates >> 16 & 0xFF})
            EXPECT_TRUE(percent == 0 || percent > 100) << percent; // 0 means 100
    }
    const Table& character = a["Character.iff"];
    for (std::size_t i = 0; i < character.count; ++i)
        for (std::size_t s = 0; s < 5; ++s) // StatCopy at 0x15C: low bytes of the u16 stats at 0x148
            EXPECT_EQ(character.Rec(i)[0x15C + s], U16(character.Rec(i), 0x148 + 2 * s) & 0xFF);
    int monthly = 0;
    const Table& caddie = a["Caddie.iff"];
    for (std::size_t i = 0; i < caddie.count; ++i)
        monthly += U32(caddie.Rec(i), 0xA8) != 0;
    EXPECT_GT(monthly, 0);
    EXPECT_LT(monthly, static_cast<int>(caddie.count));
}

TEST_F(DemoArchiveTest, OtherEntriesCarryFolderCommentExtraFieldAndOldTimestamp) {
    ZipReadBack r(smallPath);
    std::int64_t folder = r.Find("readme/"), notes = r.Find("readme/course_notes.txt"),
                 ledger = r.Find("history/clubhouse_1999.txt");
    ASSERT_GE(folder, 0);
    ASSERT_GE(notes, 0);
    ASSERT_GE(ledger, 0);
    EXPECT_EQ(r.Stat(folder).size, 0u);
    EXPECT_EQ(r.Stat(notes).comp_method, ZIP_CM_STORE);
    EXPECT_EQ(r.Comment(notes), "Greenkeeper's notes, kept by every save");
    EXPECT_EQ(r.Extra(notes, 0x4C47, ZIP_FL_LOCAL), std::string("Lg\x01\x00", 4));
    EXPECT_EQ(r.Extra(notes, 0x4C47, ZIP_FL_CENTRAL), std::string("Lg\x01\x00", 4));
    EXPECT_GT(r.Data(notes).size(), 20u);
    std::time_t mtime = r.Stat(ledger).mtime;
    std::tm* local = std::localtime(&mtime); // DOS times are local times
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->tm_year + 1900, 1999);
    EXPECT_EQ(local->tm_mon + 1, 6);
    EXPECT_EQ(local->tm_mday, 20);
    EXPECT_GT(r.Data(ledger).size(), 20u);
}

TEST_F(DemoArchiveTest, EveryTableLoadsThroughTheEditorsLoader) {
    TableStore store;
    for (TableIndex t = 0; t < 14; ++t) {
        SCOPED_TRACE(kTableFiles[t].name);
        ASSERT_EQ(LoadTable(store, t, smallPath), kLoaded);
        const Table& file = small[kTableFiles[t].name];
        EXPECT_EQ(store[t].RecordCount, file.count);
        EXPECT_EQ(store[t].HeaderWord2, file.headerWord2);
        EXPECT_TRUE(std::equal(store[t].Records.begin(), store[t].Records.end(), file.bytes.begin() + 8,
                               file.bytes.end()));
    }
}

TEST(DemoArchiveBuild, TablesInMemoryMatchTheWrittenEntries) {
    TableStore store;
    ASSERT_EQ(BuildDemoTables({DemoSize::Small, 5}, store), DemoResult::Done);
    std::vector<ZipEntry> entries;
    ASSERT_EQ(DemoArchiveEntries(store, entries), DemoResult::Done);
    ASSERT_EQ(entries.size(), 17u);
    for (TableIndex t = 0; t < 14; ++t) {
        const ZipEntry& e = entries[2 + t];
        EXPECT_EQ(e.name, kTableFiles[t].name);
        ASSERT_EQ(e.bytes.size(), 8 + store[t].Records.size());
        EXPECT_EQ(U16(e.bytes.data(), 0), store[t].RecordCount);
        EXPECT_TRUE(std::equal(store[t].Records.begin(), store[t].Records.end(), e.bytes.begin() + 8));
    }
}

TEST(DemoArchiveBuild, AnUnwritablePathIsReported) {
    fs::path path = TempFolder() / "no-such-folder" / "demo.iff";
    fs::remove_all(path.parent_path());
    EXPECT_EQ(WriteDemoArchive(path.string(), {DemoSize::Small, 1}), DemoResult::CannotWrite);
    EXPECT_FALSE(fs::exists(path));
}
