// Every text a user reads on a label, check box, radio button or push button fits its
// control, in the arrangement of every table, measured with the control's own font.
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"
#include "ui/Controls.h"

#include <algorithm>

namespace ledgrin {
namespace {

// The width left for the text. A label has its whole width. A check box or radio button
// draws its box first: 13 pixels at 96 DPI, scaled (Wine's SM_CXMENUCHECK is 15 at 144
// DPI while it draws the box 19 wide), then a gap of half the width of "0" in the
// control's font, as Wine's button draws it. A push button, or a push-like radio button,
// draws its 3-D edge on both sides.
int TextRoom(const ControlSpec& spec, HWND control, HDC dc) {
    RECT client;
    GetClientRect(control, &client);
    if (std::string(spec.className) == "Static") return client.right;
    if (spec.style & BS_PUSHLIKE || (spec.style & BS_TYPEMASK) == BS_PUSHBUTTON)
        return client.right - 2 * GetSystemMetrics(SM_CXEDGE);
    INT zero = 0;
    GetCharWidth32A(dc, '0', '0', &zero);
    return client.right - std::max(GetSystemMetrics(SM_CXMENUCHECK), MulDiv(13, gApp.dpi, 96)) - zero / 2;
}

// The texts of the shown controls that are wider than their room, as "ID "text" width > room".
std::vector<std::string> ClippedTexts(HWND window) {
    std::vector<std::string> clipped;
    for (const ControlSpec& spec : kControls) {
        std::string cls = spec.className;
        HWND control = GetDlgItem(window, spec.id);
        bool texted = cls == "Static" || (cls == "Button" && (spec.style & BS_TYPEMASK) != BS_GROUPBOX);
        if (!texted || !IsWindowVisible(control)) continue;
        char text[64] = {};
        GetWindowTextA(control, text, sizeof text);
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
        SIZE size = {};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        int room = TextRoom(spec, control, dc);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        if (size.cx > room)
            clipped.push_back(std::to_string(spec.id) + " \"" + text + "\" " + std::to_string(size.cx) +
                              " > " + std::to_string(room));
    }
    return clipped;
}

using Dpi96Labels = MainWindowTest;
using Dpi144Labels = MainWindowTest;

void ExpectEveryTextFits(HWND window) {
    for (TableIndex t = 1; t < kTableCount; ++t) {
        ClickButton(window, kButtonOfTable[t]);
        EXPECT_EQ(std::vector<std::string>{}, ClippedTexts(window)) << "table " << t;
    }
}

TEST_F(Dpi96Labels, EveryTextFitsItsControl) {
    ASSERT_EQ(96, gApp.dpi);
    ShowFirstTable();
    ExpectEveryTextFits(window_);
}

TEST_F(Dpi144Labels, EveryTextFitsItsControl) {
    ASSERT_EQ(144, gApp.dpi) << "run through tests/window/run-at-dpi 144";
    ShowFirstTable();
    ExpectEveryTextFits(window_);
}

} // namespace
} // namespace ledgrin
