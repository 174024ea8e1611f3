// Window size, minimum size, the resize rule and scaling at 144 DPI.
#include "ui/Controls.h"
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"

#include <map>
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

TEST_F(Dpi96, WindowOpensAt868By600AndShrinksNoFurther) {
    SIZE size = OuterSize(window_);
    EXPECT_EQ(868, size.cx);
    EXPECT_EQ(600, size.cy);
    EXPECT_TRUE(IsWindowVisible(window_));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE),
              exStyle & (WS_EX_APPWINDOW | WS_EX_WINDOWEDGE));
    EXPECT_EQ(static_cast<DWORD>(WS_OVERLAPPEDWINDOW),
              static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)) & WS_OVERLAPPEDWINDOW);

    MINMAXINFO info;
    FillMemory(&info, sizeof info, 0x5A); // members the handler must leave alone keep this
    EXPECT_EQ(0, SendMessageA(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(868, info.ptMinTrackSize.x);
    EXPECT_EQ(600, info.ptMinTrackSize.y);
    EXPECT_EQ(0x5A5A5A5A, info.ptMaxTrackSize.x);
    EXPECT_EQ(0x5A5A5A5A, info.ptMaxSize.y);
    ResizeTo(window_, 500, 300); // dragging inward stops at the base size
    size = OuterSize(window_);
    EXPECT_EQ(868, size.cx);
    EXPECT_EQ(600, size.cy);
}

TEST_F(Dpi96, GrowingBy100ResizesTheListAndTheThreeFramesOnly) {
    ResizeTo(window_, 968, 700);
    // The item list, the record panel, the list panel and the table bar grow; every other
    // control keeps its size, and every control its top-left corner.
    const std::map<int, SIZE> grown = {
        {10001, {318, 500}}, {10018, {580, 601}}, {10082, {338, 601}}, {10046, {928, 43}}};
    for (const ControlSpec& row : kControls) {
        SCOPED_TRACE(row.id);
        RECT r = ClientRect(Item(row.id));
        EXPECT_EQ(row.x96, r.left);
        EXPECT_EQ(row.y96, r.top);
        EXPECT_EQ(grown.count(row.id) ? grown.at(row.id).cx : row.width96, r.right - r.left);
        if (grown.count(row.id)) {
            EXPECT_EQ(grown.at(row.id).cy, r.bottom - r.top);
        }
    }
}

// Run in a Wine prefix of its own whose screen is set to 144 DPI.
TEST_F(Dpi144, EverythingIsScaledByOneAndAHalfRoundedDown) {
    ASSERT_EQ(144, gApp.dpi) << "run through tests/window/run-at-dpi 144";
    SIZE size = OuterSize(window_);
    EXPECT_EQ(1302, size.cx);
    EXPECT_EQ(900, size.cy);
    MINMAXINFO info = {};
    SendMessageA(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(1302, info.ptMinTrackSize.x);
    EXPECT_EQ(900, info.ptMinTrackSize.y);
    for (const ControlSpec& row : kControls) { // the item list 477 x 600, the TypeID box at 1084, 120
        SCOPED_TRACE(row.id);
        RECT r = ClientRect(Item(row.id));
        EXPECT_EQ(row.x96 * 3 / 2, r.left);
        EXPECT_EQ(row.y96 * 3 / 2, r.top);
        EXPECT_EQ(row.width96 * 3 / 2, r.right - r.left);
        if (std::string(row.className) != "ComboBox") {
            EXPECT_EQ(row.height96 * 3 / 2, r.bottom - r.top);
        }
    }
}

} // namespace
} // namespace ledgrin
