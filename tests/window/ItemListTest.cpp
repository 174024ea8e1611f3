// The item list as a user works it: the thirteen table buttons, the search box, a filter
// list, " Shop active", "X" and the column headers. Expected rows come from the loaded
// records, read at offsets written out here; the filter rules in detail are tested
// natively.
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"
#include "view/ItemFilter.h"
#include "view/PanelLayout.h"

#include <commctrl.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace ledgrin {
namespace {

using Dpi96ItemList = MainWindowTest;
using Lines = std::vector<std::string>;

std::string NameOf(const std::uint8_t* r) {
    std::string name(reinterpret_cast<const char*>(r + 0x08), 40);
    return name.substr(0, name.find('\0'));
}

// The list's search and name order, written independently: only A to Z fold; names
// compare as unsigned bytes (std::string::compare).
std::string Folded(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return name;
}

const std::uint8_t* Rec(TableIndex t, std::uint32_t index) {
    return gApp.store.Record(t, index);
}

// Enabled records (u32 at 0 not 0) of table t that pass `test`.
std::set<std::uint32_t> EnabledWhere(TableIndex t,
                                     const std::function<bool(const std::uint8_t*)>& test = {}) {
    std::set<std::uint32_t> out;
    for (std::uint32_t i = 0; i < gApp.store[t].RecordCount; ++i)
        if (Dword(Rec(t, i), 0) != 0 && (!test || test(Rec(t, i)))) out.insert(i);
    return out;
}

std::set<std::uint32_t> Listed(HWND list) {
    std::vector<std::uint32_t> rows = ListedRecords(list);
    return {rows.begin(), rows.end()};
}

// The rows are in name order A to Z (direction +1) or Z to A (-1).
void ExpectNameOrder(TableIndex t, const std::vector<std::uint32_t>& rows, int direction) {
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(direction * Folded(NameOf(Rec(t, rows[i - 1]))).compare(Folded(NameOf(Rec(t, rows[i])))), 0)
            << "rows " << i - 1 << " and " << i;
}

// The rows are in TypeID order, compared unsigned: ascending (+1) or descending (-1).
void ExpectTypeIdOrder(TableIndex t, const std::vector<std::uint32_t>& rows, int direction) {
    for (std::size_t i = 1; i < rows.size(); ++i) {
        std::uint32_t a = Dword(Rec(t, rows[i - 1]), 4), b = Dword(Rec(t, rows[i]), 4);
        EXPECT_TRUE(direction > 0 ? a <= b : a >= b) << "rows " << i - 1 << " and " << i;
    }
}

Lines FilterLines(const std::function<void()>& action) {
    return LinesStartingWith(PrintedLines(action), "Filter: ");
}

// Table t as the user meets it after start-up or a table switch that printed `lines`: its
// button alone checked; exactly one refill with the filters at their defaults (Item and
// Skin scale the first row's item data 0 - 1 by 128 and 16) and the top row shown once;
// the panel as the table's panel row says (the card block's effect controls follow the
// shown card instead); the filter lists enabled and filled for t or, where t fills
// nothing, as they were (`before`), each at its first row; " Shop active" off, the
// search box empty; the enabled records listed by name with their TypeID (signed) and
// Name, the top row selected and shown.
void ExpectTableShown(HWND window, TableIndex t, const Lines& lines,
                      const std::vector<ComboRow> (&before)[2]) {
    EXPECT_EQ(t, gApp.currentTable);
    for (TableIndex other = 1; other <= 13; ++other)
        EXPECT_EQ(other == t, IsChecked(window, kButtonOfTable[other])) << other;
    int charValue = t == 2 ? -128 : t == 7 ? -16 : -1;
    EXPECT_EQ(Lines{"Filter: \"\" - Char: " + std::to_string(charValue) + " - Type: -1"},
              LinesStartingWith(lines, "Filter: "));
    EXPECT_EQ(1u, LinesStartingWith(lines, "Entry clicked: ").size());

    for (const ControlVisibility& c : PanelVisibility(t)) {
        if (t != 13 || c.id < 10078) {
            EXPECT_EQ(c.visible, IsShown(window, c.id)) << "control " << c.id;
        }
    }
    const TablePanel& panel = PanelFor(t);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(panel.statCaptions[i], ControlText(window, 10030 + 3 * i));
    EXPECT_EQ(TableHasCharFilter(t), IsWindowEnabled(GetDlgItem(window, 10014)) != FALSE);
    EXPECT_EQ(TableHasTypeFilter(t), IsWindowEnabled(GetDlgItem(window, 10015)) != FALSE);
    EXPECT_EQ(panel.shopFilterEnabled, IsWindowEnabled(GetDlgItem(window, 10016)) != FALSE);
    std::vector<ComboRow> expected[2] = {before[0], before[1]};
    for (const FilterFill& fill : FilterFills(t)) {
        if (!fill.comboId) continue;
        expected[fill.comboId - 10014].clear();
        for (const FilterRow& row : FilterRows(fill.firstRow, *fill.labels))
            expected[fill.comboId - 10014].push_back({row.text, row.data});
    }
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(expected[i], ComboRows(window, 10014 + i));
        EXPECT_EQ(0, ComboSelection(window, 10014 + i));
    }
    EXPECT_FALSE(IsChecked(window, 10016));
    EXPECT_EQ("", ControlText(window, 10012));

    HWND list = GetDlgItem(window, 10001);
    std::vector<ListRow> rows = ReadListRows(list, 2);
    EXPECT_EQ(EnabledWhere(t), Listed(list));
    ExpectNameOrder(t, ListedRecords(list), +1);
    ASSERT_FALSE(rows.empty());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::uint8_t* r = Rec(t, static_cast<std::uint32_t>(rows[i].param));
        EXPECT_EQ(std::to_string(static_cast<std::int32_t>(Dword(r, 4))), rows[i].cells[0]);
        EXPECT_EQ(NameOf(r), rows[i].cells[1]);
        EXPECT_EQ(i == 0, rows[i].selected) << "row " << i;
    }
    EXPECT_EQ(0, SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
    const std::uint8_t* top = Rec(t, static_cast<std::uint32_t>(rows[0].param));
    EXPECT_EQ(std::to_string(Dword(top, 4)), ControlText(window, 10024));
    EXPECT_EQ(NameOf(top), ControlText(window, 10020));
    EXPECT_EQ(std::to_string(Dword(top, 0x5C)), ControlText(window, 10003)); // Price
}

TEST_F(Dpi96ItemList, StartUpAndEveryTableButtonShowTheirTable) {
    const std::vector<ComboRow> created[2] = {ComboRows(window_, 10014), ComboRows(window_, 10015)};
    Lines lines = PrintedLines([&] { ShowFirstTable(); });
    EXPECT_FALSE(gApp.initialising);
    {
        SCOPED_TRACE("start-up");
        ExpectTableShown(window_, 1, lines, created);
    }
    for (TableIndex t = 1; t <= 13; ++t) { // "Part" first: pressed again while shown
        SCOPED_TRACE("table " + std::to_string(t));
        // Filters away from their defaults: the switch sets them back.
        SendDlgItemMessageA(window_, 10016, BM_SETCHECK, BST_CHECKED, 0);
        SendDlgItemMessageA(window_, 10014, CB_SETCURSEL, 1, 0);
        SendDlgItemMessageA(window_, 10015, CB_SETCURSEL, 1, 0);
        SetDlgItemTextA(window_, 10012, "e");
        const std::vector<ComboRow> before[2] = {ComboRows(window_, 10014), ComboRows(window_, 10015)};
        lines = PrintedLines([&] { ClickButton(window_, kButtonOfTable[t]); });
        ExpectTableShown(window_, t, lines, before);
    }
}

TEST_F(Dpi96ItemList, EachKeyTypedRefillsOnceAndXOnce) {
    ShowFirstTable();
    HWND list = GetDlgItem(window_, 10001);
    HWND search = GetDlgItem(window_, 10012);
    EXPECT_EQ(Lines{"Filter: \"e\" - Char: -1 - Type: -1"},
              FilterLines([&] { SendMessageA(search, WM_CHAR, 'e', 1); }));
    EXPECT_EQ(Lines{"Filter: \"eL\" - Char: -1 - Type: -1"},
              FilterLines([&] { SendMessageA(search, WM_CHAR, 'L', 1); }));
    // A to Z fold: "eL" finds "el" in any case.
    std::set<std::uint32_t> named = EnabledWhere(
        1, [](const std::uint8_t* r) { return Folded(NameOf(r)).find("el") != std::string::npos; });
    EXPECT_EQ(named, Listed(list));
    EXPECT_LT(named.size(), EnabledWhere(1).size());
    ExpectNameOrder(1, ListedRecords(list), +1);

    // No name matches: the list is empty and the panel keeps the record it showed.
    std::string shown = Text(10024);
    SetDlgItemTextA(window_, 10012, "no item is called this");
    EXPECT_TRUE(ListedRecords(list).empty());
    EXPECT_EQ(shown, Text(10024));
    EXPECT_EQ(1u, FilterLines([&] { ClickButton(window_, 10013); }).size()); // "X"
    EXPECT_EQ("", Text(10012));
    EXPECT_EQ(EnabledWhere(1), Listed(list));
    EXPECT_EQ(1u, FilterLines([&] { ClickButton(window_, 10013); }).size()); // also with the box empty
}

TEST_F(Dpi96ItemList, FilterRowAndShopActiveKeepTheMatchingRecords) {
    ShowFirstTable();
    HWND list = GetDlgItem(window_, 10001);
    // " Shop active": ShopFlags (0x68) bit 5 " Avail. in Shop" or bit 7 " Display only".
    EXPECT_EQ(1u, FilterLines([&] { ClickButton(window_, 10016); }).size());
    std::set<std::uint32_t> inShop =
        EnabledWhere(1, [](const std::uint8_t* r) { return (r[0x68] & 0xA0) != 0; });
    EXPECT_EQ(inShop, Listed(list));
    EXPECT_LT(inShop.size(), EnabledWhere(1).size());
    ExpectNameOrder(1, ListedRecords(list), +1);

    // Item "Passive" (row 2, item data 2): char (TypeID bits 18..25) 128.
    ClickButton(window_, kButtonOfTable[2]);
    EXPECT_EQ(Lines{"Filter: \"\" - Char: 128 - Type: -1"},
              FilterLines([&] { ChooseComboRow(window_, 10014, 2); }));
    std::set<std::uint32_t> passive =
        EnabledWhere(2, [](const std::uint8_t* r) { return ((Dword(r, 4) >> 18) & 0xFF) == 128; });
    EXPECT_EQ(passive, Listed(list));
    EXPECT_FALSE(passive.empty());
    EXPECT_LT(passive.size(), EnabledWhere(2).size());
    EXPECT_EQ(std::to_string(Dword(Rec(2, ListedRecords(list)[0]), 4)), Text(10024));
}

TEST_F(Dpi96ItemList, ColumnHeadersSortAsTheUserSeesThem) {
    ShowFirstTable();
    ClickButton(window_, kButtonOfTable[13]); // "Card": TypeIDs with bit 31 set show as negative numbers
    HWND list = GetDlgItem(window_, 10001);
    std::size_t count = ListedRecords(list).size();
    ClickColumnHeader(list, 0); // first click on "TypeID": ascending, unsigned
    std::vector<ListRow> rows = ReadListRows(list, 2);
    ASSERT_EQ(count, rows.size());
    ExpectTypeIdOrder(13, ListedRecords(list), +1);
    EXPECT_NE('-', rows.front().cells[0][0]);
    EXPECT_EQ('-', rows.back().cells[0][0]); // 0x8... shows negative and sorts large
    ClickColumnHeader(list, 1);              // first click on "Name": Z to A
    ExpectNameOrder(13, ListedRecords(list), -1);
    ClickColumnHeader(list, 0); // "TypeID" keeps its own bit: now descending
    ExpectTypeIdOrder(13, ListedRecords(list), -1);
    ClickButton(window_, 10013); // a refill starts over at A to Z
    ExpectNameOrder(13, ListedRecords(list), +1);
    ClickColumnHeader(list, 1);
    ExpectNameOrder(13, ListedRecords(list), -1);
    EXPECT_EQ(count, ListedRecords(list).size());

    // The member list's headers sort the item list too: "Qty" (bit 2) by name, Z to A.
    ClickButton(window_, kButtonOfTable[12]);
    ClickColumnHeader(GetDlgItem(window_, 10072), 2);
    ExpectNameOrder(12, ListedRecords(list), -1);
    EXPECT_EQ(EnabledWhere(12), Listed(list));
}

} // namespace
} // namespace ledgrin
