// Start-up, message loop and shutdown of the editor. RunStartup runs every step in order;
// the steps are separate so that the window tests create the window the same way.
#pragma once

#include "archive/TableLoad.h"

#include <windows.h>

#include <string>

namespace ledgrin {

// The directory of the running executable (whole path, however long).
std::string ReadExeDirectory();

// Loads tables 0 to 13 from archivePath into gApp.store through `load`, under the wait
// cursor, stopping at the first failure with its message box (no owner). True when all
// fourteen loaded. Tests pass a load of their own to see the cursor while a table loads;
// without one the archive is opened once for all fourteen (TableReader).
using TableLoader = LoadResult (*)(TableStore&, TableIndex, const std::string&, std::string*);
bool LoadAllTables(const std::string& archivePath, TableLoader load = nullptr);

// Registers the "Ledgrin" window class (icon 99, arrow cursor, button-face background)
// and the list-view class of the common controls.
bool RegisterMainClass(HINSTANCE instance);

// Creates the main window with the stock GUI font, resizes it by the DPI, shows it with
// `show` and brings it to the front. Null when creation fails.
HWND CreateMainWindow(HINSTANCE instance, int show);

// Ends initialisation, makes "Part" the current table with its button checked and
// resets the filters, which fills the list and shows its top record.
void ShowFirstTable(HWND window);

// Runs until the quit message; returns its exit code. Keyboard navigation between the
// controls goes through IsDialogMessageA.
int RunMessageLoop(HWND window);

// Frees the record buffers: the item tables in order, the descriptions last.
void ReleaseTables();

// The whole program: returns the process exit status.
int RunStartup(HINSTANCE instance, int show, int argc, const char* const* argv);

} // namespace ledgrin
