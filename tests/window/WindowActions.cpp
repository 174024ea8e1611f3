#include "tests/window/WindowActions.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace ledgrin {

std::vector<ListRow> ReadListRows(HWND list, int columns) {
    std::vector<ListRow> rows;
    for (int i = 0; i < SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); ++i) {
        char text[600] = {};
        LVITEMA item = {};
        item.mask = LVIF_PARAM | LVIF_STATE;
        item.iItem = i;
        item.stateMask = LVIS_SELECTED;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        rows.push_back({{}, item.lParam, (item.state & LVIS_SELECTED) != 0});
        for (item.iSubItem = 0; item.iSubItem < columns; ++item.iSubItem) {
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            rows.back().cells.push_back(text);
        }
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

void ClickRow(HWND list, int row) {
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, row);
}

std::string ControlText(HWND window, int id) {
    char text[1100] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

bool IsChecked(HWND window, int id) {
    return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int ComboSelection(HWND window, int id) {
    return static_cast<int>(SendDlgItemMessageA(window, id, CB_GETCURSEL, 0, 0));
}

std::vector<std::pair<std::string, long>> ComboRows(HWND window, int id) {
    std::vector<std::pair<std::string, long>> rows;
    for (WPARAM i = 0; i < static_cast<WPARAM>(SendDlgItemMessageA(window, id, CB_GETCOUNT, 0, 0)); ++i) {
        char text[128] = {};
        SendDlgItemMessageA(window, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        rows.emplace_back(text, static_cast<long>(SendDlgItemMessageA(window, id, CB_GETITEMDATA, i, 0)));
    }
    return rows;
}

Lines PrintedLines(const std::function<void()>& action, const std::string& prefix) {
    testing::internal::CaptureStdout();
    action();
    Lines lines = test::SplitLines(testing::internal::GetCapturedStdout());
    lines.erase(
        std::remove_if(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.compare(0, prefix.size(), prefix); }),
        lines.end());
    return lines;
}

namespace {

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

std::vector<BoxSeen> ConfirmBoxesUntil(DWORD thread, const std::function<bool()>& done) {
    std::vector<BoxSeen> boxes;
    while (!done()) {
        std::vector<HWND> windows;
        EnumThreadWindows(thread, CollectWindow, reinterpret_cast<LPARAM>(&windows));
        for (HWND box : windows) {
            char cls[32] = {};
            GetClassNameA(box, cls, sizeof cls);
            // A box is read once it is shown: before that it may still lack its texts.
            if (std::string(cls) != "#32770" || !IsWindowVisible(box)) continue;
            bool onlyOk = GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL) && !GetDlgItem(box, IDNO);
            boxes.push_back(
                {WindowTextOf(box), WindowTextOf(GetDlgItem(box, 0xFFFF)), GetWindow(box, GW_OWNER), onlyOk});
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            while (IsWindow(box)) // gone before the next box is looked for
                Sleep(10);
        }
        Sleep(20);
    }
    return boxes;
}

std::vector<BoxSeen> ConfirmBoxesDuring(const std::function<void()>& action) {
    std::atomic<bool> stop{false};
    std::vector<BoxSeen> boxes;
    std::thread watcher([&, thread = GetCurrentThreadId()] {
        boxes = ConfirmBoxesUntil(thread, [&] { return stop.load(); });
    });
    action();
    stop = true;
    watcher.join();
    return boxes;
}

} // namespace ledgrin
