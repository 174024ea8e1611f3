// How long a refill of the item list takes in the real window, for the Part table of
// the demo archive at its realistic size and at 65,535 records. A measurement, not a
// test: it prints its numbers and asserts nothing about them.
//
//     RefillTiming.exe [runs]      (default 5 runs per size)
#include "app/Startup.h"
#include "records/Diagnostics.h"
#include "tests/window/TestFiles.h"
#include "tools/DemoArchive.h"
#include "ui/AppState.h"
#include "ui/ControlIds.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ledgrin {
namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Times `action` `runs` times, letting the window paint in between as it would for a user.
template <typename Action> std::vector<double> Time(int runs, Action action) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        action();
        QueryPerformanceCounter(&end);
        times.push_back(Milliseconds(start, end));
        PumpMessages();
    }
    std::sort(times.begin(), times.end());
    return times;
}

void Report(const char* what, std::size_t rows, const std::vector<double>& times) {
    std::printf("%-34s %6zu rows: median %8.1f ms, min %8.1f ms, max %8.1f ms\n", what, rows,
                times[times.size() / 2], times.front(), times.back());
    std::fflush(stdout);
}

bool Measure(DemoSize size, const char* label, int runs) {
    TempFolder folder;
    std::string archive = folder.File("tarvik_gb.iff");
    if (WriteDemoArchive(archive, {size, 1}) != DemoResult::Done) return false;
    gStore = TableStore{};
    if (!LoadAllTables(archive)) return false;
    gArchivePath = archive;
    gExeDirectory = folder.path();
    gInitialising = true;
    HWND window = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    if (!window) return false;
    ShowFirstTable(window);
    PumpMessages();
    HWND list = GetDlgItem(window, IdItemList);
    auto rows = [&] { return static_cast<std::size_t>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); };

    std::printf("%s archive:\n", label);
    // One reset is exactly one refill (filters to defaults, all enabled records, by name).
    Report("  refill (\"X\")", rows(),
           Time(runs, [&] { SendMessageA(window, WM_COMMAND, IdResetFiltersButton, 0); }));
    // The part of a refill that empties the full list: under Wine 8 its cost grows faster
    // than the row count and makes up most of a refill of the largest table.
    std::vector<double> deletes;
    std::size_t full = rows();
    for (int i = 0; i < runs; ++i) {
        SendMessageA(window, WM_COMMAND, IdResetFiltersButton, 0);
        deletes.push_back(Time(1, [&] { SendMessageA(list, LVM_DELETEALLITEMS, 0, 0); })[0]);
    }
    std::sort(deletes.begin(), deletes.end());
    Report("  of it: emptying the full list", full, deletes);
    SendMessageA(window, WM_COMMAND, IdResetFiltersButton, 0);
    Report("  switch to Part (panel + refill)", rows(),
           Time(runs, [&] { SendMessageA(window, WM_COMMAND, IdPartButton, 0); }));
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IdItemList;
    click.hdr.code = LVN_COLUMNCLICK;
    Report("  sort by TypeID (column click)", rows(), Time(runs, [&] {
               SendMessageA(window, WM_NOTIFY, IdItemList, reinterpret_cast<LPARAM>(&click));
           }));
    DestroyWindow(window);
    PumpMessages();
    return true;
}

} // namespace
} // namespace ledgrin

int main(int argc, char** argv) {
    using namespace ledgrin;
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QuietDiagnostics quiet; // the filter and record lines would swamp the numbers
    if (!RegisterMainClass(GetModuleHandleA(nullptr))) return 1;
    bool ok =
        Measure(DemoSize::Realistic, "Realistic demo", runs) && Measure(DemoSize::Max, "Max demo", runs);
    if (!ok) std::printf("could not build or load a demo archive\n");
    return ok ? 0 : 1;
}
