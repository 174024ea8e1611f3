// Process-wide state of the editor: set up by start-up, used by the window's handlers.
// Everything runs on one thread, so one plain object is enough.
#pragma once

#include "archive/TableStore.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace ledgrin {

struct AppState {
    HINSTANCE instance = nullptr;
    HFONT font = nullptr; // the stock default GUI font, the only font any control uses
    int dpi = 0;          // horizontal screen DPI, read once when the window is created; 0 before

    std::string exeDirectory;
    std::string archivePath;

    // True from the start until the window has been shown: selections in the item list are
    // not displayed meanwhile.
    bool initialising = true;
    // TableIndex shown in the item list, 1 to 13 once the window is in use.
    TableIndex currentTable = kPartTable;
    // One sort-direction bit per item-list column; every refill clears them.
    std::uint32_t sortDirectionBits = 0;

    TableStore store;
};

extern AppState gApp;

} // namespace ledgrin
