#include "tests/window/WindowActions.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <thread>

namespace ledgrin {

std::vector<std::uint32_t> ListedRecords(HWND list) {
    std::vector<std::uint32_t> records;
    for (int i = 0; i < SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        records.push_back(static_cast<std::uint32_t>(item.lParam));
    }
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

Lines PrintedLines(const std::function<void()>& action) {
    testing::internal::CaptureStdout();
    action();
    return test::SplitLines(testing::internal::GetCapturedStdout());
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
