// Small wrappers for reading and writing controls by identifier through the main window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace ledgrin {

inline void SetItemText(HWND window, int id, const char* text) {
    SetDlgItemTextA(window, id, text);
}
inline void SetItemText(HWND window, int id, const std::string& text) {
    SetDlgItemTextA(window, id, text.c_str());
}
inline void SetItemNumber(HWND window, int id, std::uint32_t value) {
    SetDlgItemInt(window, id, value, FALSE);
}
// Sets a check box without a click notification.
inline void SetItemChecked(HWND window, int id, bool checked) {
    SendDlgItemMessageA(window, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
inline bool IsItemChecked(HWND window, int id) {
    return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
inline void ShowItem(HWND window, int id, bool shown) {
    ShowWindow(GetDlgItem(window, id), shown ? SW_SHOW : SW_HIDE);
}
inline void EnableItem(HWND window, int id, bool enabled) {
    EnableWindow(GetDlgItem(window, id), enabled);
}
// Selects a drop-down row without a selection-change notification; -1 selects none.
inline void SelectRow(HWND window, int id, int row) {
    SendDlgItemMessageA(window, id, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
}
// Item data of the selected drop-down row; -1 (CB_ERR) when no row is selected.
inline long SelectedRowData(HWND window, int id) {
    LRESULT row = SendDlgItemMessageA(window, id, CB_GETCURSEL, 0, 0);
    if (row == CB_ERR) return -1;
    return static_cast<long>(SendDlgItemMessageA(window, id, CB_GETITEMDATA, static_cast<WPARAM>(row), 0));
}

} // namespace ledgrin
