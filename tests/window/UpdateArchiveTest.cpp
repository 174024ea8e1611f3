// "Update" end to end: a record is found in its table, edited in the panel as a user
// would, and the archive is read back from disk. The expected tables are the loaded ones
// with only the intended bytes changed, at offsets and values written out here. And the
// wait cursor while the archive is read or written.
#include "tests/window/WindowFixture.h"

#include "app/Startup.h"
#include "tests/support/TestArchives.h"
#include "ui/AppState.h"
#include "ui/Handlers.h"

namespace ledgrin {
namespace {

using test::Get;
using Wanted = bool (*)(const std::uint8_t* record);

class Dpi96Update : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ShowFirstTable();
    }

    // The first listed record of table t that passes `wanted`; shown as a user reaches it:
    // its table button, then a click on its row.
    std::uint32_t ShowRecord(TableIndex t, Wanted wanted) {
        ClickButton(window_, ButtonOf(t));
        std::vector<std::uint32_t> rows = ListedRecords(Item(10001));
        for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
            if (!wanted(gApp.store.Record(t, rows[row]))) continue;
            ClickRow(Item(10001), row);
            return rows[row];
        }
        ADD_FAILURE() << "no record of table " << t << " fits the test";
        return 0;
    }

    // After an Update of table t: every table's entry on disk, read through libzip rather
    // than the code under test, as in `expected`, and t's entry, then "Desc.iff", saved
    // last in that order. (That a save keeps every other entry byte for byte is tested
    // natively.)
    void ExpectSaved(const TableStore& expected, TableIndex t) {
        test::ZipReader zip(gApp.archivePath);
        const zip_int64_t n = zip.za ? zip_get_num_entries(zip.za, 0) : 0;
        ASSERT_GE(n, 2);
        EXPECT_EQ(EntryName(t), std::string(zip.Stat(n - 2).name));
        EXPECT_EQ("Desc.iff", std::string(zip.Stat(n - 1).name));
        for (TableIndex s = 0; s < kTableCount; ++s) { // the header's record count, then the records
            const test::Bytes entry = zip.Data(EntryName(s));
            EXPECT_TRUE(entry.size() >= 8 && Get(entry.data(), 2) == expected[s].RecordCount &&
                        test::Bytes(entry.begin() + 8, entry.end()) == test::AsBytes(expected[s].Records))
                << EntryName(s) << " not as expected";
        }
    }

    void Type(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }
    // The boxes shown while "Update" runs.
    std::vector<BoxSeen> PressUpdate() {
        return ConfirmBoxesDuring([&] { ClickButton(window_, 10011); });
    }
};

// One Update of a record of a table: which record, what is entered in which control (a
// drop-down list's row, a button's click, an edit box's text), and every byte that changes
// as {offset, width, value}.
struct TableUpdate {
    TableIndex t;
    Wanted wanted;
    std::vector<std::pair<int, std::string>> entered;
    std::vector<std::tuple<std::size_t, int, std::uint32_t>> written;
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
     [](const std::uint8_t*) { return true; },
     {{10003, "4321"}, {10058, "70"}, {10059, "30"}, {10052, "120"}, {10054, "100"}, {10031, "3"}},
     {{0x5C, 4, 4321}, {0xF8, 2, 4321}, {0xFA, 2, 70}, {0xFE, 2, 30}, {0x10C, 4, 120}, {0x102, 1, 3}}},
    // Caddie not paid monthly: " pay monthly" stores the new price as MonthlyPrice.
    {6,
     [](const std::uint8_t* r) { return Get(r + 0xA8, 4) == 0; },
     {{10003, "500"}, {10031, "258"}, {10062, ""}},
     {{0x5C, 4, 500}, {0xA8, 4, 500}, {0xD4, 2, 258}}},
    // Card without a timed effect: slots and effect value written; the time, the
    // read-only Cardpack and Position boxes are not.
    {13,
     [](const std::uint8_t* r) { return Get(r + 0x158, 2) == 0; },
     {{10031, "7"}, {10043, "12"}, {10079, "9"}, {10081, "45"}, {10075, "Volume 9"}, {10077, "4242"}},
     {{0xD2, 2, 7}, {0xDA, 2, 12}, {0xDE, 2, 9}}},
};

TEST_F(Dpi96Update, EachTableWritesExactlyItsEditedFieldsThenDescIff) {
    for (const TableUpdate& u : kTableUpdates) {
        SCOPED_TRACE("table " + std::to_string(u.t));
        const std::uint32_t index = ShowRecord(u.t, u.wanted);
        TableStore expected = gApp.store;
        TableBytes& records = expected[u.t].Records;
        const std::size_t at = index * RecordSize(u.t);
        if (u.t == 1) { // the name, the shop and mark flags as set out above
            test::PutText(records, at + 0x08, "Renamed Polo", 40);
            test::Put(records, at + 0x68, 1, (records[at + 0x68] | 0x21u) & ~0x80u);
            test::Put(records, at + 0x69, 1, records[at + 0x69] ^ 0x02u);
        }
        for (const auto& [offset, width, value] : u.written)
            test::Put(records, at + offset, width, value);
        for (const auto& [id, text] : u.entered) {
            char kind[16] = {};
            GetClassNameA(Item(id), kind, sizeof kind);
            if (kind == std::string("ComboBox")) SendMessageA(Item(id), CB_SETCURSEL, std::stoi(text), 0);
            if (kind == std::string("Button")) ClickButton(window_, id);
            if (kind == std::string("Edit")) Type(id, text);
        }
        EXPECT_TRUE(PressUpdate().empty());
        ExpectSaved(expected, u.t); // the description left as shown
    }
}

// The description box of an item without a description is appended to Desc.iff, its
// line ends stored as "\n"; a full Desc table refuses it with a box and the record is
// saved all the same.
TEST_F(Dpi96Update, TheDescriptionBoxIsAppendedOrRefusedWhenDescIsFull) {
    for (bool full : {false, true}) {
        SCOPED_TRACE(full ? "full" : "appended");
        const std::uint32_t index = ShowRecord(2, [](const std::uint8_t* r) {
            for (std::uint32_t i = 0; i < gApp.store[0].RecordCount; ++i)
                if (Get(gApp.store.Record(0, i), 4) == Get(r + 4, 4)) return false;
            return true;
        });
        TableSlot& desc = gApp.store[0];
        for (; full && desc.RecordCount < 65535u;
             ++desc.RecordCount) { // TypeIDs of group 63, which no item has
            desc.Records.resize(desc.Records.size() + 516);
            test::Put(desc.Records, desc.RecordCount * 516u, 4, 0xFC100000u + desc.RecordCount);
        }
        TableStore expected = gApp.store;
        if (!full) {
            expected[0].Records.resize(expected[0].Records.size() + 516);
            test::Put(expected[0].Records, desc.RecordCount * 516u, 4,
                      Get(gApp.store.Record(2, index) + 4, 4));
            test::PutText(expected[0].Records, desc.RecordCount * 516u + 4, "First line\nSecond line", 512);
            ++expected[0].RecordCount;
        }
        Type(10002, "First line\r\nSecond line");
        std::vector<BoxSeen> boxes = PressUpdate();
        ASSERT_EQ(full ? 1u : 0u, boxes.size());
        EXPECT_TRUE(!full ||
                    boxes[0].text == "The description table is full; the description was not saved.");
        ExpectSaved(expected, 2);
    }
}

// The wait cursor while the tables load and while "Update" saves, and never under a
// message box; the boxes of a failed load and of a failed save, shown twice.
using Dpi96Busy = MainWindowTest;

HCURSOR gBefore;    // the cursor before the load or the update
std::string gSeen;  // the cursor at each load, save and box in turn: W wait, B before
bool gFail = false; // whether the watched loads or saves fail

void See() {
    HCURSOR cursor = GetCursor();
    gSeen += cursor == LoadCursorA(nullptr, IDC_WAIT) ? 'W' : cursor == gBefore ? 'B' : '?';
}

SaveResult WatchedSave(const TableStore& store, TableIndex t, const std::string& archive,
                       const std::string& dir) {
    See();
    return gFail ? kNotSaved : SaveTable(store, t, archive, dir);
}

LoadResult WatchedLoad(TableStore& store, TableIndex t, const std::string& archive, std::string*) {
    See();
    return gFail ? kArchiveNotFound : LoadTable(store, t, archive);
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
    char cls[8] = {};
    if (code == HCBT_ACTIVATE && GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls) &&
        std::string(cls) == "#32770")
        See();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Dpi96Busy, WaitCursorWhileTheArchiveIsReadOrWrittenButNeverUnderABox) {
    const struct {
        bool update, fail;
        std::string seen; // and the cursor after, last
        const char* box;  // the text of each box
    } cases[] = {
        {true, false, "WWB", nullptr}, // both saves
        {true, true, "WBWBB", "Could not write tarvik_gb.iff. Please check file permissions."},
        {false, false, std::string(kTableCount, 'W') + "B", nullptr},
        {false, true, "WBB", "tarvik_gb.iff not found. Quitting"}, // the first table fails
    };
    ShowFirstTable();
    HHOOK hook = SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
    gBefore = LoadCursorA(nullptr, IDC_IBEAM);
    for (const auto& c : cases) {
        gSeen.clear();
        gFail = c.fail;
        SetCursor(gBefore);
        std::vector<BoxSeen> boxes = ConfirmBoxesDuring([&] {
            c.update ? OnUpdatePressed(window_, WatchedSave)
                     : void(LoadAllTables(gApp.archivePath, WatchedLoad));
        });
        See();
        SCOPED_TRACE(std::string(c.update ? "update" : "load") + (c.fail ? ", failing" : ""));
        EXPECT_EQ(c.seen, gSeen);
        for (const BoxSeen& box : boxes)
            EXPECT_TRUE(box.title == "Error" && c.box && box.text == c.box) << box.text;
    }
    UnhookWindowsHookEx(hook);
}

} // namespace
} // namespace ledgrin
