#include "ui/AppState.h"
#include "ui/DlgItems.h"
#include "ui/Handlers.h"
#include "view/ControlIds.h"
#include "view/RecordDisplay.h"

#include "records/Diagnostics.h"

namespace ledgrin {

namespace {

void ShowHead(HWND window, const RecordDisplay& d) {
    const RecordValues& v = d.values;
    SetItemNumber(window, IdPriceEdit, v.price);
    SetItemNumber(window, IdDiscountEdit, v.discountPrice);
    SetItemText(window, IdNameEdit, v.name);
    SetItemText(window, IdCharacterEdit, d.characterText);
    SetItemText(window, IdTypeIdEdit, d.typeIdText);
    SelectRow(window, IdCurrencyCombo, v.currencyRow);
    SelectRow(window, IdLevelCombo, v.levelRow);
    for (int i = 0; i < 5; ++i) {
        SetItemNumber(window, kStatEdits[i], v.stats[i]);
        SetItemNumber(window, kSecondStatEdits[i], v.seconds[i]);
    }
    SetItemChecked(window, IdTradeableCheck, v.tradeable);
    SetItemChecked(window, IdNotGiftableCheck, v.notGiftable);
    SetItemChecked(window, IdAvailInShopCheck, v.availInShop);
    SetItemChecked(window, IdDisplayOnlyCheck, v.displayOnly);
    SetItemChecked(window, IdNewCheck, v.isNew);
    SetItemChecked(window, IdHotCheck, v.isHot);
    SetItemChecked(window, IdMinimumCheck, !v.maximum);
    SetItemChecked(window, IdMaximumCheck, v.maximum);
}

constexpr unsigned Bit(TableIndex t) {
    return 1u << t;
}
// Tables whose display fills the rental prices, the Mascot bonus block, " pay monthly".
// Other tables leave those controls as they were: hidden for them, and not read back.
constexpr unsigned kRentalTables = Bit(kMascotTable) | Bit(kSkinTable) | Bit(kCaddieItemTable);
constexpr unsigned kBonusTables = Bit(kMascotTable);
constexpr unsigned kMonthlyTables = Bit(kCaddieTable);

void ShowTableFields(HWND window, TableIndex t, const RecordValues& v) {
    if (kBonusTables & Bit(t)) {
        SetItemChecked(window, IdExtraItemCheck, v.extraItem);
        SetItemNumber(window, IdCrellEdit, v.crellPercent);
        SetItemNumber(window, IdExperienceEdit, v.expPercent);
    }
    if (kRentalTables & Bit(t)) {
        SetItemNumber(window, IdPrice7DaysEdit, v.price7Days);
        SetItemNumber(window, IdPrice30DaysEdit, v.price30Days);
    }
    if (kMonthlyTables & Bit(t)) SetItemChecked(window, IdPayMonthlyCheck, v.payMonthly);
}

void ShowCardFields(HWND window, const RecordDisplay& d) {
    SetItemText(window, IdCardpackEdit, d.cardpackText);
    SetItemNumber(window, IdPositionEdit, d.position);
    SetItemNumber(window, IdEffectValueEdit, d.values.effectValue);
    SetItemNumber(window, IdEffectTimeEdit, d.values.effectTime);
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
    ShowTableFields(window, t, d.values);
    if (d.isSetItem) ShowMembers(window, d);
    if (d.isCard) ShowCardFields(window, d);
    DiagPrintf("%s", d.clickedLine.c_str());
    DiagPrintf("%s", d.fieldsLine.c_str());
    ShowHead(window, d);
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
