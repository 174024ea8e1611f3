#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/StartupMessages.h"
#include "archive/TableLoad.h"
#include "records/Diagnostics.h"
#include "resources/Version.h"
#include "ui/AppState.h"
#include "ui/BusyCursor.h"
#include "ui/MainWindow.h"
#include "view/ControlIds.h"
#include "view/Layout.h"

#include <commctrl.h>

#include <cstdio>
#include <optional>
#include <vector>

namespace ledgrin {

namespace {

constexpr int kIconId = 99;
constexpr char kWindowTitle[] =
    "Ledgrin " LEDGRIN_VERSION_SHORT " - item tables for Tarvik, by the Ledgrin team";

// Release order at shutdown: Part to Card, then Desc.
constexpr TableIndex kReleaseOrder[kTableCount] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, kDescTable};

void ShowStartupError(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), kErrorTitle, MB_ICONERROR | MB_OK);
}

int PrintUsage() {
    bool written = std::printf("%s\n", kUsageLine) >= 0 && std::fflush(stdout) == 0;
    return written ? 0 : 1;
}

} // namespace

std::string ReadExeDirectory() {
    // A fixed buffer would cut a long path short and name the wrong folder.
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return ExeDirectoryFromPath(std::string(path.data(), length));
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

bool LoadAllTables(const std::string& archivePath, TableLoader load) {
    BusyCursor busy;
    std::optional<TableReader> reader;
    if (!load) reader.emplace(archivePath);
    for (TableIndex t = 0; t < kTableCount; ++t) {
        LoadResult result = reader ? reader->Load(gApp.store, t) : load(gApp.store, t, archivePath, nullptr);
        if (result != kLoaded) {
            busy.Aside([&] { ShowStartupError(LoadFailureMessage(result, t)); });
            return false;
        }
    }
    return true;
}

bool RegisterMainClass(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconId));
    wc.hIconSm =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(kIconId), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainClassName;
    return RegisterClassExA(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, int show) {
    gApp.instance = instance;
    gApp.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND window =
        CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, kMainClassName, kWindowTitle, WS_OVERLAPPEDWINDOW,
                        0, 0, kWindowWidth96, kWindowHeight96, nullptr, nullptr, instance, nullptr);
    if (!window) return nullptr;
    // gApp.dpi was read during creation; this resize also lays the controls out.
    PixelSize size = BaseWindowSize(gApp.dpi);
    SetWindowPos(window, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(window, show);
    SetForegroundWindow(window);
    return window;
}

void ShowFirstTable(HWND window) {
    gApp.initialising = false;
    gApp.currentTable = kPartTable;
    SendDlgItemMessageA(window, IdPartButton, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(window, WM_COMMAND, IdResetFiltersButton, 0);
}

int RunMessageLoop(HWND window) {
    MSG msg;
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) continue;
        if (IsDialogMessageA(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void ReleaseTables() {
    for (TableIndex t : kReleaseOrder)
        gApp.store[t].Records.Release();
}

int RunStartup(HINSTANCE instance, int show, int argc, const char* const* argv) {
    gApp.initialising = true;
    gApp.exeDirectory = ReadExeDirectory();
    DiagPrintf("Binarypath: %s\n", gApp.exeDirectory.c_str());

    CommandLine line = ParseCommandLine(argc, argv, gApp.exeDirectory);
    if (line.action == StartAction::ShowUsage) return PrintUsage();
    if (line.action == StartAction::PathTooLong) {
        ShowStartupError(PathTooLongMessage());
        return 0;
    }
    gApp.archivePath = line.archivePath;

    int status = 0;
    if (LoadAllTables(gApp.archivePath) && RegisterMainClass(instance)) {
        if (HWND window = CreateMainWindow(instance, show)) {
            ShowFirstTable(window);
            status = RunMessageLoop(window);
        }
    }
    ReleaseTables();
    return status;
}

} // namespace ledgrin
