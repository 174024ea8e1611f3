// The item list and the record panel as a user works them: the thirteen table buttons, a
// click on each row, the search box, a filter list, " Shop active", "X" and a column
// header. Filter values, sort order and record displays are tested natively; here, that
// the window's controls reach them.
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"
#include "view/ItemFilter.h"
#include "view/PanelLayout.h"
#include "view/RecordDisplay.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

namespace ledgrin {
namespace {

using Dpi96Browse = MainWindowTest;
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

// The control that shows each value of record d of table t, written out. Rental prices
// belong to Mascot (5), Skin (7) and CaddieItem (11); the bonus block to Mascot;
// " pay monthly" to Caddie (6); the card block to Card (13).
void ExpectPanelShows(HWND window, TableIndex t, const RecordDisplay& d) {
    const RecordValues& v = d.values;
    std::map<int, std::string> texts = {{10020, v.name},          {10024, d.typeIdText},
                                        {10022, d.characterText}, {10003, std::to_string(v.price)},
                                        {10002, d.description},   {10065, std::to_string(v.discountPrice)}};
    std::map<int, std::uint32_t> numbers;
    for (int i = 0; i < 5; ++i) {
        numbers[10031 + 3 * i] = v.stats[i];
        numbers[10032 + 3 * i] = v.seconds[i];
    }
    std::map<int, bool> checks = {{10005, v.tradeable},   {10006, v.notGiftable}, {10007, v.availInShop},
                                  {10061, v.displayOnly}, {10008, v.isNew},       {10009, v.isHot},
                                  {10028, !v.maximum},    {10029, v.maximum}};
    if (t == 5 || t == 7 || t == 11) numbers.insert({{10058, v.price7Days}, {10059, v.price30Days}});
    if (t == 5) {
        numbers.insert({{10052, v.crellPercent}, {10054, v.expPercent}});
        checks[10055] = v.extraItem;
    }
    if (t == 6) checks[10062] = v.payMonthly;
    if (t == 13) {
        texts[10075] = d.cardpackText;
        numbers.insert({{10077, d.position}, {10079, v.effectValue}, {10081, v.effectTime}});
        for (int id : {10078, 10079, 10080, 10081})
            EXPECT_EQ(id < 10080 ? d.showEffectValue : d.showEffectTime,
                      IsWindowVisible(GetDlgItem(window, id)) != 0);
    }
    for (const auto& [id, number] : numbers)
        texts[id] = std::to_string(number);
    for (const auto& [id, text] : texts)
        EXPECT_EQ(text, ControlText(window, id)) << "control " << id;
    for (const auto& [id, checked] : checks)
        EXPECT_EQ(checked, IsChecked(window, id)) << "control " << id;
    EXPECT_EQ(v.currencyRow, SendDlgItemMessageA(window, 10004, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(v.levelRow, SendDlgItemMessageA(window, 10027, CB_GETCURSEL, 0, 0));
}

TEST_F(Dpi96Browse, EveryTableButtonShowsItsTableAndEveryRowItsRecord) {
    ShowFirstTable();
    HWND list = Item(10001);
    for (TableIndex t = 1; t <= 13; ++t) { // "Part" first: pressed again while shown
        SCOPED_TRACE("table " + std::to_string(t));
        ClickButton(window_, ButtonOf(t));
        // Its button alone checked; the filter lists and " Shop active" enabled for it; its
        // enabled records listed by name, the top row selected and its record shown.
        for (TableIndex other = 1; other <= 13; ++other)
            EXPECT_EQ(other == t, IsChecked(window_, ButtonOf(other))) << other;
        EXPECT_EQ(TableHasCharFilter(t), IsWindowEnabled(Item(10014)) != FALSE);
        EXPECT_EQ(TableHasTypeFilter(t), IsWindowEnabled(Item(10015)) != FALSE);
        EXPECT_EQ(PanelFor(t).shopFilterEnabled, IsWindowEnabled(Item(10016)) != FALSE);
        ExpectListed(list, t, {});
        Records rows = ListedRecords(list);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(0, SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        ExpectPanelShows(window_, t, BuildRecordDisplay(gApp.store, t, rows[0]));
        // From the bottom up, so that every row is a change from the one before.
        for (int row = static_cast<int>(rows.size()) - 1; row >= 0; --row) {
            SCOPED_TRACE("record " + std::to_string(rows[row]));
            Lines lines = PrintedLines([&] { ClickRow(list, row); });
            RecordDisplay d = BuildRecordDisplay(gApp.store, t, rows[row]);
            ASSERT_TRUE(d.valid);
            EXPECT_EQ(test::SplitLines(d.clickedLine + d.fieldsLine), lines);
            ExpectPanelShows(window_, t, d);
        }
    }
}

TEST_F(Dpi96Browse, EachKeyFilterRowShopActiveAndXRefillTheList) {
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
        s.action();
        EXPECT_EQ(s.state.search, ControlText(window_, 10012));
        ExpectListed(Item(10001), s.t, s.state);
    }
}

// A click on the TypeID header sorts the list by TypeID, its direction bit flipped.
TEST_F(Dpi96Browse, AHeaderClickSortsTheItemList) {
    ShowFirstTable();
    HWND header = reinterpret_cast<HWND>(SendMessageA(Item(10001), LVM_GETHEADER, 0, 0));
    RECT r = {};
    SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
    ExpectListed(Item(10001), 1, {}, 0, 1);
}

} // namespace
} // namespace ledgrin
