// Choosing a row shows its record: every row of every table is clicked and the panel
// compared with the record's bytes, read at offsets written out here.
#include "tests/window/WindowActions.h"
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"
#include "ui/Labels.h"

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

namespace ledgrin {
namespace {

using Dpi96RecordView = MainWindowTest;

constexpr int kButtons[14] = {0,     10010, 10047, 10048, 10049, 10050, 10060,
                              10063, 10066, 10067, 10068, 10069, 10070, 10073};

// Where each table keeps its two stat groups: offset and width (bytes) of the first
// value; width 0: no such group, the boxes show 0.
struct StatLayout {
    std::size_t first;
    int firstWidth;
    std::size_t second;
    int secondWidth;
};
const StatLayout kStatLayouts[14] = {
    {0, 0, 0, 0},         // Desc
    {0x1CC, 2, 0x1D6, 2}, // Part
    {0, 0, 0, 0},         // Item
    {0x0B8, 2, 0x0C2, 2}, // ClubSet: second group the maximums
    {0, 0, 0, 0},         // Ball
    {0x102, 1, 0, 0},     // Mascot
    {0x0D4, 2, 0, 0},     // Caddie
    {0, 0, 0, 0},         // Skin
    {0x0B2, 1, 0x0B7, 1}, // AuxPart
    {0x148, 2, 0x152, 1}, // Character
    {0, 0, 0, 0},         // HairStyle
    {0, 0, 0, 0},         // CaddieItem
    {0, 0, 0, 0},         // SetItem
    {0x0D2, 2, 0, 0},     // Card: slot values
};

std::uint32_t StatValue(const std::uint8_t* r, std::size_t first, int width, int i) {
    if (width == 2) return Word(r, first + 2 * i);
    if (width == 1) return Byte(r, first + i);
    return 0;
}

std::string Number(std::uint32_t v) {
    return std::to_string(v);
}

std::string FieldText(const std::uint8_t* r, std::size_t offset, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(r + offset), size);
    return text.substr(0, text.find('\0'));
}

// The character code shown, or -1: Part the TypeID's bits 18..25 (255 none); HairStyle
// the byte at 0xA9 (255 none); SetItem the TypeID's bits 13..17 when its bits 20..25
// (the set's group) are 2 or 4.
int CharacterCode(TableIndex t, const std::uint8_t* r) {
    std::uint32_t id = Dword(r, 4);
    std::uint32_t code = 255;
    if (t == 1) code = (id >> 18) & 0xFF;
    if (t == 10) code = Byte(r, 0xA9);
    if (t == 12) {
        std::uint32_t group = (id >> 20) & 0x3F;
        code = group == 2 || group == 4 ? (id >> 13) & 0x1F : 255;
    }
    return code == 255 ? -1 : static_cast<int>(code);
}

std::string LabelOr(const LabelList& labels, int code) {
    const char* label = code < 0 ? nullptr : labels.At(static_cast<std::uint32_t>(code));
    return label ? label : "";
}

// The first Desc record with the TypeID, its text with each line feed shown as CR LF.
std::string DescriptionOf(std::uint32_t typeId) {
    for (std::uint32_t i = 0; i < gStore[0].RecordCount; ++i) {
        const std::uint8_t* d = gStore.Record(0, i);
        if (Dword(d, 0) != typeId) continue;
        std::string shown;
        for (char c : FieldText(d, 4, 512))
            shown += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return shown;
    }
    return "";
}

struct Panel {
    std::map<int, std::string> texts;
    std::map<int, bool> checks;
    int currencyRow, levelRow;
};

void AddTableFields(Panel& p, TableIndex t, const std::uint8_t* r) {
    switch (t) {
    case 5: // Mascot: a bonus byte of 0 shows as 100
        p.texts[10052] = Number(Byte(r, 0x10C) ? Byte(r, 0x10C) : 100);
        p.texts[10054] = Number(Byte(r, 0x10E) ? Byte(r, 0x10E) : 100);
        p.checks[10055] = Dword(r, 0x110) & 1;
        p.texts[10058] = Number(Word(r, 0xFA));
        p.texts[10059] = Number(Word(r, 0xFE));
        break;
    case 6: p.checks[10062] = Dword(r, 0xA8) != 0; break; // Caddie: paid monthly
    case 7:                                               // Skin
        p.texts[10058] = Number(Word(r, 0xD4));
        p.texts[10059] = Number(Word(r, 0xD8));
        break;
    case 11: // CaddieItem
        p.texts[10058] = Number(Word(r, 0xFA));
        p.texts[10059] = Number(Word(r, 0xFE));
        break;
    case 13: // Card
        p.texts[10075] = LabelOr(kCardVolumeLabels, static_cast<int>(Word(r, 0x15A)));
        p.texts[10077] = Number(Dword(r, 0x15C));
        p.texts[10079] = Number(Word(r, 0xDE));
        p.texts[10081] = Number(Word(r, 0x158));
        break;
    default: break;
    }
}

Panel Expected(TableIndex t, const std::uint8_t* r) {
    Panel p;
    p.texts[10020] = FieldText(r, 0x08, 40);
    p.texts[10024] = Number(Dword(r, 4));
    p.texts[10003] = Number(Dword(r, 0x5C));
    p.texts[10065] = Number(Dword(r, 0x60));
    p.texts[10022] = LabelOr(kCharacterNames, CharacterCode(t, r));
    const StatLayout& s = kStatLayouts[t];
    for (int i = 0; i < 5; ++i) {
        p.texts[10031 + 3 * i] = Number(StatValue(r, s.first, s.firstWidth, i));
        p.texts[10032 + 3 * i] = Number(StatValue(r, s.second, s.secondWidth, i));
    }
    p.texts[10002] = DescriptionOf(Dword(r, 4));
    std::uint32_t shop = Byte(r, 0x68), mark = Byte(r, 0x69), level = Byte(r, 0x30);
    p.checks = {{10005, shop & 0x02}, {10006, shop & 0x40}, {10007, shop & 0x20},     {10061, shop & 0x80},
                {10008, mark & 0x01}, {10009, mark & 0x02}, {10028, !(level & 0x80)}, {10029, level & 0x80}};
    p.currencyRow = shop & 1;
    p.levelRow = (level & 0x7F) <= 16 ? static_cast<int>(level & 0x7F) : -1;
    AddTableFields(p, t, r);
    return p;
}

// The member rows of a set, found independently: member TypeIDs at 0xAC, quantities
// at 0xD4 (0 shown as 1), names from the first item record with that TypeID in the
// lookup's table order.
const int kLookupOrder[13] = {1, 2, 3, 4, 9, 13, 5, 6, 7, 8, 10, 11, 12};

std::string NameOfTypeId(std::uint32_t typeId) {
    for (TableIndex t : kLookupOrder)
        for (std::uint32_t i = 0; i < gStore[t].RecordCount; ++i)
            if (Dword(gStore.Record(t, i), 4) == typeId) return FieldText(gStore.Record(t, i), 0x08, 40);
    return "";
}

std::vector<std::vector<std::string>> ExpectedMembers(const std::uint8_t* r) {
    std::vector<std::vector<std::string>> rows;
    std::uint32_t count = Dword(r, 0xA8);
    for (std::uint32_t i = 0; i < count && i < 10; ++i) {
        std::uint32_t id = Dword(r, 0xAC + 4 * i), qty = Word(r, 0xD4 + 2 * i);
        rows.push_back(
            {std::to_string(static_cast<std::int32_t>(id)), NameOfTypeId(id), Number(qty ? qty : 1)});
    }
    return rows;
}

void ExpectPanelShows(HWND window, TableIndex t, const std::uint8_t* r) {
    Panel p = Expected(t, r);
    for (const auto& [id, text] : p.texts)
        EXPECT_EQ(text, ControlText(window, id)) << "control " << id;
    for (const auto& [id, checked] : p.checks)
        EXPECT_EQ(checked, IsChecked(window, id)) << "control " << id;
    EXPECT_EQ(p.currencyRow, ComboSelection(window, 10004));
    EXPECT_EQ(p.levelRow, ComboSelection(window, 10027));
    if (t == 12) {
        std::vector<std::vector<std::string>> shown;
        for (const ListRow& row : ReadListRows(GetDlgItem(window, 10072), 3))
            shown.push_back(row.cells);
        EXPECT_EQ(ExpectedMembers(r), shown);
    }
    if (t == 13) { // a card's effect value and time show only when not 0
        bool value = Word(r, 0xDE) != 0, time = Word(r, 0x158) != 0;
        for (int id : {10078, 10079})
            EXPECT_EQ(value, IsWindowVisible(GetDlgItem(window, id)) != FALSE) << id;
        for (int id : {10080, 10081})
            EXPECT_EQ(time, IsWindowVisible(GetDlgItem(window, id)) != FALSE) << id;
    }
}

TEST_F(Dpi96RecordView, EveryRowOfEveryTableShowsItsRecord) {
    ShowFirstTable();
    HWND list = GetDlgItem(window_, 10001);
    for (TableIndex t = 1; t <= 13; ++t) {
        ClickButton(window_, kButtons[t]);
        std::vector<std::uint32_t> rows = ListedRecords(list);
        ASSERT_FALSE(rows.empty()) << "table " << t;
        // From the bottom up, so that every row is a change from the one before.
        for (int row = static_cast<int>(rows.size()) - 1; row >= 0; --row) {
            SCOPED_TRACE("table " + std::to_string(t) + " record " + std::to_string(rows[row]));
            ClickRow(list, row);
            ExpectPanelShows(window_, t, gStore.Record(t, rows[row]));
        }
    }
}

TEST_F(Dpi96RecordView, ChosenRowPrintsItsTwoLines) {
    ShowFirstTable();
    ClickButton(window_, 10073); // Card: TypeIDs with bit 31 set
    HWND list = GetDlgItem(window_, 10001);
    std::vector<std::uint32_t> rows = ListedRecords(list);
    ASSERT_GE(rows.size(), 2u);
    std::uint32_t index = rows[1];
    const std::uint8_t* r = gStore.Record(13, index);
    std::uint32_t id = Dword(r, 4);
    ASSERT_GE(id, 0x80000000u);
    StdoutCapture out;
    ClickRow(list, 1);
    std::vector<std::string> lines = out.Lines();
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("Entry clicked: " + std::to_string(index) + " (" +
                  std::to_string(static_cast<std::int32_t>(id)) + ", " + FieldText(r, 0x08, 40) + ")",
              lines[0]);
    // char bits 18..25, group 26..31, type 16..20, pos 13..17, serial 0..7
    EXPECT_EQ("char " + Number((id >> 18) & 0xFF) + " group " + Number(id >> 26) + " type " +
                  Number((id >> 16) & 0x1F) + " pos " + Number((id >> 13) & 0x1F) + " serial " +
                  Number(id & 0xFF),
              lines[1]);
}

TEST_F(Dpi96RecordView, RowChangesOfTheMemberListShowNothing) {
    ShowFirstTable();
    ClickButton(window_, 10070); // SetItem
    HWND list = GetDlgItem(window_, 10001);
    std::vector<std::uint32_t> rows = ListedRecords(list);
    for (std::size_t row = 0; row < rows.size(); ++row)
        if (Dword(gStore.Record(12, rows[row]), 0xA8) >= 2) { // a set of two or more members
            ClickRow(list, static_cast<int>(row));
            break;
        }
    HWND members = GetDlgItem(window_, 10072);
    ASSERT_GT(SendMessageA(members, LVM_GETITEMCOUNT, 0, 0), 1);
    std::string shown = ControlText(window_, 10024);
    StdoutCapture out;
    ClickRow(members, 1);
    EXPECT_TRUE(out.Lines().empty());
    EXPECT_EQ(shown, ControlText(window_, 10024));
}

} // namespace
} // namespace ledgrin
