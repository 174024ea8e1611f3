// The wait cursor while the tables load and while "Update" saves, and never under a
// message box.
#include "tests/window/WindowFixture.h"

#include "app/Startup.h"
#include "ui/AppState.h"
#include "ui/Handlers.h"

namespace ledgrin {
namespace {

using Dpi96Busy = MainWindowTest;

HCURSOR gBefore;    // the cursor before the load or the update
std::string gSeen;  // the cursor at each load, save and box in turn: W wait, B before
bool gFail = false; // whether the watched loads or saves fail

void See() {
    HCURSOR cursor = GetCursor();
    gSeen += cursor == LoadCursorA(nullptr, IDC_WAIT) ? 'W' : cursor == gBefore ? 'B' : '?';
}

SaveResult WatchedSave(const TableStore& store, TableIndex t, const std::string& archive,
                       const std::string& dir) {
    See();
    return gFail ? kNotSaved : SaveTable(store, t, archive, dir);
}

LoadResult WatchedLoad(TableStore& store, TableIndex t, const std::string& archive, std::string*) {
    See();
    return gFail ? kArchiveNotFound : LoadTable(store, t, archive);
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
    char cls[8] = {};
    if (code == HCBT_ACTIVATE && GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls) &&
        std::string(cls) == "#32770")
        See();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Dpi96Busy, WaitCursorWhileTheArchiveIsReadOrWrittenButNeverUnderABox) {
    const struct {
        bool update, fail;
        std::string seen; // and the cursor after, last
    } cases[] = {
        {true, false, "WWB"},  // both saves
        {true, true, "WBWBB"}, // a box after each failed save
        {false, false, std::string(kTableCount, 'W') + "B"},
        {false, true, "WBB"}, // the first table fails
    };
    ShowFirstTable();
    HHOOK hook = SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
    gBefore = LoadCursorA(nullptr, IDC_IBEAM);
    for (const auto& c : cases) {
        gSeen.clear();
        gFail = c.fail;
        SetCursor(gBefore);
        ConfirmBoxesDuring([&] {
            c.update ? OnUpdatePressed(window_, WatchedSave)
                     : void(LoadAllTables(gApp.archivePath, WatchedLoad));
        });
        See();
        EXPECT_EQ(c.seen, gSeen) << (c.update ? "update" : "load") << (c.fail ? ", failing" : "");
    }
    UnhookWindowsHookEx(hook);
}

} // namespace
} // namespace ledgrin
