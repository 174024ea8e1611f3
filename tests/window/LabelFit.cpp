// Measures the texts of the controls, with ui/Controls.h kept apart from the window
// fixture: both name a kTableButtons of their own.
#include "tests/window/LabelFit.h"

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
    return client.right - std::max(GetSystemMetrics(SM_CXMENUCHECK), MulDiv(13, gDpi, 96)) - zero / 2;
}

} // namespace

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

} // namespace ledgrin
