// ledgrin_refill_bench: times one refill of the Part list in the real main window, made
// the way start-up makes it, by sending command 10013 (the "X" button) and letting the
// window paint the new list; then one Update of the first Part item, command 10011, which
// saves Part.iff and then Desc.iff into ARCHIVE; then loads of all fourteen tables, the
// part of start-up that reads the archive. For Windows or Wine; scripts/bench runs it on
// copies of the demo archives. Prints three lines to standard error (standard output has
// the diagnostic lines):
// "refill Part: <records> records, <rows> rows, median <ms> ms over <n> refills (filter
// and sort alone: <ms> ms)", "update Part: median <ms> ms over <n> updates (both saves)"
// and "load all tables: <ms> ms at start-up, median <ms> ms over <n> more loads".
//     ledgrin_refill_bench ARCHIVE [RUNS]
#include "app/Startup.h"
#include "ui/AppState.h"
#include "view/ControlIds.h"
#include "view/ItemFilter.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace ledgrin;

namespace {

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// One refill as the user sees it: the command handled and the window painted.
double TimeOneRefill(HWND window) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IdResetFiltersButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IdResetFiltersButton)));
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    QueryPerformanceCounter(&end);
    PumpMessages();
    return Milliseconds(start, end);
}

// One Update of the item shown, as the "Update" button gives it: the record written back
// and the archive rebuilt twice.
double TimeOneUpdate(HWND window) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IdUpdateButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IdUpdateButton)));
    QueryPerformanceCounter(&end);
    PumpMessages();
    return Milliseconds(start, end);
}

// The same refill's filter and sort logic alone, without the list view.
double TimeRefillLogic() {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    ListRowsResult result = ListRows(gApp.store, kPartTable, FilterState{});
    QueryPerformanceCounter(&end);
    return result.ok ? Milliseconds(start, end) : -1;
}

// All fourteen tables loaded into a store of their own, as start-up loads them.
double TimeOneLoad() {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    TableStore store;
    bool loaded = true;
    TableReader reader(gApp.archivePath);
    for (TableIndex t = 0; t < kTableCount; ++t)
        loaded = reader.Load(store, t) == kLoaded && loaded;
    QueryPerformanceCounter(&end);
    return loaded ? Milliseconds(start, end) : -1;
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Usage: ledgrin_refill_bench ARCHIVE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
    gApp.archivePath = argv[1];
    gApp.exeDirectory = ReadExeDirectory();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    LARGE_INTEGER loadStart, loadEnd;
    QueryPerformanceCounter(&loadStart);
    if (!LoadAllTables(gApp.archivePath)) return 1;
    QueryPerformanceCounter(&loadEnd);
    if (!RegisterMainClass(instance)) return 1;
    gApp.initialising = true;
    HWND window = CreateMainWindow(instance, SW_SHOWNORMAL);
    if (!window) return 1;
    ShowFirstTable(window);
    PumpMessages();

    std::vector<double> times, logic;
    for (int i = 0; i < runs; ++i) {
        times.push_back(TimeOneRefill(window));
        logic.push_back(TimeRefillLogic());
    }
    int rows = static_cast<int>(SendDlgItemMessageA(window, IdItemList, LVM_GETITEMCOUNT, 0, 0));
    std::fprintf(
        stderr,
        "refill Part: %d records, %d rows, median %.1f ms over %d refills (filter and sort alone: %.1f ms)\n",
        gApp.store[kPartTable].RecordCount, rows, Median(times), runs, Median(logic));
    std::vector<double> updates;
    for (int i = 0; i < runs; ++i)
        updates.push_back(TimeOneUpdate(window));
    std::fprintf(stderr, "update Part: median %.1f ms over %d updates (both saves)\n", Median(updates), runs);
    // After the other measurements, so that their heap is the one start-up leaves.
    std::vector<double> loads;
    for (int i = 0; i < runs; ++i)
        loads.push_back(TimeOneLoad());
    std::fprintf(stderr, "load all tables: %.1f ms at start-up, median %.1f ms over %d more loads\n",
                 Milliseconds(loadStart, loadEnd), Median(loads), runs);
    DestroyWindow(window);
    PumpMessages();
    return 0;
}
