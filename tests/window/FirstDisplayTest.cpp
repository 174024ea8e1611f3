// What the user sees once start-up has shown the first table, and how the window
// routes the first few things a user does.
#include "tests/window/WindowFixture.h"

#include "records/RecordHead.h"
#include "ui/AppState.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace ledgrin {
namespace {

using Dpi96 = MainWindowTest;

struct ListRow {
    std::string typeId, name;
    LPARAM index;
    bool selected;
};

std::vector<ListRow> ListRows(HWND list) {
    std::vector<ListRow> rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char typeId[32] = {}, name[64] = {};
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
        item.stateMask = LVIS_SELECTED;
        item.iItem = i;
        item.pszText = typeId;
        item.cchTextMax = sizeof typeId;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMA sub = {};
        sub.iSubItem = 1;
        sub.pszText = name;
        sub.cchTextMax = sizeof name;
        SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&sub));
        rows.push_back({typeId, name, item.lParam, (item.state & LVIS_SELECTED) != 0});
    }
    return rows;
}

// Name order written independently: A-Z folded to a-z, then bytes compared unsigned.
bool NameNotAfter(const std::string& a, const std::string& b) {
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return fold(a[i]) < fold(b[i]);
    return a.size() <= b.size();
}

std::size_t EnabledRecords(TableIndex t) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < gStore[t].RecordCount; ++i)
        count += RecordEnabled(gStore.Record(t, i)) != 0;
    return count;
}

TEST_F(Dpi96, PartIsCheckedAndTheListHoldsItsEnabledRecordsByName) {
    ShowFirstTable();
    EXPECT_EQ(BST_CHECKED, SendMessageA(Item(10010), BM_GETCHECK, 0, 0));
    EXPECT_EQ(kPartTable, gCurrentTable);
    EXPECT_FALSE(gInitialising);
    std::vector<ListRow> rows = ListRows(Item(10001));
    ASSERT_EQ(EnabledRecords(kPartTable), rows.size());
    ASSERT_GT(rows.size(), 2u);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_TRUE(NameNotAfter(rows[i - 1].name, rows[i].name))
            << rows[i - 1].name << " / " << rows[i].name;
    EXPECT_TRUE(IsWindowVisible(Item(10001)));
}

TEST_F(Dpi96, EachRowShowsItsRecordsTypeIdAndName) {
    ShowFirstTable();
    for (const ListRow& row : ListRows(Item(10001))) {
        const std::uint8_t* record = gStore.Record(kPartTable, static_cast<std::size_t>(row.index));
        EXPECT_EQ(std::to_string(static_cast<std::int32_t>(RecordTypeId(record))), row.typeId);
        EXPECT_EQ(std::string(RecordName(record)), row.name);
    }
}

TEST_F(Dpi96, TopRowIsSelectedAndShownInThePanel) {
    ShowFirstTable();
    std::vector<ListRow> rows = ListRows(Item(10001));
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(rows[0].selected);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_FALSE(rows[i].selected) << "row " << i;
    EXPECT_EQ(0, SendMessageA(Item(10001), LVM_GETSELECTIONMARK, 0, 0));
    const std::uint8_t* record = gStore.Record(kPartTable, static_cast<std::size_t>(rows[0].index));
    EXPECT_EQ(rows[0].name, Text(10020));
    EXPECT_EQ(std::to_string(RecordTypeId(record)), Text(10024));
    EXPECT_EQ(std::to_string(RecordPrice(record)), Text(10003));
}

TEST_F(Dpi96, FiltersStartAtTheirDefaults) {
    ShowFirstTable();
    EXPECT_EQ("", Text(10012));
    EXPECT_EQ(0, SendMessageA(Item(10014), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(0, SendMessageA(Item(10015), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(Item(10016), BM_GETCHECK, 0, 0));
}

TEST_F(Dpi96, TabMovesFromTheNameEditToThePriceEdit) {
    ShowFirstTable();
    SetForegroundWindow(window_);
    SetFocus(Item(10020));
    ASSERT_EQ(Item(10020), GetFocus());
    MSG tab = {Item(10020), WM_KEYDOWN, VK_TAB, 0x000F0001, 0, {0, 0}};
    // The message loop offers every message to IsDialogMessageA first.
    EXPECT_TRUE(IsDialogMessageA(window_, &tab));
    EXPECT_EQ(Item(10003), GetFocus());
}

TEST_F(Dpi96, SelectionsBeforeTheWindowIsShownAreNotDisplayed) {
    // gInitialising is still set: the list's item changes leave the panel empty.
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.pszText = const_cast<char*>("1");
    item.lParam = 0;
    SendMessageA(Item(10001), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    LVITEMA selected = {};
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    SendMessageA(Item(10001), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
    EXPECT_EQ("", Text(10020));
    EXPECT_EQ("", Text(10024));
}

TEST_F(Dpi96, TypingASearchTextRefillsTheList) {
    ShowFirstTable();
    SetDlgItemTextA(window_, 10012, "no item is called this");
    EXPECT_EQ(0u, ListRows(Item(10001)).size());
    // "X" brings every enabled record back.
    SendMessageA(Item(10013), BM_CLICK, 0, 0);
    EXPECT_EQ("", Text(10012));
    EXPECT_EQ(EnabledRecords(kPartTable), ListRows(Item(10001)).size());
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

TEST_F(Dpi96, ResetRefillsExactlyOnceEvenWithAnEmptySearchBox) {
    ShowFirstTable();
    ASSERT_EQ("", Text(10012));
    testing::internal::CaptureStdout();
    SendMessageA(Item(10013), BM_CLICK, 0, 0);
    std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(1u, Count(output, "Filter: ")) << output;
    // The refill selects the top row again, which shows its record again.
    EXPECT_EQ(1u, Count(output, "Entry clicked: ")) << output;
}

TEST_F(Dpi96, ColumnClickSortsByTypeIdAscendingFirst) {
    ShowFirstTable();
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = Item(10001);
    click.hdr.idFrom = 10001;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 0;
    SendMessageA(window_, WM_NOTIFY, 10001, reinterpret_cast<LPARAM>(&click));
    std::vector<ListRow> rows = ListRows(Item(10001));
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(RecordTypeId(gStore.Record(kPartTable, static_cast<std::size_t>(rows[i - 1].index))),
                  RecordTypeId(gStore.Record(kPartTable, static_cast<std::size_t>(rows[i].index))));
}

TEST_F(Dpi96, TableButtonShowsThatTable) {
    ShowFirstTable();
    SendMessageA(Item(10047), BM_CLICK, 0, 0); // "Item"
    EXPECT_EQ(kItemTable, gCurrentTable);
    std::vector<ListRow> rows = ListRows(Item(10001));
    ASSERT_EQ(EnabledRecords(kItemTable), rows.size());
    ASSERT_FALSE(rows.empty());
    const std::uint8_t* top = gStore.Record(kItemTable, static_cast<std::size_t>(rows[0].index));
    EXPECT_EQ(std::to_string(RecordTypeId(top)), Text(10024));
}

} // namespace
} // namespace ledgrin
