// "Update" end to end: a record is found in its table, edited in the panel as a user
// would, and the archive is read back from disk. The expected record is the loaded one
// with only the intended bytes changed, at offsets and values written out here.
#include "tests/window/WindowFixture.h"

#include "records/TableInfo.h"
#include "ui/AppState.h"

#include <commctrl.h>
#include <zip.h>

#include <functional>
#include <string>
#include <vector>

namespace ledgrin {
namespace {

using Bytes = std::vector<std::uint8_t>;


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

Bytes RecordBytes(const Bytes& entry, TableIndex t, std::uint32_t index) {
    auto at = entry.begin() + static_cast<std::ptrdiff_t>(8 + index * RecordSize(t));
    return Bytes(at, at + static_cast<std::ptrdiff_t>(RecordSize(t)));
}

std::uint32_t EntryCount(const Bytes& entry) {
    return entry.size() < 2 ? 0 : entry[0] | (entry[1] << 8u);
}

bool HasDescription(std::uint32_t typeId) {
    for (std::uint32_t i = 0; i < gApp.store[0].RecordCount; ++i)
        if (Dword(gApp.store.Record(0, i), 0) == typeId) return true;
    return false;
}

// The entries of the archive on disk in their order, name and contents, read through
// libzip rather than the code under test; empty when the archive cannot be read.
std::vector<std::pair<std::string, Bytes>> ReadEntries(const std::string& path) {
    std::vector<std::pair<std::string, Bytes>> entries;
    zip_t* za = zip_open(path.c_str(), ZIP_RDONLY, nullptr);
    if (!za) return entries;
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(zip_get_num_entries(za, 0)); ++i) {
        zip_stat_t st;
        zip_file_t* f = nullptr;
        if (zip_stat_index(za, i, ZIP_FL_ENC_RAW, &st) != 0 || !(f = zip_fopen_index(za, i, 0))) break;
        Bytes bytes(st.size);
        bool read = zip_fread(f, bytes.data(), bytes.size()) == static_cast<zip_int64_t>(bytes.size());
        zip_fclose(f);
        if (!read) break;
        entries.emplace_back(st.name, bytes);
    }
    zip_discard(za);
    return entries;
}

using Wanted = std::function<bool(const std::uint8_t*)>;
const Wanted kAny = [](const std::uint8_t*) { return true; };

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
        HWND list = GetDlgItem(window_, 10001);
        std::vector<std::uint32_t> rows = ListedRecords(list);
        for (std::size_t row = 0; row < rows.size(); ++row) {
            if (wanted(gApp.store.Record(t, rows[row]))) {
                ClickRow(list, static_cast<int>(row));
                return rows[row];
            }
        }
        ADD_FAILURE() << "no record of table " << t << " fits the test";
        return 0;
    }

    // The archive on disk now: its entries in their order.
    struct Disk {
        std::vector<std::pair<std::string, Bytes>> entries;
        const Bytes& Table(TableIndex t) const {
            static const Bytes none;
            for (const auto& [name, bytes] : entries)
                if (name == EntryName(t)) return bytes;
            return none;
        }
    };
    Disk ReadDisk() const { return {ReadEntries(gApp.archivePath)}; }

    // After an Update of table t: t's entry and then "Desc.iff" are the last two entries,
    // every other entry keeps its contents and order, and t's entry equals `before` but
    // for record `index`, which is `expected`. (That a save keeps each other entry's
    // stored form byte for byte is tested natively.)
    void ExpectSaved(const Disk& before, TableIndex t, std::uint32_t index, const Bytes& expected) {
        std::vector<std::pair<std::string, Bytes>> kept;
        for (const auto& entry : before.entries)
            if (entry.first != EntryName(t) && entry.first != "Desc.iff") kept.push_back(entry);
        Disk after = ReadDisk();
        ASSERT_EQ(kept.size() + 2, after.entries.size());
        for (std::size_t i = 0; i < kept.size(); ++i)
            EXPECT_TRUE(kept[i] == after.entries[i]) << kept[i].first;
        EXPECT_EQ(EntryName(t), after.entries[kept.size()].first);
        EXPECT_EQ("Desc.iff", after.entries.back().first);

        Bytes entry = before.Table(t);
        ASSERT_EQ(expected.size(), RecordSize(t));
        std::copy(expected.begin(), expected.end(),
                  entry.begin() + static_cast<std::ptrdiff_t>(8 + index * RecordSize(t)));
        EXPECT_TRUE(entry == after.Table(t)) << "table " << t << ": more than the intended bytes changed";
        EXPECT_EQ(expected, RecordBytes(after.Table(t), t, index));
    }

    void Type(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }
    void PressUpdate() { ClickButton(window_, 10011); }
    // Standard output and the boxes shown while "Update" runs.
    std::vector<BoxSeen> PressUpdateSeeing(std::vector<std::string>& lines) {
        return ConfirmBoxesDuring([&] { lines = PrintedLines([&] { PressUpdate(); }); });
    }
};

TEST_F(Dpi96Update, PartHeadStatsSlotsAndTheListRow) {
    // A part not in the shop whose level is a minimum.
    std::uint32_t index =
        ShowRecord(1, [](const std::uint8_t* r) { return !(r[0x68] & 0x20) && !(r[0x30] & 0x80); });
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.Table(1), 1, index);
    Type(10020, "Renamed Polo");
    PutText(expected, 0x08, 40, "Renamed Polo");
    Type(10003, "4321");
    Put(expected, {0x5C, 4, 4321});
    Type(10065, "70000");
    Put(expected, {0x60, 4, 70000});
    SendDlgItemMessageA(window_, 10004, CB_SETCURSEL, 1, 0); // "Points": ShopFlags bit 0
    ClickButton(window_, 10007);                             // " Avail. in Shop" on, " Display only" off
    EXPECT_FALSE(IsChecked(window_, 10061));
    Put(expected, {0x68, 1, (expected[0x68] | 0x21u) & ~0x80u}); // bits 1 to 4 and 6 as they were
    ClickButton(window_, 10009);                                 // " Hot" toggled: MarkFlags bit 1
    Put(expected, {0x69, 1, expected[0x69] ^ 0x02u});
    SendDlgItemMessageA(window_, 10027, CB_SETCURSEL, 3, 0);
    ClickButton(window_, 10029); // " Maximum" checked: " Minimum" off
    EXPECT_FALSE(IsChecked(window_, 10028));
    Put(expected, {0x30, 1, 0x83});
    Type(10031, "300"); // Power, u16
    Put(expected, {0x1CC, 2, 300});
    Type(10044, "12"); // CurveSlot, u16
    Put(expected, {0x1DE, 2, 12});

    PressUpdate();
    ExpectSaved(before, 1, index, expected);
    EXPECT_EQ(before.Table(0), ReadDisk().Table(0)); // the description box was left as shown
    // The row keeps its place and shows the new name.
    HWND list = GetDlgItem(window_, 10001);
    int row = RowOfRecord(list, index);
    EXPECT_EQ("Renamed Polo", ReadListRows(list, 2)[row].cells[1]);
    EXPECT_TRUE(ReadListRows(list, 2)[row].selected);
}

// One Update of a record of each table: which record, the boxes typed and clicked, and
// every byte that changes.
struct TableUpdate {
    TableIndex t;
    Wanted wanted;
    std::vector<std::pair<int, std::string>> typed;
    std::vector<int> clicked;
    std::vector<Field> written;
};

// The arithmetic of each rule is tested natively; here, that each table's boxes reach it.
const TableUpdate kTableUpdates[] = {
    // Mascot: PriceCopy (0xF8) follows the price; rental prices; Crell 120 stored,
    // Experience 100 stored as 0; a u8 stat.
    {5,
     kAny,
     {{10003, "4321"}, {10058, "70"}, {10059, "30"}, {10052, "120"}, {10054, "100"}, {10031, "3"}},
     {},
     {{0x5C, 4, 4321}, {0xF8, 2, 4321}, {0xFA, 2, 70}, {0xFE, 2, 30}, {0x10C, 4, 120}, {0x102, 1, 3}}},
    // Caddie not paid monthly: " pay monthly" stores the new price as MonthlyPrice.
    {6,
     [](const std::uint8_t* r) { return Dword(r, 0xA8) == 0; },
     {{10003, "500"}, {10031, "258"}},
     {10062},
     {{0x5C, 4, 500}, {0xA8, 4, 500}, {0xD4, 2, 258}}},
    // Card without a timed effect: slots and effect value written; the time, the
    // read-only Cardpack and Position boxes are not.
    {13,
     [](const std::uint8_t* r) { return Word(r, 0x158) == 0; },
     {{10031, "7"}, {10043, "12"}, {10079, "9"}, {10081, "45"}, {10075, "Volume 9"}, {10077, "4242"}},
     {},
     {{0xD2, 2, 7}, {0xDA, 2, 12}, {0xDE, 2, 9}}},
};

TEST_F(Dpi96Update, EachTableWritesExactlyItsEditedFields) {
    for (const TableUpdate& u : kTableUpdates) {
        SCOPED_TRACE("table " + std::to_string(u.t));
        std::uint32_t index = ShowRecord(u.t, u.wanted);
        Disk before = ReadDisk();
        Bytes expected = RecordBytes(before.Table(u.t), u.t, index);
        for (const auto& [id, text] : u.typed)
            Type(id, text);
        for (int id : u.clicked)
            ClickButton(window_, id);
        for (const Field& f : u.written)
            Put(expected, f);
        PressUpdate();
        ExpectSaved(before, u.t, index, expected);
    }
}

// ---- Descriptions.

TEST_F(Dpi96Update, ItemWithoutDescriptionGetsOneAppendedOnceAndTwoLinesSurvive) {
    std::uint32_t index = ShowRecord(2, [](const std::uint8_t* r) { return !HasDescription(Dword(r, 4)); });
    std::uint32_t typeId = Dword(gApp.store.Record(2, index), 4);
    EXPECT_EQ("", Text(10002));
    Bytes descBefore = ReadDisk().Table(0);
    std::uint32_t count = EntryCount(descBefore);
    Type(10002, "First line\r\nSecond line");
    std::vector<std::string> lines = PrintedLines([&] { PressUpdate(); });
    EXPECT_EQ(1u, LinesStartingWith(lines, "Description not found, adding").size());
    Bytes desc = ReadDisk().Table(0);
    ASSERT_EQ(count + 1, EntryCount(desc));
    Bytes appended(516);
    Put(appended, {0, 4, typeId});
    PutText(appended, 4, 512, "First line\nSecond line"); // no carriage return, zeros behind
    EXPECT_EQ(appended, RecordBytes(desc, 0, count));
    // Everything before the new record, the header words included, as it was.
    EXPECT_TRUE(std::equal(descBefore.begin() + 2, descBefore.end(), desc.begin() + 2));

    // Shown again as two lines after another row has been shown.
    HWND list = GetDlgItem(window_, 10001);
    int row = RowOfRecord(list, index);
    ClickRow(list, row == 0 ? 1 : 0);
    ClickRow(list, row);
    EXPECT_EQ("First line\r\nSecond line", Text(10002));
    lines = PrintedLines([&] { PressUpdate(); }); // finds the record it appended and rewrites it
    EXPECT_EQ(std::vector<std::string>{"Update Description: " + std::to_string(count) + " (" +
                                       std::to_string(static_cast<std::int32_t>(typeId)) + ")"},
              LinesStartingWith(lines, "Update Description: "));
    EXPECT_TRUE(LinesStartingWith(lines, "Description not found").empty());
    EXPECT_EQ(desc, ReadDisk().Table(0));
}

TEST_F(Dpi96Update, FullDescTableRefusesTheDescriptionButSavesTheRecord) {
    std::uint32_t index = ShowRecord(2, [](const std::uint8_t* r) { return !HasDescription(Dword(r, 4)); });
    std::uint32_t typeId = Dword(gApp.store.Record(2, index), 4);
    // Fill Desc to 65,535 records in memory, with TypeIDs of group 63, which no item has.
    TableSlot& desc = gApp.store[0];
    desc.Records.resize(65535u * 516u, 0);
    for (std::uint32_t i = desc.RecordCount; i < 65535u; ++i)
        for (int b = 0; b < 4; ++b)
            desc.Records[i * 516 + b] = static_cast<std::uint8_t>((0xFC100000u + i) >> (8 * b));
    desc.RecordCount = 65535;
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.Table(2), 2, index);
    Type(10020, "Lucky Tee Deluxe");
    PutText(expected, 0x08, 40, "Lucky Tee Deluxe");
    Type(10002, "Never stored");

    std::vector<std::string> lines;
    std::vector<BoxSeen> boxes = PressUpdateSeeing(lines);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Error", boxes[0].title);
    EXPECT_EQ("The description table is full; the description was not saved.", boxes[0].text);
    EXPECT_EQ(window_, boxes[0].owner);
    EXPECT_TRUE(LinesStartingWith(lines, "Failed.").empty());
    EXPECT_EQ(65535u, gApp.store[0].RecordCount);

    Disk after = ReadDisk();
    EXPECT_EQ(expected, RecordBytes(after.Table(2), 2, index));
    const Bytes& descAfter = after.Table(0);
    ASSERT_EQ(65535u, EntryCount(descAfter));
    for (std::uint32_t i = 0; i < 65535u; ++i)
        ASSERT_NE(typeId, Dword(descAfter.data() + 8 + i * 516, 0)) << "Desc record " << i;
}

// ---- Refusals and failures.

TEST_F(Dpi96Update, GuardRefusesAfterASwitchToAnEmptyTable) {
    gApp.store[10].RecordCount = 0; // HairStyle without records
    gApp.store[10].Records.clear();
    std::string partShown = Text(10024);
    ClickButton(window_, 10068); // "HairStyle": no records, the panel keeps the Part record
    EXPECT_EQ(0, SendDlgItemMessageA(window_, 10001, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(partShown, Text(10024));
    std::string archive = ReadWholeFile(gApp.archivePath);
    TableStore store = gApp.store;
    Type(10020, "Not written");
    EXPECT_EQ(std::vector<std::string>{"No Item selected, no Update."}, PrintedLines([&] { PressUpdate(); }));
    EXPECT_TRUE(archive == ReadWholeFile(gApp.archivePath));
    for (TableIndex t = 0; t < 14; ++t)
        EXPECT_TRUE(store[t].Records == gApp.store[t].Records) << "table " << t;
}

TEST_F(Dpi96Update, FailedSavesShowTwoBoxesAndKeepTheChange) {
    // A folder where the temporary archive would go: it cannot be created, whoever runs this.
    ASSERT_TRUE(CreateDirectoryA(folder_->File("tarvik_gb1.iff").c_str(), nullptr));
    std::uint32_t index = ListedRecords(GetDlgItem(window_, 10001))[0];
    std::string archive = ReadWholeFile(gApp.archivePath);
    Type(10020, "Kept In Memory");
    std::vector<std::string> lines;
    std::vector<BoxSeen> boxes = PressUpdateSeeing(lines);
    EXPECT_EQ(2u, LinesStartingWith(lines, "Failed.").size());
    EXPECT_EQ(2u, LinesStartingWith(lines, "cant create tarvik_gb1.iff.").size());
    EXPECT_EQ(1u, LinesStartingWith(lines, "Writing Part.iff").size());
    EXPECT_EQ(1u, LinesStartingWith(lines, "Writing Desc.iff").size());
    ASSERT_EQ(2u, boxes.size());
    for (const BoxSeen& box : boxes) {
        EXPECT_EQ("Error", box.title);
        EXPECT_EQ("Could not write tarvik_gb.iff. Please check file permissions.", box.text);
        EXPECT_EQ(window_, box.owner);
        EXPECT_TRUE(box.onlyOk);
    }
    EXPECT_TRUE(archive == ReadWholeFile(gApp.archivePath));
    EXPECT_EQ("Kept In Memory", std::string(reinterpret_cast<const char*>(gApp.store.Record(1, index) + 0x08)));
}

} // namespace
} // namespace ledgrin
