#include "ui/FilterLists.h"

namespace ledgrin {

namespace {

LRESULT AddRow(HWND window, int id, const char* text) {
    return SendDlgItemMessageA(window, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

} // namespace

void FillFilterList(HWND window, int id, const char* firstRow, const LabelList& labels) {
    SendDlgItemMessageA(window, id, CB_RESETCONTENT, 0, 0);
    LRESULT row = AddRow(window, id, firstRow);
    SendDlgItemMessageA(window, id, CB_SETITEMDATA, row, 0);
    // Blank labels get no row, so the item data, not the row index, carries the code.
    for (int pos = 0; pos < labels.count; ++pos) {
        const char* label = labels.At(static_cast<std::uint32_t>(pos));
        if (!label) continue;
        row = AddRow(window, id, label);
        if (row >= 0) SendDlgItemMessageA(window, id, CB_SETITEMDATA, row, pos + 1);
    }
    SendDlgItemMessageA(window, id, CB_SETCURSEL, 0, 0);
}

void FillRecordList(HWND window, int id, const LabelList& labels) {
    SendDlgItemMessageA(window, id, CB_RESETCONTENT, 0, 0);
    for (int pos = 0; pos < labels.count; ++pos)
        AddRow(window, id, labels.labels[pos]);
}

} // namespace ledgrin
