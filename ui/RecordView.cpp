#include "ui/AppState.h"
#include "ui/DlgItems.h"
#include "ui/Handlers.h"
#include "view/ControlIds.h"
#include "view/PanelBinding.h"
#include "view/RecordDisplay.h"

#include "records/Diagnostics.h"

namespace ledgrin {

namespace {

void ShowValues(HWND window, TableIndex t, const RecordValues& shown) {
    RecordValues v = shown;
    for (const PanelBinding& b : PanelBindings()) {
        if (!ShownFor(b, t)) continue;
        switch (b.kind) {
        case BindKind::Check: SetItemChecked(window, b.controlId, (v.*b.flag) != b.inverted); break;
        case BindKind::Row: SelectRow(window, b.controlId, v.*b.row); break;
        case BindKind::Text: SetItemText(window, b.controlId, v.*b.text); break;
        default: SetItemNumber(window, b.controlId, NumberOf(b, v)); break;
        }
    }
}

void ShowCardFields(HWND window, const RecordDisplay& d) {
    SetItemText(window, IdCardpackEdit, d.cardpackText);
    SetItemNumber(window, IdPositionEdit, d.position);
    ShowItem(window, IdEffectValueLabel, d.showEffectValue);
    ShowItem(window, IdEffectValueEdit, d.showEffectValue);
    ShowItem(window, IdEffectTimeLabel, d.showEffectTime);
    ShowItem(window, IdEffectTimeEdit, d.showEffectTime);
}

void SetMemberCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ShowMembers(HWND window, const RecordDisplay& d) {
    HWND list = GetDlgItem(window, IdMemberList);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    int i = 0;
    for (const MemberRow& member : d.members) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = const_cast<char*>(member.typeIdText.c_str());
        item.lParam = i;
        int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        SetMemberCell(list, row, 1, member.name);
        SetMemberCell(list, row, 2, member.quantityText);
        ++i;
    }
}

void ShowRecord(HWND window, std::uint32_t index) {
    TableIndex t = gApp.currentTable;
    RecordDisplay d = BuildRecordDisplay(gApp.store, t, index);
    if (!d.valid) return;
    if (d.isSetItem) ShowMembers(window, d);
    if (d.isCard) ShowCardFields(window, d);
    DiagPrintf("%s", d.clickedLine.c_str());
    DiagPrintf("%s", d.fieldsLine.c_str());
    ShowValues(window, t, d.values);
    SetItemText(window, IdCharacterEdit, d.characterText);
    SetItemText(window, IdTypeIdEdit, d.typeIdText);
    // Emptied first, so an item without a description never shows the previous one.
    SetItemText(window, IdDescriptionEdit, "");
    if (!d.description.empty()) SetItemText(window, IdDescriptionEdit, d.description);
}

} // namespace

void OnItemChanged(HWND window, const NMLISTVIEW& change) {
    if (gApp.initialising || !(change.uNewState & LVIS_SELECTED)) return;
    ShowRecord(window, static_cast<std::uint32_t>(change.lParam));
}

} // namespace ledgrin
