#include "ui/AppState.h"
#include "ui/DlgItems.h"
#include "ui/Handlers.h"
#include "view/ControlIds.h"
#include "view/ItemFilter.h"

#include "records/RecordHead.h"

#include <cstring>

namespace ledgrin {

namespace {

// Counts refills, so that ResetFilters can tell whether emptying the search box
// already refilled the list.
unsigned gRefillCount = 0;

FilterState ReadFilterState(HWND window, TableIndex t) {
    FilterState state;
    char search[kSearchTextMax + 1] = {};
    GetDlgItemTextA(window, IdSearchEdit, search, sizeof search);
    state.search = search;
    if (TableHasCharFilter(t))
        state.charFilter = CharFilterValue(t, SelectedRowData(window, IdCharFilterCombo));
    if (TableHasTypeFilter(t))
        state.typeFilter = TypeFilterValue(t, SelectedRowData(window, IdTypeFilterCombo));
    state.shopOnly = IsItemChecked(window, IdShopActiveCheck);
    return state;
}

void AppendRow(HWND list, int row, std::uint32_t index, const std::uint8_t* record) {
    std::string typeId = TypeIdText(RecordTypeId(record));
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = typeId.data();
    item.lParam = static_cast<LPARAM>(index);
    row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return;

    // A name may fill all 40 bytes without a NUL.
    std::string_view name = RecordName(record);
    char text[kNameSize + 1] = {};
    std::memcpy(text, name.data(), name.size());
    item.mask = LVIF_TEXT;
    item.iSubItem = 1;
    item.pszText = text;
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int CALLBACK CompareRowsCallback(LPARAM a, LPARAM b, LPARAM column) {
    return CompareListRows(gApp.store, gApp.currentTable, static_cast<std::uint32_t>(a),
                           static_cast<std::uint32_t>(b), static_cast<int>(column), gApp.sortDirectionBits);
}

} // namespace

void RefillItemList(HWND window) {
    ++gRefillCount;
    TableIndex t = gApp.currentTable;
    HWND list = GetDlgItem(window, IdItemList);
    FilterState state = ReadFilterState(window, t);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    // Prints the filter line; the rows come back already in name order A to Z.
    ListRowsResult result = ListRows(gApp.store, t, state);
    gApp.sortDirectionBits = 0;

    // Hidden while filling, so the list is drawn once rather than once per row. Redraw
    // is off as well: without it Wine's list view recomputes its scroll range for every
    // row, which made 65,535 rows take seconds instead of a fraction of one.
    ShowWindow(list, SW_HIDE);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, result.rows.size(), 0);
    int row = 0;
    for (std::uint32_t index : result.rows)
        AppendRow(list, row++, index, gApp.store.Record(t, index));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    ShowWindow(list, SW_SHOW);

    // Selecting the top row makes the list report it, and that shows its record.
    LVITEMA selected = {};
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, 0);
}

void ResetFilters(HWND window) {
    SelectRow(window, IdCharFilterCombo, 0);
    SelectRow(window, IdTypeFilterCombo, 0);
    SetItemChecked(window, IdShopActiveCheck, false);
    unsigned before = gRefillCount;
    // The search box reports the emptied text as a change, which refills the list
    // before this call returns; where it does not, refill here, so there is exactly one.
    SetItemText(window, IdSearchEdit, "");
    if (gRefillCount == before) RefillItemList(window);
}

void OnFilterChanged(HWND window, int code) {
    if (code == EN_CHANGE || code == CBN_SELCHANGE || code == BN_CLICKED) RefillItemList(window);
}

void OnColumnClick(HWND window, int column) {
    if (column < 0 || column > 31) return;
    gApp.sortDirectionBits ^= 1u << column;
    SendDlgItemMessageA(window, IdItemList, LVM_SORTITEMS, static_cast<WPARAM>(column),
                        reinterpret_cast<LPARAM>(&CompareRowsCallback));
}

} // namespace ledgrin
