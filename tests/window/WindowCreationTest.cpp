// The window as created: each of the 82 controls as its control table row describes it,
// the drop-down lists filled at creation, the list-view columns, the layout at 96 DPI,
// after a resize and at 144 DPI, and every label fitting its control.
#include "tests/window/WindowFixture.h"

#include "app/Startup.h"
#include "records/Labels.h"
#include "ui/AppState.h"
#include "ui/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace ledgrin {
namespace {

using Dpi96 = MainWindowTest;
using Dpi144 = MainWindowTest;

bool IsCombo(const ControlSpec& c) {
    return std::string(c.className) == "ComboBox";
}

// The control's rectangle in client coordinates of its parent.
RECT ClientRect(HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE OuterSize(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// The minimum size, and every control at its table place scaled to `dpi` (rounded down),
// but for the controls in `grown`, which have that size.
void ExpectLayout(HWND window, int dpi, const std::map<int, SIZE>& grown = {}) {
    MINMAXINFO info;
    FillMemory(&info, sizeof info, 0x5A); // members the handler must leave alone keep this
    EXPECT_EQ(0, SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(868 * dpi / 96, info.ptMinTrackSize.x);
    EXPECT_EQ(600 * dpi / 96, info.ptMinTrackSize.y);
    EXPECT_EQ(0x5A5A5A5A, info.ptMaxTrackSize.x);
    for (const ControlSpec& c : kControls) {
        SCOPED_TRACE(c.id);
        RECT r = ClientRect(GetDlgItem(window, c.id));
        auto g = grown.find(c.id);
        EXPECT_EQ(c.x96 * dpi / 96, r.left);
        EXPECT_EQ(c.y96 * dpi / 96, r.top);
        EXPECT_EQ(g != grown.end() ? g->second.cx : c.width96 * dpi / 96, r.right - r.left);
        // A drop-down list's creation height sizes the list that drops down.
        if (!IsCombo(c)) {
            EXPECT_EQ(g != grown.end() ? g->second.cy : c.height96 * dpi / 96, r.bottom - r.top);
        }
    }
}

// The width left for the text. A label has its whole width. A check box or radio button
// draws its box first: 13 pixels at 96 DPI, scaled (Wine's SM_CXMENUCHECK is 15 at 144
// DPI while it draws the box 19 wide), then a gap of half the width of "0" in the
// control's font, as Wine's button draws it. A push button, or a push-like radio button,
// draws its 3-D edge on both sides.
int TextRoom(const ControlSpec& row, HWND control, HDC dc) {
    RECT client;
    GetClientRect(control, &client);
    if (std::string(row.className) == "Static") return client.right;
    if (row.style & BS_PUSHLIKE || (row.style & BS_TYPEMASK) == BS_PUSHBUTTON)
        return client.right - 2 * GetSystemMetrics(SM_CXEDGE);
    INT zero = 0;
    GetCharWidth32A(dc, '0', '0', &zero);
    return client.right - std::max(GetSystemMetrics(SM_CXMENUCHECK), MulDiv(13, gApp.dpi, 96)) - zero / 2;
}

// The texts of the shown controls that are wider than their room, as "ID "text" width > room".
std::vector<std::string> ClippedTexts(HWND window) {
    std::vector<std::string> clipped;
    for (const ControlSpec& row : kControls) {
        std::string cls = row.className;
        HWND control = GetDlgItem(window, row.id);
        bool texted = cls == "Static" || (cls == "Button" && (row.style & BS_TYPEMASK) != BS_GROUPBOX);
        if (!texted || !IsWindowVisible(control)) continue;
        char text[64] = {};
        GetWindowTextA(control, text, sizeof text);
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
        SIZE size = {};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        int room = TextRoom(row, control, dc);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        if (size.cx > room)
            clipped.push_back(std::to_string(row.id) + " \"" + text + "\" " + std::to_string(size.cx) +
                              " > " + std::to_string(room));
    }
    return clipped;
}

// Every text a user reads on a label, check box, radio button or push button fits its
// control, in the arrangement of every table, measured with the control's own font.
void ExpectEveryTextFits(HWND window) {
    ShowFirstTable(window);
    for (TableIndex t = 1; t < kTableCount; ++t) {
        ClickButton(window, kButtonOfTable[t]);
        EXPECT_EQ(std::vector<std::string>{}, ClippedTexts(window)) << "table " << t;
    }
}

TEST_F(Dpi96, EveryControlIsCreatedAsItsTableRowSaysInThatOrder) {
    ASSERT_EQ(96, gApp.dpi) << "these tests need a Wine prefix at 96 DPI";
    HWND control = GetWindow(window_, GW_CHILD); // z-order is the creation order
    for (const ControlSpec& c : kControls) {
        SCOPED_TRACE(c.id);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(c.id, GetDlgCtrlID(control));
        char className[64] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_EQ(c.className, std::string(className));
        // Wine's combo box moves WS_VSCROLL from its own style to its drop-down list.
        const DWORD mask = IsCombo(c) ? ~static_cast<DWORD>(WS_VSCROLL) : ~0u;
        EXPECT_EQ((WS_CHILD | (c.shown ? WS_VISIBLE : 0) | c.style) & mask,
                  GetWindowLongA(control, GWL_STYLE) & mask);
        const DWORD edge = std::string(c.className) == "SysListView32" ? WS_EX_CLIENTEDGE : 0;
        EXPECT_EQ(edge, static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)));
        EXPECT_TRUE(IsWindowEnabled(control));
        EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT),
                  reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
        EXPECT_EQ(BST_UNCHECKED, SendMessageA(control, BM_GETCHECK, 0, 0)); // before "Part" is checked
        EXPECT_TRUE(IsCombo(c) || c.text == Text(c.id)) << Text(c.id);      // a drop-down list shows its row
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, control);
    EXPECT_EQ(868, OuterSize(window_).cx);
    EXPECT_EQ(600, OuterSize(window_).cy);
    ExpectLayout(window_, 96);
}

TEST_F(Dpi96, ListsAndColumnsAreFilledAtCreation) {
    // The panel's lists without a selection. (The filter lists are checked as start-up
    // shows them.)
    std::vector<ComboRow> ranks;
    for (int i = 0; i < kPlayerRankLabels.count; ++i)
        ranks.push_back({kPlayerRankLabels.labels[i], 0});
    EXPECT_EQ(ranks, ComboRows(window_, 10027));
    EXPECT_EQ((std::vector<ComboRow>{{"Crells", 0}, {"Points", 0}}), ComboRows(window_, 10004));
    EXPECT_EQ(CB_ERR, ComboSelection(window_, 10004));
    EXPECT_EQ(CB_ERR, ComboSelection(window_, 10027));
    std::map<int, int> columns; // per list view: the columns seen so far
    for (const ColumnSpec& row : kColumns) {
        char text[64] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        SendMessageA(Item(row.listId), LVM_GETCOLUMNA, columns[row.listId]++,
                     reinterpret_cast<LPARAM>(&column));
        EXPECT_EQ(row.header, std::string(text));
        EXPECT_EQ(row.width96, column.cx);
        EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK);
    }
    for (const auto& [id, count] : columns) {
        HWND header = reinterpret_cast<HWND>(SendMessageA(Item(id), LVM_GETHEADER, 0, 0));
        EXPECT_EQ(count, SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) << id;
        EXPECT_EQ(LVS_EX_FULLROWSELECT, SendMessageA(Item(id), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)) << id;
    }
}

TEST_F(Dpi96, ResizingMovesTheListAndTheThreeFramesOnlyAndStopsAtTheBaseSize) {
    SetWindowPos(window_, nullptr, 0, 0, 968, 700, SWP_NOMOVE | SWP_NOZORDER);
    // The item list, the record panel, the list panel and the table bar grow.
    ExpectLayout(window_, 96,
                 {{10001, {318, 500}}, {10018, {580, 601}}, {10082, {338, 601}}, {10046, {928, 43}}});
    SetWindowPos(window_, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(868, OuterSize(window_).cx);
    EXPECT_EQ(600, OuterSize(window_).cy);
    ExpectLayout(window_, 96);
}

// Run in a Wine prefix of its own whose screen is set to 144 DPI.
TEST_F(Dpi144, EverythingIsScaledByOneAndAHalfRoundedDown) {
    ASSERT_EQ(144, gApp.dpi) << "run through tests/window/run-at-dpi 144";
    EXPECT_EQ(1302, OuterSize(window_).cx);
    EXPECT_EQ(900, OuterSize(window_).cy);
    ExpectLayout(window_, 144);
    ExpectEveryTextFits(window_);
}

TEST_F(Dpi96, EveryTextFitsItsControl) {
    ExpectEveryTextFits(window_);
}

} // namespace
} // namespace ledgrin
