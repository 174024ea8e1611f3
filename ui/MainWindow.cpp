#include "ui/MainWindow.h"

#include "records/Diagnostics.h"
#include "ui/AppState.h"
#include "ui/Controls.h"
#include "ui/Handlers.h"
#include "view/ControlIds.h"
#include "view/Layout.h"

namespace ledgrin {

namespace {

PixelSize SizeOf(const RECT& r) {
    return {r.right - r.left, r.bottom - r.top};
}

void ReadDpi(HWND window) {
    HDC dc = GetDC(window);
    gApp.dpi = GetDeviceCaps(dc, LOGPIXELSX) & 0xFFFF;
    DiagPrintf("DPI: %d\n", gApp.dpi);
    ReleaseDC(window, dc);
}

void OnCreate(HWND window) {
    ReadDpi(window);
    CreateControls(window);
}

void OnGetMinMaxInfo(MINMAXINFO* info) {
    PixelSize base = BaseWindowSize(gApp.dpi);
    info->ptMinTrackSize.x = base.width;
    info->ptMinTrackSize.y = base.height;
}

void OnCommand(HWND window, int id, int code) {
    if (TableIndex t = TableForButton(id)) {
        OnTableChosen(window, t);
        return;
    }
    switch (id) {
    case IdUpdateButton: OnUpdatePressed(window); break;
    case IdSearchEdit:
    case IdCharFilterCombo:
    case IdTypeFilterCombo:
    case IdShopActiveCheck: OnFilterChanged(window, code); break;
    case IdResetFiltersButton: ResetFilters(window); break;
    case IdAvailInShopCheck:
    case IdDisplayOnlyCheck:
    case IdMinimumCheck:
    case IdMaximumCheck: OnCheckPairClicked(window, id, code); break;
    default: break;
    }
}

void OnNotify(HWND window, const NMHDR& header) {
    bool fromItemList = header.idFrom == IdItemList;
    if (fromItemList && header.code == LVN_ITEMCHANGED)
        OnItemChanged(window, reinterpret_cast<const NMLISTVIEW&>(header));
    // Either list view's header sorts the item list, the member list's included.
    else if ((fromItemList || header.idFrom == IdMemberList) && header.code == LVN_COLUMNCLICK)
        OnColumnClick(window, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
}

} // namespace

void LayoutControls(HWND window) {
    RECT outer;
    if (!GetWindowRect(window, &outer)) return;
    PixelSize growth = WindowGrowth(SizeOf(outer), gApp.dpi);
    for (const ResizeRule& rule : kResizeRules) {
        HWND control = GetDlgItem(window, rule.id);
        RECT r;
        if (!control || !GetWindowRect(control, &r)) continue;
        POINT topLeft = {r.left, r.top};
        ScreenToClient(window, &topLeft);
        PixelSize size = ResizedControlSize(rule, gApp.dpi, growth, SizeOf(r));
        MoveWindow(control, topLeft.x, topLeft.y, size.width, size.height, FALSE);
    }
    InvalidateRect(window, nullptr, TRUE);
}

namespace {

LRESULT RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnCreate(window); break;
    case WM_SIZE: LayoutControls(window); break;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_DESTROY: PostQuitMessage(0); break;
    case WM_NOTIFY: OnNotify(window, *reinterpret_cast<const NMHDR*>(lParam)); break;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam)); break;
    default: break;
    }
    // Handled messages go on to the default handling too, as every command does.
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return RouteMessage(window, message, wParam, lParam);
    } catch (...) {
        // Only an allocation can fail here; nothing may unwind through the system's frames.
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace ledgrin
