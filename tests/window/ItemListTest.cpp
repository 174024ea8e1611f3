// The item list as a user works it: the thirteen table buttons, the search box, a filter
// list, " Shop active", "X" and the column headers. The filter values and the sort order
// are tested natively; here, that the window's controls reach them.
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"
#include "view/ItemFilter.h"
#include "view/PanelLayout.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace ledgrin {
namespace {

using Dpi96ItemList = MainWindowTest;
using Lines = std::vector<std::string>;
using Records = std::vector<std::uint32_t>;

Lines FilterLines(const std::function<void()>& action) {
    return LinesStartingWith(PrintedLines(action), "Filter: ");
}

// The records listed, in index order, as the filter functions pick them.
Records Sorted(Records rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

// A mouse click on the header of column `column` of a list view.
void ClickColumnHeader(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT r = {};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
}

// The list is sorted by `column` with the direction bits `bits`.
void ExpectSortedBy(HWND list, TableIndex t, int column, std::uint32_t bits) {
    Records rows = ListedRecords(list);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(CompareListRows(gApp.store, t, rows[i - 1], rows[i], column, bits), 0) << "row " << i;
}

// Table t as the user meets it after start-up or a table switch that printed `lines`: its
// button alone checked; one refill and one record shown; the panel as the table's panel
// row says (the card block's effect controls follow the shown card instead); the filter
// lists enabled and filled for t or, where t fills nothing, as they were (`before`), each
// at its first row; " Shop active" off, the search box empty; the enabled records listed
// by name with their TypeID and Name, the top row selected and shown.
void ExpectTableShown(HWND window, TableIndex t, const Lines& lines,
                      const std::vector<ComboRow> (&before)[2]) {
    EXPECT_EQ(t, gApp.currentTable);
    for (TableIndex other = 1; other <= 13; ++other)
        EXPECT_EQ(other == t, IsChecked(window, kButtonOfTable[other])) << other;
    EXPECT_EQ(1u, LinesStartingWith(lines, "Filter: ").size());
    EXPECT_EQ(1u, LinesStartingWith(lines, "Entry clicked: ").size());
    for (const ControlVisibility& c : PanelVisibility(t))
        EXPECT_TRUE((t == 13 && c.id >= 10078) ||
                    c.visible == (IsWindowVisible(GetDlgItem(window, c.id)) != 0))
            << "control " << c.id;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(PanelFor(t).statCaptions[i], ControlText(window, 10030 + 3 * i));
    EXPECT_EQ(TableHasCharFilter(t), IsWindowEnabled(GetDlgItem(window, 10014)) != FALSE);
    EXPECT_EQ(TableHasTypeFilter(t), IsWindowEnabled(GetDlgItem(window, 10015)) != FALSE);
    EXPECT_EQ(PanelFor(t).shopFilterEnabled, IsWindowEnabled(GetDlgItem(window, 10016)) != FALSE);
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
    EXPECT_EQ(FilterRecords(gApp.store, t, {}), Sorted(ListedRecords(list)));
    ExpectSortedBy(list, t, 1, 0);
    std::vector<ListRow> rows = ReadListRows(list, 2);
    ASSERT_FALSE(rows.empty());
    const std::uint8_t* top = gApp.store.Record(t, static_cast<std::uint32_t>(rows[0].param));
    const std::string name = std::string(reinterpret_cast<const char*>(top + 8), 40).c_str();
    EXPECT_EQ((Lines{std::to_string(static_cast<std::int32_t>(Dword(top, 4))), name}), rows[0].cells);
    EXPECT_TRUE(rows[0].selected);
    EXPECT_EQ(0, SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
    EXPECT_EQ(name, ControlText(window, 10020));
}

TEST_F(Dpi96ItemList, StartUpAndEveryTableButtonShowTheirTable) {
    const std::vector<ComboRow> created[2] = {ComboRows(window_, 10014), ComboRows(window_, 10015)};
    Lines lines = PrintedLines([&] { ShowFirstTable(); });
    ExpectTableShown(window_, 1, lines, created);
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
    HWND list = Item(10001), search = Item(10012);
    EXPECT_EQ(Lines{"Filter: \"e\" - Char: -1 - Type: -1"},
              FilterLines([&] { SendMessageA(search, WM_CHAR, 'e', 1); }));
    EXPECT_EQ(Lines{"Filter: \"eL\" - Char: -1 - Type: -1"},
              FilterLines([&] { SendMessageA(search, WM_CHAR, 'L', 1); }));
    Records named = FilterRecords(gApp.store, 1, {"eL", -1, -1, false});
    EXPECT_EQ(named, Sorted(ListedRecords(list)));
    EXPECT_LT(named.size(), FilterRecords(gApp.store, 1, {}).size());
    EXPECT_EQ(1u, FilterLines([&] { ClickButton(window_, 10013); }).size()); // "X"
    EXPECT_EQ("", Text(10012));
    EXPECT_EQ(FilterRecords(gApp.store, 1, {}), Sorted(ListedRecords(list)));
}

TEST_F(Dpi96ItemList, FilterRowAndShopActiveKeepTheMatchingRecords) {
    ShowFirstTable();
    HWND list = Item(10001);
    EXPECT_EQ(1u, FilterLines([&] { ClickButton(window_, 10016); }).size());
    Records inShop = FilterRecords(gApp.store, 1, {"", -1, -1, true});
    EXPECT_EQ(inShop, Sorted(ListedRecords(list)));
    EXPECT_LT(inShop.size(), FilterRecords(gApp.store, 1, {}).size());
    // Item "Passive" (row 2, item data 2): char (TypeID bits 18..25) 128.
    ClickButton(window_, kButtonOfTable[2]);
    EXPECT_EQ(Lines{"Filter: \"\" - Char: 128 - Type: -1"}, FilterLines([&] {
                  SendDlgItemMessageA(window_, 10014, CB_SETCURSEL, 2, 0);
                  SendMessageA(window_, WM_COMMAND, MAKEWPARAM(10014, CBN_SELCHANGE), LPARAM(Item(10014)));
              }));
    Records passive = FilterRecords(gApp.store, 2, {"", 128, -1, false});
    EXPECT_EQ(passive, Sorted(ListedRecords(list)));
    EXPECT_FALSE(passive.empty());
    EXPECT_LT(passive.size(), FilterRecords(gApp.store, 2, {}).size());
}

TEST_F(Dpi96ItemList, ColumnHeadersSortTheItemList) {
    ShowFirstTable();
    ClickButton(window_, kButtonOfTable[12]); // "SetItem": its member list shows
    HWND list = Item(10001);
    const Records listed = Sorted(ListedRecords(list));
    // {list view, column clicked, direction bits}: each click flips its column's bit; a
    // refill ("X", no list view) clears them. The member list's headers sort the item list.
    const std::tuple<HWND, int, std::uint32_t> clicks[] = {
        {list, 0, 1}, {list, 1, 3}, {list, 0, 2}, {nullptr, 1, 0}, {list, 1, 2}, {Item(10072), 2, 6}};
    for (const auto& [header, column, bits] : clicks) {
        header ? ClickColumnHeader(header, column) : ClickButton(window_, 10013);
        ExpectSortedBy(list, 12, column, bits);
        EXPECT_EQ(listed, Sorted(ListedRecords(list)));
    }
}

} // namespace
} // namespace ledgrin
