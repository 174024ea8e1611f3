// The window as created: each control as its control table row describes it, the layout
// at 96 DPI, after a resize and at 144 DPI, and every label fitting its control.
#include "tests/window/WindowFixture.h"

#include "app/Startup.h"
#include "ui/AppState.h"
#include "ui/Controls.h"

#include <algorithm>
#include <map>

namespace ledgrin {
namespace {

using Dpi96 = MainWindowTest;
using Dpi144 = MainWindowTest;

// The outer size, and every control with its row's class, text and visibility, at its
// table place scaled to `dpi` (rounded down), but for the controls in `grown`, which have
// that size.
void ExpectControls(HWND window, int dpi, SIZE outer, const std::map<int, SIZE>& grown = {}) {
    RECT w;
    GetWindowRect(window, &w);
    EXPECT_EQ(outer.cx, w.right - w.left);
    EXPECT_EQ(outer.cy, w.bottom - w.top);
    for (const ControlDef& c : kControls) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(window, c.id);
        char className[64] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_EQ(c.className, std::string(className));
        const bool combo = std::string(c.className) == "ComboBox";
        EXPECT_TRUE(combo || c.text == ControlText(window, c.id)); // a drop-down list shows its row
        EXPECT_EQ(c.shown, (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0);
        RECT r = {};
        GetWindowRect(control, &r);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
        auto g = grown.find(c.id);
        EXPECT_EQ(c.x96 * dpi / 96, r.left);
        EXPECT_EQ(c.y96 * dpi / 96, r.top);
        EXPECT_EQ(g != grown.end() ? g->second.cx : c.width96 * dpi / 96, r.right - r.left);
        // A drop-down list's creation height sizes the list that drops down.
        if (!combo) {
            EXPECT_EQ(g != grown.end() ? g->second.cy : c.height96 * dpi / 96, r.bottom - r.top);
        }
    }
}

// The width left for the text. A label has its whole width. A check box or radio button
// draws its box first: 13 pixels at 96 DPI, scaled (Wine's SM_CXMENUCHECK is 15 at 144
// DPI while it draws the box 19 wide), then a gap of half the width of "0" in the
// control's font, as Wine's button draws it. A push button, or a push-like radio button,
// draws its 3-D edge on both sides.
int TextRoom(const ControlDef& row, HWND control, HDC dc) {
    RECT client;
    GetClientRect(control, &client);
    if (std::string(row.className) == "Static") return client.right;
    if (row.style & BS_PUSHLIKE || (row.style & BS_TYPEMASK) == BS_PUSHBUTTON)
        return client.right - 2 * GetSystemMetrics(SM_CXEDGE);
    INT zero = 0;
    GetCharWidth32A(dc, '0', '0', &zero);
    return client.right - std::max(GetSystemMetrics(SM_CXMENUCHECK), MulDiv(13, gApp.dpi, 96)) - zero / 2;
}

// Every text a user reads on a label, check box, radio button or push button fits its
// control, in the arrangement of every table, measured with the control's own font.
void ExpectEveryTextFits(HWND window) {
    ShowFirstTable(window);
    for (TableIndex t = 1; t < kTableCount; ++t) {
        ClickButton(window, ButtonOf(t));
        for (const ControlDef& row : kControls) {
            HWND control = GetDlgItem(window, row.id);
            bool texted =
                std::string(row.className) == "Static" ||
                (std::string(row.className) == "Button" && (row.style & BS_TYPEMASK) != BS_GROUPBOX);
            if (!texted || !IsWindowVisible(control)) continue;
            char text[64] = {};
            GetWindowTextA(control, text, sizeof text);
            HDC dc = GetDC(control);
            HGDIOBJ old =
                SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
            SIZE size = {};
            GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
            EXPECT_LE(size.cx, TextRoom(row, control, dc)) << "table " << t << ", " << row.id << " " << text;
            SelectObject(dc, old);
            ReleaseDC(control, dc);
        }
    }
}

TEST_F(Dpi96, ControlsAreCreatedAsTheirRowsSayResizeAndStopAtTheBaseSizeAndEveryTextFits) {
    ASSERT_EQ(96, gApp.dpi) << "these tests need a Wine prefix at 96 DPI";
    ExpectControls(window_, 96, {868, 600});
    SetWindowPos(window_, nullptr, 0, 0, 968, 700, SWP_NOMOVE | SWP_NOZORDER);
    // The item list, the record panel, the list panel and the table bar grow.
    ExpectControls(window_, 96, {968, 700},
                   {{10001, {318, 500}}, {10018, {580, 601}}, {10082, {338, 601}}, {10046, {928, 43}}});
    SetWindowPos(window_, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    ExpectControls(window_, 96, {868, 600});
    ExpectEveryTextFits(window_);
}

// Run in a Wine prefix of its own whose screen is set to 144 DPI.
TEST_F(Dpi144, EverythingIsScaledByOneAndAHalfRoundedDownAndEveryTextFits) {
    ASSERT_EQ(144, gApp.dpi) << "run through tests/window/run-at-dpi 144";
    ExpectControls(window_, 144, {1302, 900});
    ExpectEveryTextFits(window_);
}

} // namespace
} // namespace ledgrin
