// The item list as a user works it: the thirteen table buttons, the search box, a filter
// list, " Shop active", "X" and the column headers. The filter values and the sort order
// are tested natively; here, that the window's controls reach them.
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"
#include "view/ItemFilter.h"
#include "view/PanelLayout.h"

#include <commctrl.h>

#include <algorithm>

namespace ledgrin {
namespace {

using Dpi96ItemList = MainWindowTest;
using Records = std::vector<std::uint32_t>;

// The list holds the records of table t that pass `state`, sorted by `column` with the
// direction bits `bits`.
void ExpectListed(HWND list, TableIndex t, const FilterState& state, int column = 1, std::uint32_t bits = 0) {
    Records rows = ListedRecords(list), sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(FilterRecords(gApp.store, t, state), sorted);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(CompareListRows(gApp.store, t, rows[i - 1], rows[i], column, bits), 0) << "row " << i;
}

// Table t as the user meets it after start-up or a table switch that printed `lines`: its
// button alone checked; one refill and one record shown; the panel as the table's panel
// row says (the card block's effect controls follow the shown card instead); the filter
// lists enabled and filled for t, each at its first row; " Shop active" off, the search
// box empty; the enabled records listed by name with their TypeID and Name, the top row
// selected and shown.
void ExpectTableShown(HWND window, TableIndex t, const Lines& lines) {
    EXPECT_EQ(t, gApp.currentTable);
    for (TableIndex other = 1; other <= 13; ++other)
        EXPECT_EQ(other == t, IsChecked(window, ButtonOf(other))) << other;
    for (const char* prefix : {"Filter: ", "Entry clicked: "})
        EXPECT_EQ(1, std::count_if(lines.begin(), lines.end(),
                                   [&](const std::string& l) { return !l.rfind(prefix, 0); }));
    for (const ControlVisibility& c : PanelVisibility(t))
        EXPECT_TRUE((t == 13 && c.id >= 10078) ||
                    c.visible == (IsWindowVisible(GetDlgItem(window, c.id)) != 0))
            << "control " << c.id;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(PanelFor(t).statCaptions[i], ControlText(window, 10030 + 3 * i));
    EXPECT_EQ(TableHasCharFilter(t), IsWindowEnabled(GetDlgItem(window, 10014)) != FALSE);
    EXPECT_EQ(TableHasTypeFilter(t), IsWindowEnabled(GetDlgItem(window, 10015)) != FALSE);
    EXPECT_EQ(PanelFor(t).shopFilterEnabled, IsWindowEnabled(GetDlgItem(window, 10016)) != FALSE);
    for (const FilterFill& fill : FilterFills(t)) {
        if (!fill.comboId) continue;
        std::vector<std::pair<std::string, long>> rows;
        for (const FilterRow& row : FilterRows(fill.firstRow, *fill.labels))
            rows.emplace_back(row.text, row.data);
        EXPECT_EQ(rows, ComboRows(window, fill.comboId));
        EXPECT_EQ(0, ComboSelection(window, fill.comboId));
    }
    EXPECT_FALSE(IsChecked(window, 10016));
    EXPECT_EQ("", ControlText(window, 10012));
    HWND list = GetDlgItem(window, 10001);
    ExpectListed(list, t, {});
    std::vector<ListRow> rows = ReadListRows(list, 2);
    ASSERT_FALSE(rows.empty());
    const std::uint8_t* top = gApp.store.Record(t, static_cast<std::uint32_t>(rows[0].param));
    const std::string name = std::string(reinterpret_cast<const char*>(top + 8), 40).c_str();
    EXPECT_EQ((Lines{std::to_string(static_cast<std::int32_t>(test::Get(top + 4, 4))), name}), rows[0].cells);
    EXPECT_TRUE(rows[0].selected);
    EXPECT_EQ(0, SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
    EXPECT_EQ(name, ControlText(window, 10020));
}

TEST_F(Dpi96ItemList, StartUpAndEveryTableButtonShowTheirTable) {
    ExpectTableShown(window_, 1, PrintedLines([&] { ShowFirstTable(); }));
    for (TableIndex t = 1; t <= 13; ++t) { // "Part" first: pressed again while shown
        SCOPED_TRACE("table " + std::to_string(t));
        // Filters away from their defaults: the switch sets them back.
        SendDlgItemMessageA(window_, 10016, BM_SETCHECK, BST_CHECKED, 0);
        SendDlgItemMessageA(window_, 10014, CB_SETCURSEL, 1, 0);
        SendDlgItemMessageA(window_, 10015, CB_SETCURSEL, 1, 0);
        SetDlgItemTextA(window_, 10012, "e");
        ExpectTableShown(window_, t, PrintedLines([&] { ClickButton(window_, ButtonOf(t)); }));
    }
}

TEST_F(Dpi96ItemList, EachKeyFilterRowShopActiveAndXRefillOnce) {
    ShowFirstTable();
    const struct {
        TableIndex t;
        std::function<void()> action;
        FilterState state; // and the search box's text
    } steps[] = {
        {1, [&] { SendMessageA(Item(10012), WM_CHAR, 'e', 1); }, {"e"}},
        {1, [&] { SendMessageA(Item(10012), WM_CHAR, 'L', 1); }, {"eL"}},
        {1, [&] { ClickButton(window_, 10013); }, {}}, // "X"
        {1, [&] { ClickButton(window_, 10016); }, {"", -1, -1, true}},
        {2, [&] { ClickButton(window_, ButtonOf(2)); }, {}},
        // Item's "Passive" (row 2, item data 2): char (TypeID bits 18..25) 128.
        {2,
         [&] {
             SendDlgItemMessageA(window_, 10014, CB_SETCURSEL, 2, 0);
             SendMessageA(window_, WM_COMMAND, MAKEWPARAM(10014, CBN_SELCHANGE), LPARAM(Item(10014)));
         },
         {"", 128}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE("search \"" + s.state.search + "\" char " + std::to_string(s.state.charFilter));
        EXPECT_EQ(1u, PrintedLines(s.action, "Filter: ").size());
        EXPECT_EQ(s.state.search, Text(10012));
        ExpectListed(Item(10001), s.t, s.state);
        // Each filter keeps some records, and not all.
        const Records kept = FilterRecords(gApp.store, s.t, s.state),
                      all = FilterRecords(gApp.store, s.t, {});
        EXPECT_TRUE((s.state.search.empty() && s.state.charFilter < 0 && !s.state.shopOnly) ||
                    (!kept.empty() && kept != all));
    }
}

TEST_F(Dpi96ItemList, ColumnHeadersSortTheItemList) {
    ShowFirstTable();
    ClickButton(window_, ButtonOf(12)); // "SetItem": its member list shows
    HWND list = Item(10001);
    // {list view, column clicked, direction bits}: each click flips its column's bit; a
    // refill ("X", no list view) clears them. The member list's headers sort the item list.
    const std::tuple<HWND, int, std::uint32_t> clicks[] = {
        {list, 0, 1}, {list, 1, 3}, {list, 0, 2}, {nullptr, 1, 0}, {list, 1, 2}, {Item(10072), 2, 6}};
    for (const auto& [header, column, bits] : clicks) {
        if (header) {
            HWND control = reinterpret_cast<HWND>(SendMessageA(header, LVM_GETHEADER, 0, 0));
            RECT r = {};
            SendMessageA(control, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
            const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageA(control, WM_LBUTTONUP, 0, at);
        } else {
            ClickButton(window_, 10013);
        }
        ExpectListed(list, 12, {}, column, bits);
    }
}

} // namespace
} // namespace ledgrin
