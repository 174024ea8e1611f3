#include "tests/window/WindowFixture.h"

#include "app/Startup.h"
#include "tests/support/TestArchives.h"
#include "ui/AppState.h"
#include "ui/Controls.h"

namespace ledgrin {

namespace {

// Handles every message waiting for this thread (a quit message from a destroyed
// window included).
void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

int ButtonOf(TableIndex t) {
    for (const ControlDef& c : kControls)
        if (std::string(c.className) == "Button" &&
            lstrcmpiA((c.text + std::string(".iff")).c_str(), EntryName(t)) == 0)
            return c.id;
    return 0;
}

void MainWindowTest::SetUp() {
    static const bool registered = RegisterMainClass(GetModuleHandleA(nullptr));
    ASSERT_TRUE(registered);
    folder_ = std::make_unique<test::ScratchDir>();
    gApp.archivePath = *folder_ / "tarvik_gb.iff";
    gApp.exeDirectory = folder_->path().string(); // where a save writes its temporary archive
    ASSERT_TRUE(test::WriteDemoTables(gApp.archivePath, test::SmallDemoTables()));
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
