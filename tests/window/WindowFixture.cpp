#include "tests/window/WindowFixture.h"

#include "app/Startup.h"
#include "tests/window/TestFiles.h"
#include "ui/AppState.h"

#include <memory>

namespace ledgrin {

namespace {

std::unique_ptr<TempFolder> gArchiveFolder;

} // namespace

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
    if (gArchiveFolder) return;
    gArchiveFolder = std::make_unique<TempFolder>();
    std::string archive = gArchiveFolder->File("tarvik_gb.iff");
    ASSERT_TRUE(WriteGoodArchive(archive));
    gArchivePath = archive;
    gExeDirectory = gArchiveFolder->path(); // where a save writes its temporary archive
    ASSERT_TRUE(LoadAllTables(archive));
    ASSERT_TRUE(RegisterMainClass(GetModuleHandleA(nullptr)));
}

void MainWindowTest::SetUp() {
    ASSERT_FALSE(gStore[kPartTable].Records.empty()) << "the demo archive did not load";
    gInitialising = true;
    gCurrentTable = kPartTable;
    window_ = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    ASSERT_NE(nullptr, window_);
    PumpMessages();
}

void MainWindowTest::TearDown() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    PumpMessages();
}

void MainWindowTest::ShowFirstTable() {
    ledgrin::ShowFirstTable(window_);
    PumpMessages();
}

bool FreshArchiveTest::WriteArchive(const std::string& path) {
    return WriteGoodArchive(path);
}

void FreshArchiveTest::SetUp() {
    savedArchivePath_ = gArchivePath;
    savedExeDirectory_ = gExeDirectory;
    savedStore_ = gStore;
    folder_ = std::make_unique<TempFolder>();
    std::string archive = folder_->File("tarvik_gb.iff");
    ASSERT_TRUE(WriteArchive(archive));
    gArchivePath = archive;
    gExeDirectory = folder_->path();
    gStore = TableStore{};
    ASSERT_TRUE(LoadAllTables(archive));
    MainWindowTest::SetUp();
    ShowFirstTable();
}

void FreshArchiveTest::TearDown() {
    MainWindowTest::TearDown();
    gArchivePath = savedArchivePath_;
    gExeDirectory = savedExeDirectory_;
    gStore = savedStore_;
    folder_.reset();
}

std::string MainWindowTest::Text(int id) const {
    char text[1100] = {};
    GetDlgItemTextA(window_, id, text, sizeof text);
    return text;
}

} // namespace ledgrin
