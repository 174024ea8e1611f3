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

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::string WindowText(HWND window) {
    char text[600] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace

std::vector<BoxSeen> ConfirmBoxesDuring(const std::function<void()>& action) {
    std::atomic<bool> stop{false};
    std::vector<BoxSeen> boxes;
    std::thread watcher([&, thread = GetCurrentThreadId()] {
        while (!stop) {
            std::vector<HWND> windows;
            EnumThreadWindows(thread, CollectWindow, reinterpret_cast<LPARAM>(&windows));
            for (HWND box : windows) {
                char cls[32] = {};
                GetClassNameA(box, cls, sizeof cls);
                // A box is read once it is shown: before that it may still lack its texts.
                if (std::string(cls) != "#32770" || !IsWindowVisible(box)) continue;
                boxes.push_back({WindowText(box), WindowText(GetDlgItem(box, 0xFFFF))});
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box)) // gone before the next box is looked for
                    Sleep(10);
            }
            Sleep(20);
        }
    });
    action();
    stop = true;
    watcher.join();
    return boxes;
}

} // namespace ledgrin
