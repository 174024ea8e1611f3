// Process-wide state of the editor: set up by start-up, used by the window's handlers.
// Everything runs on one thread, so plain globals are enough.
#pragma once

#include "archive/TableStore.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace ledgrin {

extern HINSTANCE gInstance;
extern HWND gMainWindow; // null until window creation has returned
extern HFONT gFont;      // the stock default GUI font, the only font any control uses
extern int gDpi;         // horizontal screen DPI, read once when the window is created; 0 before

extern std::string gExeDirectory;
extern std::string gArchivePath;

// True from the start until the window has been shown: selections in the item list are
// not displayed meanwhile.
extern bool gInitialising;
// TableIndex shown in the item list, 1 to 13 once the window is in use.
extern TableIndex gCurrentTable;
// One sort-direction bit per item-list column; every refill clears them.
extern std::uint32_t gSortDirectionBits;

extern TableStore gStore;

} // namespace ledgrin
