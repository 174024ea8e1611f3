// "Update" end to end: a record is found in its table, edited in the panel as a user
// would, and the archive is read back from disk. The expected record is the loaded one
// with only the intended bytes changed, at offsets and values written out here.
#include "tests/window/ArchiveOnDisk.h"
#include "tests/window/WindowActions.h"
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace ledgrin {
namespace {

constexpr int kButtons[14] = {0,     10010, 10047, 10048, 10049, 10050, 10060,
                              10063, 10066, 10067, 10068, 10069, 10070, 10073};
constexpr std::size_t kSizes[14] = {516, 544, 224, 236, 792, 284, 224, 220, 204, 396, 172, 260, 244, 360};
const char* const kEntryNames[14] = {"Desc.iff",    "Part.iff",      "Item.iff",      "ClubSet.iff",
                                     "Ball.iff",    "Mascot.iff",    "Caddie.iff",    "Skin.iff",
                                     "AuxPart.iff", "Character.iff", "HairStyle.iff", "CaddieItem.iff",
                                     "SetItem.iff", "Card.iff"};
const char kSaveFailed[] = "Could not write tarvik_gb.iff. Please check file permissions.";

void Put8(Bytes& r, std::size_t off, std::uint32_t v) {
    r.at(off) = static_cast<std::uint8_t>(v);
}
void Put16(Bytes& r, std::size_t off, std::uint32_t v) {
    Put8(r, off, v);
    Put8(r, off + 1, v >> 8);
}
void Put32(Bytes& r, std::size_t off, std::uint32_t v) {
    Put16(r, off, v);
    Put16(r, off + 2, v >> 16);
}
// Text at off, the rest of the field zero.
void PutText(Bytes& r, std::size_t off, std::size_t size, const std::string& text) {
    for (std::size_t i = 0; i < size; ++i)
        r.at(off + i) = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
}

Bytes RecordBytes(const Bytes& entry, TableIndex t, std::uint32_t index) {
    auto at = entry.begin() + static_cast<std::ptrdiff_t>(8 + index * kSizes[t]);
    return Bytes(at, at + static_cast<std::ptrdiff_t>(kSizes[t]));
}

std::uint32_t EntryCount(const Bytes& entry) {
    return entry.size() < 2 ? 0 : entry[0] | (entry[1] << 8u);
}

bool HasDescription(std::uint32_t typeId) {
    for (std::uint32_t i = 0; i < gStore[0].RecordCount; ++i)
        if (Dword(gStore.Record(0, i), 0) == typeId) return true;
    return false;
}

class Dpi96Update : public FreshArchiveTest {
  protected:
    // The first listed record of table t that passes `wanted`; shown as a user reaches it:
    // its table button, then a click on its row.
    std::uint32_t ShowRecord(TableIndex t, const std::function<bool(const std::uint8_t*)>& wanted) {
        ClickButton(window_, kButtons[t]);
        HWND list = GetDlgItem(window_, 10001);
        std::vector<std::uint32_t> rows = ListedRecords(list);
        for (std::size_t row = 0; row < rows.size(); ++row)
            if (wanted(gStore.Record(t, rows[row]))) {
                ClickRow(list, static_cast<int>(row));
                return rows[row];
            }
        ADD_FAILURE() << "no record of table " << t << " fits the test";
        return 0;
    }

    // The archive on disk now: its raw entries and the bytes of every table entry.
    struct Disk {
        StoredArchive stored;
        std::vector<Bytes> tables; // by TableIndex
    };
    Disk ReadDisk() const {
        Disk disk{ReadStoredArchive(gArchivePath), {}};
        for (const char* name : kEntryNames)
            disk.tables.push_back(EntryContents(gArchivePath, name));
        return disk;
    }

    // After an Update of table t: t's entry and then "Desc.iff" are the last two entries,
    // every other entry keeps its stored bytes and place, and t's entry equals `before`
    // but for record `index`, which is `expected`.
    void ExpectSaved(const Disk& before, TableIndex t, std::uint32_t index, const Bytes& expected) {
        Disk after = ReadDisk();
        ASSERT_TRUE(after.stored.ok);
        std::vector<StoredEntry> kept;
        for (const StoredEntry& e : before.stored.entries)
            if (e.name != kEntryNames[t] && e.name != "Desc.iff") kept.push_back(e);
        ASSERT_EQ(kept.size() + 2, after.stored.entries.size());
        for (std::size_t i = 0; i < kept.size(); ++i) {
            EXPECT_EQ(kept[i].name, after.stored.entries[i].name);
            EXPECT_TRUE(kept[i].central == after.stored.entries[i].central) << kept[i].name;
            EXPECT_TRUE(kept[i].local == after.stored.entries[i].local) << kept[i].name;
        }
        EXPECT_EQ(kEntryNames[t], after.stored.entries[kept.size()].name);
        EXPECT_EQ("Desc.iff", after.stored.entries[kept.size() + 1].name);

        Bytes entry = before.tables[t];
        ASSERT_EQ(expected.size(), kSizes[t]);
        std::copy(expected.begin(), expected.end(),
                  entry.begin() + static_cast<std::ptrdiff_t>(8 + index * kSizes[t]));
        EXPECT_EQ(entry.size(), after.tables[t].size());
        EXPECT_TRUE(entry == after.tables[t]) << "table " << t << ": more than the intended bytes changed";
        EXPECT_EQ(expected, RecordBytes(after.tables[t], t, index));
    }

    void Type(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }
    void PressUpdate() { ClickButton(window_, 10011); }
};

// ---- One Update per table, every changed byte written out.

TEST_F(Dpi96Update, PartHeadStatsAndSlots) {
    // A part not in the shop whose level is a minimum.
    std::uint32_t index =
        ShowRecord(1, [](const std::uint8_t* r) { return !(r[0x68] & 0x20) && !(r[0x30] & 0x80); });
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.tables[1], 1, index);
    Type(10020, "Renamed Polo");
    PutText(expected, 0x08, 40, "Renamed Polo");
    Type(10003, "4321");
    Put32(expected, 0x5C, 4321);
    Type(10065, "70000");
    Put32(expected, 0x60, 70000);
    SendDlgItemMessageA(window_, 10004, CB_SETCURSEL, 1, 0); // "Points": ShopFlags bit 0
    ClickButton(window_, 10007);                             // " Avail. in Shop" on, " Display only" off
    Put8(expected, 0x68, (expected[0x68] | 0x21) & ~0x80u);  // bits 1 to 4 and 6 as they were
    ClickButton(window_, 10009);                             // " Hot" toggled: MarkFlags bit 1
    Put8(expected, 0x69, expected[0x69] ^ 0x02);
    SendDlgItemMessageA(window_, 10027, CB_SETCURSEL, 3, 0);
    ClickButton(window_, 10029); // " Maximum"
    Put8(expected, 0x30, 0x83);
    Type(10031, "300"); // Power, u16
    Put16(expected, 0x1CC, 300);
    Type(10044, "70000"); // CurveSlot, u16: 70000 modulo 65536
    Put16(expected, 0x1DE, 4464);

    PressUpdate();
    ExpectSaved(before, 1, index, expected);
    EXPECT_EQ(before.tables[0], ReadDisk().tables[0]); // the description box was left as shown
    // The row keeps its place and shows the new name.
    HWND list = GetDlgItem(window_, 10001);
    int row = RowOfRecord(list, index);
    EXPECT_EQ("Renamed Polo", ReadListRows(list, 2)[row].cells[1]);
    EXPECT_TRUE(ReadListRows(list, 2)[row].selected);
}

TEST_F(Dpi96Update, AuxPartStatsKeepTheirLowByte) {
    std::uint32_t index = ShowRecord(8, [](const std::uint8_t*) { return true; });
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.tables[8], 8, index);
    Type(10020, "Brass Anklet");
    PutText(expected, 0x08, 40, "Brass Anklet");
    Type(10031, "300"); // Power, u8: 300 modulo 256
    Put8(expected, 0xB2, 44);
    Type(10032, "7"); // PowerSlot, u8
    Put8(expected, 0xB7, 7);
    Type(10044, "256"); // CurveSlot
    Put8(expected, 0xBB, 0);

    PressUpdate();
    ExpectSaved(before, 8, index, expected);
}

TEST_F(Dpi96Update, MascotPriceCopyRentalBonusAndExtraItem) {
    std::uint32_t index = ShowRecord(5, [](const std::uint8_t*) { return true; });
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.tables[5], 5, index);
    Type(10003, "123456");
    Put32(expected, 0x5C, 123456);
    Put16(expected, 0xF8, 57920); // PriceCopy: 123456 modulo 65536
    Type(10058, "70000");
    Put16(expected, 0xFA, 4464);
    Type(10059, "30");
    Put16(expected, 0xFE, 30);
    Type(10052, "120"); // Crell (%) above 100: stored
    Type(10054, "100"); // Experience (%) 100: stored as 0
    Put32(expected, 0x10C, 120);
    ClickButton(window_, 10055); // " Extra Item": bit 0 of MascotFlags, the other bits kept
    Put8(expected, 0x110, expected[0x110] ^ 0x01);
    Type(10031, "300"); // Power, u8
    Put8(expected, 0x102, 44);

    PressUpdate();
    ExpectSaved(before, 5, index, expected);
}

TEST_F(Dpi96Update, CaddiePaidMonthlyTakesTheNewPrice) {
    std::uint32_t index = ShowRecord(6, [](const std::uint8_t* r) { return Dword(r, 0xA8) == 0; });
    ASSERT_FALSE(IsChecked(window_, 10062));
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.tables[6], 6, index);
    Type(10003, "500");
    Put32(expected, 0x5C, 500);
    ClickButton(window_, 10062); // " pay monthly"
    Put32(expected, 0xA8, 500);
    Type(10031, "258"); // Power, u16
    Put16(expected, 0xD4, 258);

    PressUpdate();
    ExpectSaved(before, 6, index, expected);
}

TEST_F(Dpi96Update, CaddieItemPriceCopyAndRentalPrices) {
    std::uint32_t index = ShowRecord(11, [](const std::uint8_t*) { return true; });
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.tables[11], 11, index);
    Type(10003, "123456");
    Put32(expected, 0x5C, 123456);
    Put16(expected, 0xF8, 57920);
    Type(10058, "7");
    Put16(expected, 0xFA, 7);
    Type(10059, "70000");
    Put16(expected, 0xFE, 4464);

    PressUpdate();
    ExpectSaved(before, 11, index, expected);
}

TEST_F(Dpi96Update, CharacterStatsAndTheirCopy) {
    std::uint32_t index = ShowRecord(9, [](const std::uint8_t*) { return true; });
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.tables[9], 9, index);
    Type(10031, "258"); // Power, u16
    Put16(expected, 0x148, 258);
    Type(10034, "513"); // Control, u16
    Put16(expected, 0x14A, 513);
    Type(10032, "300"); // PowerSlot, u8
    Put8(expected, 0x152, 44);
    // StatCopy at 0x15C: the low byte of each of the five stats as now stored.
    for (int i = 0; i < 5; ++i)
        Put8(expected, 0x15C + i, expected[0x148 + 2 * i]);
    EXPECT_EQ(2, expected[0x15C]);
    EXPECT_EQ(1, expected[0x15D]);

    PressUpdate();
    ExpectSaved(before, 9, index, expected);
}

// The demo archive with card record 2 (an effect card) timed: EffectTime (u16 at 0x158) 30.
class Dpi96UpdateTimedCard : public Dpi96Update {
  protected:
    bool WriteArchive(const std::string& path) override {
        return WriteEditedArchive(path, 13, [](Bytes& entry) { Put16(entry, 8 + 2 * 360 + 0x158, 30); });
    }
};

TEST_F(Dpi96UpdateTimedCard, CardSlotsEffectValueAndAKeptEffectTime) {
    // A card with a timed effect: a 0 typed as its time keeps the stored time.
    std::uint32_t index = ShowRecord(13, [](const std::uint8_t* r) { return Word(r, 0x158) != 0; });
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.tables[13], 13, index);
    Type(10031, "70000"); // PowerSlot, u16
    Put16(expected, 0xD2, 4464);
    Type(10043, "12"); // CurveSlot
    Put16(expected, 0xDA, 12);
    Type(10079, "9"); // EffectValue
    Put16(expected, 0xDE, 9);
    Type(10081, "0");
    Type(10075, "Volume 9"); // read-only boxes are never written back
    Type(10077, "4242");

    PressUpdate();
    ExpectSaved(before, 13, index, expected);

    // Now a new time: written, since both the stored and the typed value are not 0.
    Type(10081, "45");
    Put16(expected, 0x158, 45);
    Disk second = ReadDisk();
    PressUpdate();
    ExpectSaved(second, 13, index, expected);
}

TEST_F(Dpi96Update, SetItemHeadOnlyMembersStay) {
    std::uint32_t index = ShowRecord(12, [](const std::uint8_t* r) { return Dword(r, 0xA8) >= 2; });
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.tables[12], 12, index);
    Type(10020, "Renamed Set");
    PutText(expected, 0x08, 40, "Renamed Set");
    Type(10003, "999");
    Put32(expected, 0x5C, 999);

    PressUpdate();
    ExpectSaved(before, 12, index, expected);
}

// ---- Descriptions.

TEST_F(Dpi96Update, TwoLineDescriptionSurvivesTheRoundTrip) {
    std::uint32_t index = ShowRecord(1, [](const std::uint8_t* r) { return HasDescription(Dword(r, 4)); });
    std::uint32_t typeId = Dword(gStore.Record(1, index), 4);
    Type(10002, "First line\r\nSecond line");
    PressUpdate();

    Bytes desc = ReadDisk().tables[0];
    std::uint32_t found = 0;
    while (found < EntryCount(desc) && Dword(desc.data() + 8 + found * 516, 0) != typeId)
        ++found;
    ASSERT_LT(found, EntryCount(desc));
    Bytes expected(516);
    Put32(expected, 0, typeId);
    PutText(expected, 4, 512, "First line\nSecond line"); // no carriage return, zeros behind
    EXPECT_EQ(expected, RecordBytes(desc, 0, found));

    // Shown again as two lines after another row has been shown.
    HWND list = GetDlgItem(window_, 10001);
    int row = RowOfRecord(list, index);
    ClickRow(list, row == 0 ? 1 : 0);
    ClickRow(list, row);
    EXPECT_EQ("First line\r\nSecond line", ControlText(window_, 10002));
}

TEST_F(Dpi96Update, ItemWithoutDescriptionGetsOneAppendedOnce) {
    std::uint32_t index = ShowRecord(2, [](const std::uint8_t* r) { return !HasDescription(Dword(r, 4)); });
    std::uint32_t typeId = Dword(gStore.Record(2, index), 4);
    EXPECT_EQ("", ControlText(window_, 10002));
    Bytes descBefore = ReadDisk().tables[0];
    std::uint32_t count = EntryCount(descBefore);
    Type(10002, "Fresh from the pro shop");
    {
        StdoutCapture out;
        PressUpdate();
        EXPECT_EQ(1u, CountLines(out.Lines(), "Description not found, adding"));
    }
    Bytes desc = ReadDisk().tables[0];
    ASSERT_EQ(count + 1, EntryCount(desc));
    Bytes appended(516);
    Put32(appended, 0, typeId);
    PutText(appended, 4, 512, "Fresh from the pro shop");
    EXPECT_EQ(appended, RecordBytes(desc, 0, count));
    // Everything before the new record, the header words included, as it was.
    EXPECT_TRUE(std::equal(descBefore.begin() + 2, descBefore.end(), desc.begin() + 2));

    StdoutCapture out;
    PressUpdate(); // finds the record it appended
    std::vector<std::string> lines = out.Lines();
    EXPECT_EQ("Update Description: " + std::to_string(count) + " (" +
                  std::to_string(static_cast<std::int32_t>(typeId)) + ")",
              FirstLine(lines, "Update Description: "));
    EXPECT_EQ(0u, CountLines(lines, "Description not found"));
    EXPECT_EQ(desc, ReadDisk().tables[0]);
}

// ---- Refusals and failures.

// The demo archive with an empty HairStyle table.
class Dpi96UpdateEmptyTable : public Dpi96Update {
  protected:
    bool WriteArchive(const std::string& path) override { return WriteArchiveWithEmptyTable(path, 10); }
};

TEST_F(Dpi96UpdateEmptyTable, GuardRefusesAfterASwitchToAnEmptyTable) {
    std::string partShown = ControlText(window_, 10024);
    ClickButton(window_, 10068); // "HairStyle": no records, the panel keeps the Part record
    EXPECT_EQ(0, SendDlgItemMessageA(window_, 10001, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(partShown, ControlText(window_, 10024));
    Bytes archive = ReadFileBytes(gArchivePath);
    TableStore store = gStore;
    Type(10020, "Not written");
    StdoutCapture out;
    PressUpdate();
    std::vector<std::string> lines = out.Lines();
    EXPECT_EQ(std::vector<std::string>{"No Item selected, no Update."}, lines);
    EXPECT_TRUE(archive == ReadFileBytes(gArchivePath));
    for (TableIndex t = 0; t < 14; ++t)
        EXPECT_TRUE(store[t].Records == gStore[t].Records) << "table " << t;
}

TEST_F(Dpi96Update, EmptyListUpdatesRecordZeroOnlyWhenThePanelShowsIt) {
    HWND list = GetDlgItem(window_, 10001);
    ClickRow(list, RowOfRecord(list, 0)); // Part record 0
    Type(10012, "no name holds this text");
    ASSERT_EQ(0, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.tables[1], 1, 0);
    Type(10003, "77");
    Put32(expected, 0x5C, 77);
    PressUpdate();
    ExpectSaved(before, 1, 0, expected);

    // Another record shown: refused.
    Type(10012, "");
    ClickRow(list, RowOfRecord(list, 1));
    Type(10012, "no name holds this text");
    Bytes archive = ReadFileBytes(gArchivePath);
    StdoutCapture out;
    PressUpdate();
    EXPECT_EQ(1u, CountLines(out.Lines(), "No Item selected, no Update."));
    EXPECT_TRUE(archive == ReadFileBytes(gArchivePath));
}

TEST_F(Dpi96Update, FailedSavesShowTwoBoxesAndKeepTheChange) {
    // A folder where the temporary archive would go: it cannot be created, whoever runs this.
    ASSERT_TRUE(CreateDirectoryA(folder_->File("tarvik_gb1.iff").c_str(), nullptr));
    HWND list = GetDlgItem(window_, 10001);
    std::uint32_t index = ListedRecords(list)[0];
    Bytes archive = ReadFileBytes(gArchivePath);
    Type(10020, "Kept In Memory");
    std::vector<BoxSeen> boxes;
    std::vector<std::string> lines;
    {
        BoxWatcher watcher;
        StdoutCapture out;
        PressUpdate();
        lines = out.Lines();
        boxes = watcher.Boxes();
    }
    EXPECT_EQ(2u, CountLines(lines, "Failed."));
    EXPECT_EQ(2u, CountLines(lines, "cant create tarvik_gb1.iff."));
    EXPECT_EQ(1u, CountLines(lines, "Writing Part.iff"));
    EXPECT_EQ(1u, CountLines(lines, "Writing Desc.iff"));
    ASSERT_EQ(2u, boxes.size());
    for (const BoxSeen& box : boxes) {
        EXPECT_EQ("Error", box.title);
        EXPECT_EQ(kSaveFailed, box.text);
        EXPECT_EQ(window_, box.owner);
        EXPECT_TRUE(box.onlyOk);
    }
    EXPECT_TRUE(archive == ReadFileBytes(gArchivePath));
    EXPECT_EQ("Kept In Memory", std::string(reinterpret_cast<const char*>(gStore.Record(1, index) + 0x08)));

    // Once the way is clear, the next Update saves the change made before.
    ASSERT_TRUE(RemoveDirectoryA(folder_->File("tarvik_gb1.iff").c_str()));
    Type(10020, "Kept In Memory");
    PressUpdate();
    Bytes part = ReadDisk().tables[1];
    EXPECT_EQ(std::string("Kept In Memory"),
              std::string(reinterpret_cast<const char*>(&part[8 + index * 544 + 8])));
}

TEST_F(Dpi96Update, FullDescTableRefusesTheDescriptionButSavesTheRecord) {
    std::uint32_t index = ShowRecord(2, [](const std::uint8_t* r) { return !HasDescription(Dword(r, 4)); });
    std::uint32_t typeId = Dword(gStore.Record(2, index), 4);
    // Fill Desc to 65,535 records in memory, with TypeIDs of group 63, which no item has.
    TableSlot& desc = gStore[0];
    std::uint32_t count = desc.RecordCount;
    desc.Records.resize(65535u * 516u, 0);
    for (std::uint32_t i = count; i < 65535u; ++i)
        for (int b = 0; b < 4; ++b)
            desc.Records[i * 516 + b] = static_cast<std::uint8_t>((0xFC100000u + i) >> (8 * b));
    desc.RecordCount = 65535;
    Disk before = ReadDisk();
    Bytes expected = RecordBytes(before.tables[2], 2, index);
    Type(10020, "Lucky Tee Deluxe");
    PutText(expected, 0x08, 40, "Lucky Tee Deluxe");
    Type(10002, "Never stored");

    std::vector<BoxSeen> boxes;
    std::vector<std::string> lines;
    {
        BoxWatcher watcher;
        StdoutCapture out;
        PressUpdate();
        lines = out.Lines();
        boxes = watcher.Boxes();
    }
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Error", boxes[0].title);
    EXPECT_EQ("The description table is full; the description was not saved.", boxes[0].text);
    EXPECT_EQ(window_, boxes[0].owner);
    EXPECT_EQ(0u, CountLines(lines, "Failed."));
    EXPECT_EQ(65535u, gStore[0].RecordCount);

    Disk after = ReadDisk();
    EXPECT_EQ(expected, RecordBytes(after.tables[2], 2, index));
    ASSERT_EQ(65535u, EntryCount(after.tables[0]));
    for (std::uint32_t i = 0; i < 65535u; ++i)
        ASSERT_NE(typeId, Dword(after.tables[0].data() + 8 + i * 516, 0)) << "Desc record " << i;
}

} // namespace
} // namespace ledgrin
