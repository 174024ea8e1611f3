// "Update" end to end: a record is found in its table, edited in the panel as a user
// would, and the archive is read back from disk. The expected record is the loaded one
// with only the intended bytes changed, at offsets and values written out here.
#include "tests/window/WindowFixture.h"

#include "tests/support/TestArchives.h"
#include "ui/AppState.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace ledgrin {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Entries = std::vector<std::pair<std::string, Bytes>>;
using Lines = std::vector<std::string>;

// A little-endian value of `width` bytes at off.
struct Field {
    std::size_t off;
    int width;
    std::uint32_t value;
};
void Put(Bytes& r, const Field& f) {
    for (int i = 0; i < f.width; ++i)
        r.at(f.off + i) = static_cast<std::uint8_t>(f.value >> (8 * i));
}
// Text at off, the rest of the field zero.
void PutText(Bytes& r, std::size_t off, std::size_t size, const std::string& text) {
    for (std::size_t i = 0; i < size; ++i)
        r.at(off + i) = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
}

// The entries of the archive on disk in their order, read through libzip rather than the
// code under test.
Entries ReadEntries() {
    test::ZipReader zip(gApp.archivePath);
    Entries entries;
    for (zip_int64_t i = 0; zip.za && i < zip_get_num_entries(zip.za, 0); ++i)
        entries.emplace_back(zip.Stat(i).name, zip.Data(i));
    return entries;
}
const Bytes& EntryOf(const Entries& entries, TableIndex t) {
    static const Bytes none;
    for (const auto& [name, bytes] : entries)
        if (name == EntryName(t)) return bytes;
    return none;
}
Bytes RecordOf(const Entries& entries, TableIndex t, std::uint32_t index) {
    auto at = EntryOf(entries, t).begin() + 8 + index * RecordSize(t);
    return Bytes(at, at + RecordSize(t));
}

bool HasDescription(std::uint32_t typeId) {
    for (std::uint32_t i = 0; i < gApp.store[0].RecordCount; ++i)
        if (Dword(gApp.store.Record(0, i), 0) == typeId) return true;
    return false;
}

using Wanted = std::function<bool(const std::uint8_t*)>;
const Wanted kAny = [](const std::uint8_t*) { return true; };
const Wanted kUndescribed = [](const std::uint8_t* r) { return !HasDescription(Dword(r, 4)); };

class Dpi96Update : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ShowFirstTable();
    }

    // The first listed record of table t that passes `wanted`; shown as a user reaches it:
    // its table button, then a click on its row.
    std::uint32_t ShowRecord(TableIndex t, const Wanted& wanted) {
        ClickButton(window_, kButtonOfTable[t]);
        std::vector<std::uint32_t> rows = ListedRecords(Item(10001));
        for (row_ = 0; row_ < static_cast<int>(rows.size()); ++row_) {
            if (!wanted(gApp.store.Record(t, rows[row_]))) continue;
            ClickRow(Item(10001), row_);
            return rows[row_];
        }
        ADD_FAILURE() << "no record of table " << t << " fits the test";
        return 0;
    }

    // After an Update of record `index` of table t: the other entries as they were
    // (`before`) in their order, then t's entry with only that record changed, to
    // `record`, then "Desc.iff" as `desc`. (That a save keeps each other entry's stored
    // form byte for byte is tested natively.)
    void ExpectSaved(const Entries& before, TableIndex t, std::uint32_t index, const Bytes& record,
                     const Bytes& desc) {
        Entries expected;
        for (const auto& entry : before)
            if (entry.first != EntryName(t) && entry.first != "Desc.iff") expected.push_back(entry);
        expected.emplace_back(EntryName(t), EntryOf(before, t));
        std::copy(record.begin(), record.end(), expected.back().second.begin() + 8 + index * RecordSize(t));
        expected.emplace_back("Desc.iff", desc);
        Entries after = ReadEntries();
        ASSERT_EQ(expected.size(), after.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(expected[i].first, after[i].first);
            EXPECT_TRUE(expected[i].second == after[i].second) << after[i].first << " not as expected";
        }
    }

    void Type(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }
    // Standard output and the boxes shown while "Update" runs.
    std::vector<BoxSeen> PressUpdate(Lines& lines) {
        return ConfirmBoxesDuring([&] { lines = PrintedLines([&] { ClickButton(window_, 10011); }); });
    }

    int row_ = 0; // the row of the record shown last
};

// One Update of a record of a table: which record, what is entered in which control (a
// drop-down list's row, a button's click, an edit box's text), and every byte that changes.
struct TableUpdate {
    TableIndex t;
    Wanted wanted;
    std::vector<std::pair<int, std::string>> entered;
    std::vector<Field> written;
};

// The arithmetic of each rule is tested natively; here, that each table's boxes reach it.
const TableUpdate kTableUpdates[] = {
    // A displayed-only Part whose level is a minimum: head, flags, level and stats. "Points"
    // sets ShopFlags bit 0; " Avail. in Shop" clears " Display only" (bit 7), bits 1 to 4
    // and 6 stay; " Hot" toggles MarkFlags bit 1; " Maximum" clears " Minimum".
    {1,
     [](const std::uint8_t* r) { return (r[0x68] & 0xA0) == 0x80 && !(r[0x30] & 0x80); },
     {{10020, "Renamed Polo"},
      {10003, "4321"},
      {10065, "70000"},
      {10031, "300"},
      {10044, "12"},
      {10004, "1"},
      {10027, "3"},
      {10007, ""},
      {10009, ""},
      {10029, ""}},
     {{0x5C, 4, 4321}, {0x60, 4, 70000}, {0x1CC, 2, 300}, {0x1DE, 2, 12}, {0x30, 1, 0x83}}},
    // Mascot: PriceCopy (0xF8) follows the price; rental prices; Crell 120 stored,
    // Experience 100 stored as 0; a u8 stat.
    {5,
     kAny,
     {{10003, "4321"}, {10058, "70"}, {10059, "30"}, {10052, "120"}, {10054, "100"}, {10031, "3"}},
     {{0x5C, 4, 4321}, {0xF8, 2, 4321}, {0xFA, 2, 70}, {0xFE, 2, 30}, {0x10C, 4, 120}, {0x102, 1, 3}}},
    // Caddie not paid monthly: " pay monthly" stores the new price as MonthlyPrice.
    {6,
     [](const std::uint8_t* r) { return Dword(r, 0xA8) == 0; },
     {{10003, "500"}, {10031, "258"}, {10062, ""}},
     {{0x5C, 4, 500}, {0xA8, 4, 500}, {0xD4, 2, 258}}},
    // Card without a timed effect: slots and effect value written; the time, the
    // read-only Cardpack and Position boxes are not.
    {13,
     [](const std::uint8_t* r) { return Word(r, 0x158) == 0; },
     {{10031, "7"}, {10043, "12"}, {10079, "9"}, {10081, "45"}, {10075, "Volume 9"}, {10077, "4242"}},
     {{0xD2, 2, 7}, {0xDA, 2, 12}, {0xDE, 2, 9}}},
};

TEST_F(Dpi96Update, EachTableWritesExactlyItsEditedFields) {
    for (const TableUpdate& u : kTableUpdates) {
        SCOPED_TRACE("table " + std::to_string(u.t));
        std::uint32_t index = ShowRecord(u.t, u.wanted);
        Entries before = ReadEntries();
        Bytes expected = RecordOf(before, u.t, index);
        if (u.t == 1) { // the name, the shop and mark flags as set out above
            PutText(expected, 0x08, 40, "Renamed Polo");
            Put(expected, {0x68, 1, (expected[0x68] | 0x21u) & ~0x80u});
            Put(expected, {0x69, 1, expected[0x69] ^ 0x02u});
        }
        for (const auto& [id, text] : u.entered) {
            char kind[16] = {};
            GetClassNameA(Item(id), kind, sizeof kind);
            if (kind == std::string("ComboBox")) SendMessageA(Item(id), CB_SETCURSEL, std::stoi(text), 0);
            if (kind == std::string("Button")) ClickButton(window_, id);
            if (kind == std::string("Edit")) Type(id, text);
        }
        for (const Field& f : u.written)
            Put(expected, f);
        Lines lines;
        EXPECT_TRUE(PressUpdate(lines).empty());
        ExpectSaved(before, u.t, index, expected, EntryOf(before, 0)); // the description left as shown
        // The row keeps its place, selected, and shows the name as saved.
        ListRow row = ReadListRows(Item(10001), 2).at(row_);
        EXPECT_EQ(LPARAM(index), row.param);
        EXPECT_TRUE(row.selected);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&expected[8]), 40).c_str(), row.cells[1]);
    }
}

TEST_F(Dpi96Update, ItemWithoutDescriptionGetsOneAppendedOnceAndTwoLinesSurvive) {
    std::uint32_t index = ShowRecord(2, kUndescribed);
    std::uint32_t typeId = Dword(gApp.store.Record(2, index), 4);
    EXPECT_EQ("", Text(10002));
    Entries before = ReadEntries();
    Bytes desc = EntryOf(before, 0), appended(516);
    const std::uint32_t count = Word(desc.data(), 0);
    Type(10002, "First line\r\nSecond line");
    Put(appended, {0, 4, typeId});
    PutText(appended, 4, 512, "First line\nSecond line"); // no carriage return, zeros behind
    desc.insert(desc.end(), appended.begin(), appended.end());
    Put(desc, {0, 2, count + 1}); // the other header words as they were
    Lines lines;
    PressUpdate(lines);
    EXPECT_EQ(1u, LinesStartingWith(lines, "Description not found, adding").size());
    ExpectSaved(before, 2, index, RecordOf(before, 2, index), desc);

    // Shown again as two lines after another row has been shown; a second Update finds the
    // record it appended and rewrites it as it is.
    ClickRow(Item(10001), row_ == 0 ? 1 : 0);
    ClickRow(Item(10001), row_);
    EXPECT_EQ("First line\r\nSecond line", Text(10002));
    PressUpdate(lines);
    EXPECT_EQ(Lines{"Update Description: " + std::to_string(count) + " (" +
                    std::to_string(static_cast<std::int32_t>(typeId)) + ")"},
              LinesStartingWith(lines, "Update Description: "));
    EXPECT_TRUE(LinesStartingWith(lines, "Description not found").empty());
    ExpectSaved(before, 2, index, RecordOf(before, 2, index), desc);
}

TEST_F(Dpi96Update, FullDescTableRefusesTheDescriptionButSavesTheRecord) {
    std::uint32_t index = ShowRecord(2, kUndescribed);
    // Desc filled to 65,535 records in memory, with TypeIDs of group 63, which no item has.
    TableSlot& desc = gApp.store[0];
    desc.Records.resize(65535u * 516u, 0);
    for (std::uint32_t i = desc.RecordCount; i < 65535u; ++i)
        Put(desc.Records, {i * 516, 4, 0xFC100000u + i});
    desc.RecordCount = 65535;
    Entries before = ReadEntries();
    Bytes expected = RecordOf(before, 2, index);
    Bytes descEntry(EntryOf(before, 0).begin(), EntryOf(before, 0).begin() + 8); // header words as they were
    Put(descEntry, {0, 2, 65535});
    descEntry.insert(descEntry.end(), desc.Records.begin(), desc.Records.end());
    Type(10020, "Lucky Tee Deluxe");
    PutText(expected, 0x08, 40, "Lucky Tee Deluxe");
    Type(10002, "Never stored");
    Lines lines;
    std::vector<BoxSeen> boxes = PressUpdate(lines);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Error", boxes[0].title);
    EXPECT_EQ("The description table is full; the description was not saved.", boxes[0].text);
    EXPECT_EQ(window_, boxes[0].owner);
    EXPECT_TRUE(LinesStartingWith(lines, "Failed.").empty());
    ExpectSaved(before, 2, index, expected, descEntry);
}

TEST_F(Dpi96Update, GuardRefusesAfterASwitchToAnEmptyTable) {
    gApp.store[10].RecordCount = 0; // HairStyle without records
    gApp.store[10].Records.clear();
    std::string partShown = Text(10024);
    ClickButton(window_, 10068); // "HairStyle": no records, the panel keeps the Part record
    EXPECT_EQ(0, SendDlgItemMessageA(window_, 10001, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(partShown, Text(10024));
    std::string archive = test::ReadFileText(gApp.archivePath);
    Type(10020, "Not written");
    Lines lines;
    PressUpdate(lines);
    EXPECT_EQ(Lines{"No Item selected, no Update."}, lines);
    EXPECT_TRUE(archive == test::ReadFileText(gApp.archivePath));
}

TEST_F(Dpi96Update, FailedSavesShowTwoBoxesAndKeepTheChange) {
    // A folder where the temporary archive would go: it cannot be created, whoever runs this.
    ASSERT_TRUE(CreateDirectoryA((*folder_ / "tarvik_gb1.iff").c_str(), nullptr));
    std::uint32_t index = ListedRecords(Item(10001))[0];
    std::string archive = test::ReadFileText(gApp.archivePath);
    Type(10020, "Kept In Memory");
    Lines lines;
    std::vector<BoxSeen> boxes = PressUpdate(lines);
    EXPECT_EQ(2u, LinesStartingWith(lines, "Failed.").size());
    EXPECT_EQ(2u, LinesStartingWith(lines, "cant create tarvik_gb1.iff.").size());
    ASSERT_EQ(2u, boxes.size());
    for (const BoxSeen& box : boxes) {
        EXPECT_EQ("Error", box.title);
        EXPECT_EQ("Could not write tarvik_gb.iff. Please check file permissions.", box.text);
        EXPECT_EQ(window_, box.owner);
        EXPECT_TRUE(box.onlyOk);
    }
    EXPECT_TRUE(archive == test::ReadFileText(gApp.archivePath));
    EXPECT_EQ("Kept In Memory",
              std::string(reinterpret_cast<const char*>(gApp.store.Record(1, index) + 0x08)));
}

} // namespace
} // namespace ledgrin
