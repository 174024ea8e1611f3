// Window size, minimum size, the resize rule and scaling at 144 DPI.
#include "tests/window/ControlRows.h"
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"

#include <string>

namespace ledgrin {
namespace {

using Dpi96 = MainWindowTest;
using Dpi144 = MainWindowTest;

SIZE OuterSize(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void ResizeTo(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
}

bool IsResizedControl(int id) {
    return id == 10001 || id == 10018 || id == 10082 || id == 10046;
}

TEST_F(Dpi96, WindowOpensAt868By600) {
    SIZE size = OuterSize(window_);
    EXPECT_EQ(868, size.cx);
    EXPECT_EQ(600, size.cy);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE)) &
                                                      (WS_EX_APPWINDOW | WS_EX_WINDOWEDGE));
    EXPECT_EQ(static_cast<DWORD>(WS_OVERLAPPEDWINDOW),
              static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)) & WS_OVERLAPPEDWINDOW);
}

TEST_F(Dpi96, MinimumTrackingSizeIsTheBaseSizeAndNothingElseChanges) {
    MINMAXINFO info;
    FillMemory(&info, sizeof info, 0x5A); // members the handler must leave alone keep this
    LRESULT result = SendMessageA(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(0, result);
    EXPECT_EQ(868, info.ptMinTrackSize.x);
    EXPECT_EQ(600, info.ptMinTrackSize.y);
    EXPECT_EQ(0x5A5A5A5A, info.ptMaxTrackSize.x);
    EXPECT_EQ(0x5A5A5A5A, info.ptMaxSize.y);
    EXPECT_EQ(0x5A5A5A5A, info.ptMaxPosition.x);
}

TEST_F(Dpi96, DraggingInwardStopsAtTheBaseSize) {
    ResizeTo(window_, 500, 300);
    SIZE size = OuterSize(window_);
    EXPECT_EQ(868, size.cx);
    EXPECT_EQ(600, size.cy);
}

TEST_F(Dpi96, GrowingBy100ResizesTheListAndTheThreeFramesOnly) {
    ResizeTo(window_, 968, 700);
    RECT list = ClientRect(Item(10001)), record = ClientRect(Item(10018));
    RECT listFrame = ClientRect(Item(10082)), tableFrame = ClientRect(Item(10046));
    EXPECT_EQ(318, list.right - list.left);
    EXPECT_EQ(500, list.bottom - list.top);
    EXPECT_EQ(580, record.right - record.left);
    EXPECT_EQ(601, record.bottom - record.top);
    EXPECT_EQ(338, listFrame.right - listFrame.left);
    EXPECT_EQ(601, listFrame.bottom - listFrame.top);
    EXPECT_EQ(928, tableFrame.right - tableFrame.left);
    EXPECT_EQ(43, tableFrame.bottom - tableFrame.top);
    // Every control keeps its top-left corner; all but the four keep their size too.
    for (const ControlRow& row : kControlRows) {
        SCOPED_TRACE(row.id);
        RECT r = ClientRect(Item(row.id));
        EXPECT_EQ(row.x, r.left);
        EXPECT_EQ(row.y, r.top);
        if (!IsResizedControl(row.id)) {
            EXPECT_EQ(row.width, r.right - r.left);
        }
    }
}

TEST_F(Dpi96, ShrinkingBackRestoresTheCreationSizes) {
    ResizeTo(window_, 1200, 1000);
    ResizeTo(window_, 868, 600);
    for (int id : {10001, 10018, 10082, 10046}) {
        SCOPED_TRACE(id);
        RECT r = ClientRect(Item(id));
        for (const ControlRow& row : kControlRows) {
            if (row.id != id) continue;
            EXPECT_EQ(row.width, r.right - r.left);
            EXPECT_EQ(row.height, r.bottom - r.top);
        }
    }
}

// Run in a Wine prefix of its own whose screen is set to 144 DPI.
TEST_F(Dpi144, ScreenIsAt144Dpi) {
    ASSERT_EQ(144, gDpi) << "run through tests/window/run-at-dpi 144";
}

TEST_F(Dpi144, EveryRectangleIsScaledByOneAndAHalfRoundedDown) {
    for (const ControlRow& row : kControlRows) {
        SCOPED_TRACE(row.id);
        RECT r = ClientRect(Item(row.id));
        EXPECT_EQ(row.x * 3 / 2, r.left);
        EXPECT_EQ(row.y * 3 / 2, r.top);
        EXPECT_EQ(row.width * 3 / 2, r.right - r.left);
        if (std::string(row.className) != "ComboBox") {
            EXPECT_EQ(row.height * 3 / 2, r.bottom - r.top);
        }
    }
}

TEST_F(Dpi144, TypeIdEditIsAt1084By120) {
    RECT r = ClientRect(Item(10024));
    EXPECT_EQ(1084, r.left);
    EXPECT_EQ(120, r.top);
    EXPECT_EQ(127, r.right - r.left);
    EXPECT_EQ(30, r.bottom - r.top);
}

TEST_F(Dpi144, WindowIs1302By900AndTheListIs477By600) {
    SIZE size = OuterSize(window_);
    EXPECT_EQ(1302, size.cx);
    EXPECT_EQ(900, size.cy);
    RECT list = ClientRect(Item(10001));
    EXPECT_EQ(477, list.right - list.left);
    EXPECT_EQ(600, list.bottom - list.top);
    MINMAXINFO info = {};
    SendMessageA(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(1302, info.ptMinTrackSize.x);
    EXPECT_EQ(900, info.ptMinTrackSize.y);
}

} // namespace
} // namespace ledgrin
