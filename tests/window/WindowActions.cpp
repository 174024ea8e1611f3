#include "tests/window/WindowActions.h"

#include "tests/window/TestFiles.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace ledgrin {

namespace {

std::string CellText(HWND list, int row, int column) {
    char text[600] = {};
    LVITEMA cell = {};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    return text;
}

// Text of a window of another thread, without waiting forever for a thread that is busy.
std::string WindowTextOf(HWND window) {
    char text[600] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, &result);
    return text;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

} // namespace

std::vector<ListRow> ReadListRows(HWND list, int columns) {
    std::vector<ListRow> rows;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM | LVIF_STATE;
        item.stateMask = LVIS_SELECTED;
        item.iItem = i;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        ListRow row = {{}, item.lParam, (item.state & LVIS_SELECTED) != 0};
        for (int c = 0; c < columns; ++c)
            row.cells.push_back(CellText(list, i, c));
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::uint32_t> ListedRecords(HWND list) {
    std::vector<std::uint32_t> records;
    for (const ListRow& row : ReadListRows(list, 0))
        records.push_back(static_cast<std::uint32_t>(row.param));
    return records;
}

void ClickButton(HWND window, int id) {
    SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0);
}

void ChooseComboRow(HWND window, int id, int row) {
    HWND combo = GetDlgItem(window, id);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void ClickRow(HWND list, int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, row);
}

int RowOfRecord(HWND list, std::uint32_t index) {
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(index);
    return static_cast<int>(
        SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void ClickColumnHeader(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT r = {};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(header, WM_LBUTTONUP, 0, at);
}

std::string ControlText(HWND window, int id) {
    char text[1100] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

bool IsChecked(HWND window, int id) {
    return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsShown(HWND window, int id) {
    return IsWindowVisible(GetDlgItem(window, id)) != FALSE;
}

int ComboSelection(HWND window, int id) {
    return static_cast<int>(SendDlgItemMessageA(window, id, CB_GETCURSEL, 0, 0));
}

std::vector<ComboRow> ComboRows(HWND window, int id) {
    std::vector<ComboRow> rows;
    int count = static_cast<int>(SendDlgItemMessageA(window, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[128] = {};
        SendDlgItemMessageA(window, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        long data =
            static_cast<long>(SendDlgItemMessageA(window, id, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        rows.push_back({text, data});
    }
    return rows;
}

std::vector<std::string> PrintedLines(const std::function<void()>& action) {
    testing::internal::CaptureStdout();
    action();
    return SplitLines(testing::internal::GetCapturedStdout());
}

std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    return found;
}

BoxSeen ReadAndConfirmBox(HWND box) {
    bool onlyOk = GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL) && !GetDlgItem(box, IDNO);
    BoxSeen seen = {WindowTextOf(box), WindowTextOf(GetDlgItem(box, 0xFFFF)), GetWindow(box, GW_OWNER),
                    onlyOk};
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return seen;
}

namespace {

// Confirms each shown box of thread `guiThread` once, until `stop` is set.
void WatchBoxes(DWORD guiThread, const std::atomic<bool>& stop, std::vector<BoxSeen>& boxes) {
    std::vector<HWND> confirmed;
    while (!stop) {
        // A handle can come back for a later box once the first is gone.
        confirmed.erase(
            std::remove_if(confirmed.begin(), confirmed.end(), [](HWND w) { return !IsWindow(w); }),
            confirmed.end());
        std::vector<HWND> windows;
        EnumThreadWindows(guiThread, CollectWindow, reinterpret_cast<LPARAM>(&windows));
        for (HWND box : windows) {
            char cls[32] = {};
            GetClassNameA(box, cls, sizeof cls);
            // A box is read once it is shown: before that it may still lack its texts.
            if (std::string(cls) != "#32770" || !IsWindowVisible(box)) continue;
            if (std::find(confirmed.begin(), confirmed.end(), box) != confirmed.end()) continue;
            confirmed.push_back(box);
            boxes.push_back(ReadAndConfirmBox(box));
        }
        Sleep(20);
    }
}

} // namespace

std::vector<BoxSeen> ConfirmBoxesDuring(const std::function<void()>& action) {
    std::atomic<bool> stop{false};
    std::vector<BoxSeen> boxes;
    std::thread watcher(WatchBoxes, GetCurrentThreadId(), std::cref(stop), std::ref(boxes));
    action();
    stop = true;
    watcher.join();
    return boxes;
}

} // namespace ledgrin
