// The 82 controls as the window holds them right after creation: each as the control table
// describes it, in its order, and the lists filled at creation.
#include "tests/window/WindowFixture.h"

#include "records/Labels.h"
#include "ui/AppState.h"
#include "ui/Controls.h"

#include <commctrl.h>

#include <tuple>
#include <vector>

namespace ledgrin {
namespace {

using Dpi96 = MainWindowTest;

bool IsCombo(const ControlSpec& c) {
    return std::string(c.className) == "ComboBox";
}

TEST_F(Dpi96, EveryControlIsCreatedAsItsTableRowSaysInThatOrder) {
    ASSERT_EQ(96, gApp.dpi) << "these tests need a Wine prefix at 96 DPI";
    HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    HWND control = GetWindow(window_, GW_CHILD); // z-order is the creation order
    for (const ControlSpec& c : kControls) {
        SCOPED_TRACE(c.id);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(c.id, GetDlgCtrlID(control));
        char className[64] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_EQ(c.className, std::string(className));
        DWORD style = WS_CHILD | (c.shown ? WS_VISIBLE : 0) | c.style;
        // Wine's combo box moves WS_VSCROLL from its own style to its drop-down list.
        if (IsCombo(c) && RunningUnderWine()) style &= ~WS_VSCROLL;
        EXPECT_EQ(style, static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)));
        const DWORD edge = std::string(c.className) == "SysListView32" ? WS_EX_CLIENTEDGE : 0;
        EXPECT_EQ(edge, static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)));
        EXPECT_EQ(c.shown, IsWindowVisible(control) != FALSE);
        EXPECT_TRUE(IsWindowEnabled(control));
        EXPECT_EQ(stock, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
        EXPECT_EQ(BST_UNCHECKED, SendMessageA(control, BM_GETCHECK, 0, 0)); // before "Part" is checked
        RECT r = ClientRect(control);
        EXPECT_EQ(c.x96, r.left);
        EXPECT_EQ(c.y96, r.top);
        EXPECT_EQ(c.width96, r.right - r.left);
        // A drop-down list's text is its selected row, and its creation height sizes the
        // list that drops down.
        if (!IsCombo(c)) {
            EXPECT_EQ(c.text, Text(c.id));
            EXPECT_EQ(c.height96, r.bottom - r.top);
        }
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, control);
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

TEST_F(Dpi96, TheFourDropDownListsAreFilledAtCreation) {
    std::vector<ComboRow> ranks;
    for (int i = 0; i < 17; ++i)
        ranks.push_back({kPlayerRankLabels.labels[i], 0});
    std::vector<ComboRow> characters = {{"(All Chars)", 0}};
    for (long data : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15}) // code 13 (data 14) has no name
        characters.push_back({kCharacterNames.labels[data - 1], data});
    const std::vector<ComboRow> slots = {{"(All Types)", 0}, {"Top", 1},        {"Bottom", 2},
                                         {"Hair/Hat", 3},    {"Gloves", 4},     {"Shoes", 5},
                                         {"Accessory", 6},   {"Selfdesign", 9}, {"Selfdesign Copy", 10}};
    // {list, rows, selected row}: the filters start at their first row, the panel's lists
    // without a selection.
    const std::tuple<int, std::vector<ComboRow>, int> lists[] = {
        {10004, {{"Crells", 0}, {"Points", 0}}, CB_ERR},
        {10027, ranks, CB_ERR},
        {10014, characters, 0},
        {10015, slots, 0}};
    for (const auto& [id, rows, selected] : lists) {
        EXPECT_EQ(rows, ComboRows(window_, id)) << id;
        EXPECT_EQ(selected, ComboSelection(window_, id)) << id;
    }
}

TEST_F(Dpi96, ListViewsHaveTheirColumnsAndSelectWholeRows) {
    using Columns = std::vector<std::pair<std::string, int>>; // header text, width
    const std::pair<int, Columns> lists[] = {{10001, {{"TypeID", 75}, {"Name", 218}}},
                                             {10072, {{"TypeID", 90}, {"Name", 260}, {"Qty", 60}}}};
    for (const auto& [id, expected] : lists) {
        Columns columns;
        HWND header = reinterpret_cast<HWND>(SendMessageA(Item(id), LVM_GETHEADER, 0, 0));
        for (int i = 0; i < SendMessageA(header, HDM_GETITEMCOUNT, 0, 0); ++i) {
            char text[64] = {};
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.pszText = text;
            column.cchTextMax = sizeof text;
            SendMessageA(Item(id), LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
            columns.push_back({text, column.cx});
            EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK) << id;
        }
        EXPECT_EQ(expected, columns) << id;
        EXPECT_EQ(LVS_EX_FULLROWSELECT, SendMessageA(Item(id), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)) << id;
    }
}

} // namespace
} // namespace ledgrin
