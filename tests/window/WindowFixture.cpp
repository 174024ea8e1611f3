#include "tests/window/WindowFixture.h"

#include "app/Startup.h"
#include "ui/AppState.h"

namespace ledgrin {

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

RECT ClientRect(HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void MainWindowTest::SetUpTestSuite() {
    static const bool registered = RegisterMainClass(GetModuleHandleA(nullptr));
    ASSERT_TRUE(registered);
}

void MainWindowTest::SetUp() {
    folder_ = std::make_unique<TempFolder>();
    gApp.archivePath = folder_->File("tarvik_gb.iff");
    gApp.exeDirectory = folder_->path(); // where a save writes its temporary archive
    ASSERT_TRUE(WriteArchive(gApp.archivePath));
    gApp.store = TableStore{};
    ASSERT_TRUE(LoadAllTables(gApp.archivePath));
    gApp.initialising = true;
    gApp.currentTable = kPartTable;
    window_ = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    ASSERT_NE(nullptr, window_);
    PumpMessages();
}

void MainWindowTest::TearDown() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    PumpMessages();
    folder_.reset();
}

void MainWindowTest::ShowFirstTable() {
    ledgrin::ShowFirstTable(window_);
    PumpMessages();
}

} // namespace ledgrin
