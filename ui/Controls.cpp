#include "ui/Controls.h"

#include "records/Labels.h"
#include "ui/AppState.h"
#include "ui/FilterLists.h"
#include "view/Layout.h"
#include "view/PanelLayout.h"

#include <commctrl.h>

#include <cstring>

namespace ledgrin {

namespace {

constexpr DWORD kGroupBox = BS_GROUPBOX;
constexpr DWORD kTableButton = BS_AUTORADIOBUTTON | BS_PUSHLIKE;
constexpr DWORD kCheckBox = BS_AUTOCHECKBOX;
constexpr DWORD kPushButton = BS_PUSHBUTTON;
constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kNumberEdit = ES_RIGHT | ES_NUMBER | WS_TABSTOP;
constexpr DWORD kDropDown = CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL;
constexpr DWORD kListView =
    LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT | WS_BORDER | WS_TABSTOP;

constexpr bool kShown = true;
constexpr bool kHidden = false;

constexpr const char* kButton = "Button";
constexpr const char* kStatic = "Static";
constexpr const char* kEdit = "Edit";
constexpr const char* kCombo = "ComboBox";
constexpr const char* kList = "SysListView32";

} // namespace

constexpr ControlDef kControls[kControlCount] = {
    // Table bar: one push-like radio button per item table, 63 units apart.
    {IdTableFrame, kButton, "", kGroupBox, kShown, 10, 5, 828, 43},
    {IdPartButton, kButton, "Part", kTableButton | WS_GROUP, kShown, 15, 15, 62, 29},
    {IdItemButton, kButton, "Item", kTableButton, kShown, 78, 15, 62, 29},
    {IdClubsetButton, kButton, "Clubset", kTableButton, kShown, 141, 15, 62, 29},
    {IdBallButton, kButton, "Ball", kTableButton, kShown, 204, 15, 62, 29},
    {IdMascotButton, kButton, "Mascot", kTableButton, kShown, 267, 15, 62, 29},
    {IdCaddieButton, kButton, "Caddie", kTableButton, kShown, 330, 15, 62, 29},
    {IdSkinButton, kButton, "Skin", kTableButton, kShown, 393, 15, 62, 29},
    {IdAuxPartButton, kButton, "AuxPart", kTableButton, kShown, 456, 15, 62, 29},
    {IdCharacterButton, kButton, "Character", kTableButton, kShown, 519, 15, 62, 29},
    {IdHairStyleButton, kButton, "HairStyle", kTableButton, kShown, 582, 15, 62, 29},
    {IdCaddieItemButton, kButton, "CaddieItem", kTableButton, kShown, 645, 15, 62, 29},
    {IdSetItemButton, kButton, "SetItem", kTableButton, kShown, 708, 15, 62, 29},
    {IdCardButton, kButton, "Card", kTableButton, kShown, 771, 15, 62, 29},

    // Record panel: identity row, flags, prices.
    {IdRecordFrame, kButton, "", kGroupBox, kShown, 358, 50, 480, 501},
    {IdNameLabel, kStatic, "Name", kLabel, kShown, 368, 65, 200, 16},
    {IdNameEdit, kEdit, "", ES_LEFT | WS_TABSTOP, kShown, 368, 80, 250, 20},
    {IdCharacterLabel, kStatic, "Character", kLabel, kShown, 628, 65, 80, 16},
    {IdCharacterEdit, kEdit, "", ES_READONLY, kShown, 628, 80, 85, 20},
    {IdTypeIdLabel, kStatic, "TypeID", kLabel, kShown, 723, 65, 80, 16},
    {IdTypeIdEdit, kEdit, "", ES_READONLY, kShown, 723, 80, 85, 20},
    {IdAvailInShopCheck, kButton, " Avail. in Shop", kCheckBox, kShown, 368, 113, 100, 16},
    {IdDisplayOnlyCheck, kButton, " Display only", kCheckBox, kShown, 478, 113, 100, 16},
    {IdTradeableCheck, kButton, " Tradeable", kCheckBox, kShown, 628, 113, 70, 16},
    {IdNotGiftableCheck, kButton, " Not Giftable", kCheckBox, kShown, 723, 113, 90, 16},
    {IdPriceLabel, kStatic, "Price", kLabel, kShown, 368, 140, 80, 16},
    {IdPriceEdit, kEdit, "", kNumberEdit, kShown, 368, 155, 100, 20},
    {IdCurrencyCombo, kCombo, "currency", kDropDown, kShown, 478, 155, 100, 16},
    {IdDiscountLabel, kStatic, "Price (Discount)", kLabel, kShown, 368, 180, 80, 16},
    {IdDiscountEdit, kEdit, "", kNumberEdit, kShown, 368, 195, 100, 20},
    {IdPrice7DaysLabel, kStatic, "Price (7 days)", kLabel, kHidden, 368, 180, 80, 16},
    {IdPrice7DaysEdit, kEdit, "", kNumberEdit, kHidden, 368, 195, 100, 20},
    {IdPrice30DaysLabel, kStatic, "Price (30 days)", kLabel, kHidden, 478, 180, 80, 16},
    {IdPrice30DaysEdit, kEdit, "", kNumberEdit, kHidden, 478, 195, 100, 20},
    {IdPayMonthlyCheck, kButton, " pay monthly", kCheckBox, kHidden, 478, 198, 200, 16},
    {IdNewCheck, kButton, " New", kCheckBox, kShown, 628, 158, 70, 16},
    {IdHotCheck, kButton, " Hot", kCheckBox, kShown, 723, 158, 70, 16},

    // Level row and the five stat boxes (91 units apart, second box 40 to the right).
    {IdLevelLabel, kStatic, "Level", kLabel, kShown, 368, 220, 80, 16},
    {IdLevelCombo, kCombo, "level", kDropDown, kShown, 368, 235, 200, 16},
    {IdMinimumCheck, kButton, " Minimum", kCheckBox, kShown, 628, 238, 70, 16},
    {IdMaximumCheck, kButton, " Maximum", kCheckBox, kShown, 723, 238, 70, 16},
    {IdPowerCaption, kStatic, "Power / Slot", kLabel, kShown, 368, 270, 80, 16},
    {IdPowerEdit, kEdit, "", kNumberEdit, kShown, 368, 285, 35, 20},
    {IdPowerEdit2, kEdit, "", kNumberEdit, kShown, 408, 285, 35, 20},
    {IdControlCaption, kStatic, "Control / Slot", kLabel, kShown, 459, 270, 80, 16},
    {IdControlEdit, kEdit, "", kNumberEdit, kShown, 459, 285, 35, 20},
    {IdControlEdit2, kEdit, "", kNumberEdit, kShown, 499, 285, 35, 20},
    {IdAccuracyCaption, kStatic, "Accuracy / Slot", kLabel, kShown, 550, 270, 80, 16},
    {IdAccuracyEdit, kEdit, "", kNumberEdit, kShown, 550, 285, 35, 20},
    {IdAccuracyEdit2, kEdit, "", kNumberEdit, kShown, 590, 285, 35, 20},
    {IdSpinCaption, kStatic, "Spin / Slot", kLabel, kShown, 641, 270, 80, 16},
    {IdSpinEdit, kEdit, "", kNumberEdit, kShown, 641, 285, 35, 20},
    {IdSpinEdit2, kEdit, "", kNumberEdit, kShown, 681, 285, 35, 20},
    {IdCurveCaption, kStatic, "Curve / Slot", kLabel, kShown, 732, 270, 80, 16},
    {IdCurveEdit, kEdit, "", kNumberEdit, kShown, 732, 285, 35, 20},
    {IdCurveEdit2, kEdit, "", kNumberEdit, kShown, 772, 285, 35, 20},

    // Hidden sets that share places with the stat boxes: bonus block, set members.
    {IdCrellLabel, kStatic, "Crell (%)", kLabel, kHidden, 368, 315, 80, 16},
    {IdCrellEdit, kEdit, "", kNumberEdit, kHidden, 368, 330, 75, 20},
    {IdExperienceLabel, kStatic, "Experience (%)", kLabel, kHidden, 459, 315, 80, 16},
    {IdExperienceEdit, kEdit, "", kNumberEdit, kHidden, 459, 330, 75, 20},
    {IdExtraItemCheck, kButton, " Extra Item", kCheckBox, kHidden, 732, 333, 70, 16},
    {IdSetMembersLabel, kStatic, "Items/Parts in Set", kLabel, kHidden, 368, 270, 150, 16},
    {IdMemberList, kList, "items", kListView, kHidden, 368, 285, 438, 95},

    {IdDescriptionLabel, kStatic, "Description", kLabel, kShown, 368, 390, 80, 16},
    {IdDescriptionEdit, kEdit, "", ES_MULTILINE | ES_WANTRETURN, kShown, 368, 405, 438, 100},
    {IdUpdateButton, kButton, "Update", kPushButton, kShown, 368, 517, 120, 24},

    // Card block, in the places of the bonus block.
    {IdCardpackLabel, kStatic, "Cardpack", kLabel, kHidden, 368, 315, 80, 16},
    {IdCardpackEdit, kEdit, "", ES_READONLY | WS_TABSTOP, kHidden, 368, 330, 75, 20},
    {IdPositionLabel, kStatic, "Position", kLabel, kHidden, 459, 315, 80, 16},
    {IdPositionEdit, kEdit, "", ES_NUMBER | ES_READONLY | WS_TABSTOP, kHidden, 459, 330, 75, 20},
    {IdEffectValueLabel, kStatic, "Effect Value", kLabel, kHidden, 641, 315, 80, 16},
    {IdEffectValueEdit, kEdit, "", kNumberEdit, kHidden, 641, 330, 75, 20},
    {IdEffectTimeLabel, kStatic, "Time duration", kLabel, kHidden, 732, 315, 80, 16},
    {IdEffectTimeEdit, kEdit, "", kNumberEdit, kHidden, 732, 330, 75, 20},

    // List panel.
    {IdListFrame, kButton, "", kGroupBox, kShown, 10, 50, 338, 501},
    {IdItemList, kList, "items", kListView, kShown, 20, 140, 318, 400},
    {IdSearchLabel, kStatic, "Search / Filter", kLabel, kShown, 20, 65, 200, 16},
    {IdSearchEdit, kEdit, "", ES_LEFT, kShown, 20, 80, 288, 20},
    {IdResetFiltersButton, kButton, "X", kPushButton, kShown, 318, 80, 20, 20},
    {IdCharFilterCombo, kCombo, "char", kDropDown, kShown, 20, 110, 109, 16},
    {IdTypeFilterCombo, kCombo, "uctype", kDropDown, kShown, 139, 110, 109, 16},
    {IdShopActiveCheck, kButton, " Shop active", kCheckBox, kShown, 260, 113, 80, 16},
};

constexpr ColumnDef kColumns[kColumnCount] = {
    {IdItemList, "TypeID", 75},  {IdItemList, "Name", 218}, {IdMemberList, "TypeID", 90},
    {IdMemberList, "Name", 260}, {IdMemberList, "Qty", 60},
};

namespace {

// Every identifier from 10001 to 10082 appears exactly once.
constexpr bool IdsCoverRangeOnce() {
    for (int id = kFirstControlId; id <= kLastControlId; ++id) {
        int seen = 0;
        for (const ControlDef& c : kControls)
            seen += c.id == id;
        if (seen != 1) return false;
    }
    return true;
}

bool IsListView(const ControlDef& c) {
    return std::strcmp(c.className, kList) == 0;
}

// Rows the drop-down lists get at creation: those of the "Part" table. The currency
// and level lists start without a selection.
void FillInitialRows(HWND window, int id) {
    switch (id) {
    case IdCurrencyCombo: FillRecordList(window, id, kCurrencyLabels); break;
    case IdLevelCombo: FillRecordList(window, id, kPlayerRankLabels); break;
    default:
        for (const FilterFill& fill : FilterFills(kPartTable))
            if (fill.comboId == id) FillFilterList(window, id, fill.firstRow, *fill.labels);
        break;
    }
}

void CreateControl(HWND window, const ControlDef& c) {
    DWORD style = WS_CHILD | (c.shown ? WS_VISIBLE : 0) | c.style;
    DWORD exStyle = IsListView(c) ? WS_EX_CLIENTEDGE : 0;
    HWND control = CreateWindowExA(
        exStyle, c.className, c.text, style, ScaleForDpi(c.x96, gApp.dpi), ScaleForDpi(c.y96, gApp.dpi),
        ScaleForDpi(c.width96, gApp.dpi), ScaleForDpi(c.height96, gApp.dpi), window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), gApp.instance, nullptr);
    if (!control) return; // a control that cannot be created is simply absent
    if (IsListView(c)) SendMessageA(control, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(gApp.font), TRUE);
    FillInitialRows(window, c.id);
}

void AddColumns(HWND window) {
    int next[2] = {0, 0}; // next column index of 10001 and of 10072
    for (const ColumnDef& col : kColumns) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = ScaleForDpi(col.width96, gApp.dpi);
        column.pszText = const_cast<char*>(col.header);
        int& index = next[col.listId == IdMemberList];
        SendDlgItemMessageA(window, col.listId, LVM_INSERTCOLUMNA, index++,
                            reinterpret_cast<LPARAM>(&column));
    }
}

} // namespace

static_assert(IdsCoverRangeOnce(), "control IDs 10001 to 10082 are unique and have no gaps");

void CreateControls(HWND window) {
    for (const ControlDef& c : kControls)
        CreateControl(window, c);
    AddColumns(window);
}

} // namespace ledgrin
