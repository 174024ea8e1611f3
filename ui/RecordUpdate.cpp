#include "archive/TableSave.h"
#include "records/Diagnostics.h"
#include "records/RecordHead.h"
#include "ui/AppState.h"
#include "ui/BusyCursor.h"
#include "ui/DlgItems.h"
#include "ui/Handlers.h"
#include "view/ControlIds.h"
#include "view/PanelBinding.h"
#include "view/RecordEdit.h"

#include <cstring>

namespace ledgrin {

namespace {

constexpr char kSaveFailedText[] = "Could not write tarvik_gb.iff. Please check file permissions.";
constexpr char kDescFullText[] = "The description table is full; the description was not saved.";
constexpr char kDescNoMemoryText[] = "Out of memory; the description was not saved.";

std::uint32_t ReadNumber(HWND window, int id) {
    char text[64] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return ParseNumberBox(text);
}

int SelectedRow(HWND window, int id) {
    return static_cast<int>(SendDlgItemMessageA(window, id, CB_GETCURSEL, 0, 0));
}

RecordValues ReadPanel(HWND window) {
    RecordValues v;
    for (const PanelBinding& b : PanelBindings()) {
        switch (b.kind) {
        case BindKind::Check:
            if (!b.inverted) v.*b.flag = IsItemChecked(window, b.controlId);
            break;
        case BindKind::Row: v.*b.row = SelectedRow(window, b.controlId); break;
        case BindKind::Text: {
            std::string text(b.maxBytes + 1, '\0');
            GetDlgItemTextA(window, b.controlId, text.data(), static_cast<int>(text.size()));
            v.*b.text = text.c_str();
            break;
        }
        default: NumberOf(b, v) = ReadNumber(window, b.controlId); break;
        }
    }
    return v;
}

// The record index carried by the row under the list's selection mark; 0 without one.
std::uint32_t MarkedRecord(HWND list, int mark) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = mark;
    if (mark < 0 || !SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return static_cast<std::uint32_t>(item.lParam);
}

void RefreshRowName(HWND list, int mark, std::string_view name) {
    if (mark < 0) return;
    char text[kNameSize + 1] = {};
    std::memcpy(text, name.data(), name.size() < kNameSize ? name.size() : kNameSize);
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = text;
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(mark), reinterpret_cast<LPARAM>(&item));
}

void ShowError(HWND window, const char* text) {
    MessageBoxA(window, text, "Error", MB_ICONERROR | MB_OK);
}

// A description that could not be appended is lost unless the user hears of it; the
// record itself has been written and is saved all the same.
void ReportRefusedAppend(HWND window, const UpdateOutcome& outcome) {
    if (!outcome.appended || outcome.append == AppendResult::Appended) return;
    ShowError(window, outcome.append == AppendResult::TableFull ? kDescFullText : kDescNoMemoryText);
}

void SaveAndReport(HWND window, TableIndex t, TableSaver save, const BusyCursor& busy) {
    if (save(gApp.store, t, gApp.archivePath, gApp.exeDirectory) == kSaved) return;
    DiagLine("Failed.");
    busy.Aside([&] { ShowError(window, kSaveFailedText); });
}

} // namespace

void OnCheckPairClicked(HWND window, int id, int code) {
    if (code != BN_CLICKED) return;
    PairEffect effect = CheckPairEffect(id, IsItemChecked(window, id));
    if (effect.change) SetItemChecked(window, effect.otherId, effect.otherChecked);
}

void OnUpdatePressed(HWND window, TableSaver save) {
    TableIndex t = gApp.currentTable;
    HWND list = GetDlgItem(window, IdItemList);
    int mark = static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
    std::uint32_t index = MarkedRecord(list, mark);
    char description[kDescriptionBoxLimit] = {};
    GetDlgItemTextA(window, IdDescriptionEdit, description, sizeof description);
    UpdateOutcome outcome = ApplyRecordUpdate(gApp.store, t, index, ReadNumber(window, IdTypeIdEdit),
                                              ReadPanel(window), description);
    if (outcome.refused) return;
    RefreshRowName(list, mark, outcome.name);
    ReportRefusedAppend(window, outcome);
    // The record stays changed in memory whatever the saves report; both are tried. The
    // window cannot answer while the archive is rewritten twice, so it shows it is busy.
    BusyCursor busy;
    SaveAndReport(window, t, save, busy);
    SaveAndReport(window, kDescTable, save, busy);
}

} // namespace ledgrin
