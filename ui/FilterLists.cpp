#include "ui/FilterLists.h"

#include "view/ItemFilter.h"

namespace ledgrin {

namespace {

LRESULT AddRow(HWND window, int id, const char* text) {
    return SendDlgItemMessageA(window, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

} // namespace

void FillFilterList(HWND window, int id, const char* firstRow, const LabelList& labels) {
    SendDlgItemMessageA(window, id, CB_RESETCONTENT, 0, 0);
    for (const FilterRow& row : FilterRows(firstRow, labels)) {
        LRESULT at = AddRow(window, id, row.text.c_str());
        if (at >= 0) SendDlgItemMessageA(window, id, CB_SETITEMDATA, at, row.data);
    }
    SendDlgItemMessageA(window, id, CB_SETCURSEL, 0, 0);
}

void FillRecordList(HWND window, int id, const LabelList& labels) {
    SendDlgItemMessageA(window, id, CB_RESETCONTENT, 0, 0);
    for (int pos = 0; pos < labels.count; ++pos)
        AddRow(window, id, labels.labels[pos]);
}

} // namespace ledgrin
