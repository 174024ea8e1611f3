// What the main window does for each routed message. Each handler reads the controls it
// needs through the main window, calls the pure logic and writes the result back.
#pragma once

#include "archive/TableSave.h"
#include "records/TableInfo.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace ledgrin {

// Item list: refill from gApp.currentTable and the filter controls, sorted by name, top row
// selected (which shows its record).
void RefillItemList(HWND window);
// Command 10013: filters back to their defaults, then exactly one refill.
void ResetFilters(HWND window);
// A command from the search box, a filter list or " Shop active".
void OnFilterChanged(HWND window, int code);
// A column-header click on either list view sorts the item list by that column.
void OnColumnClick(HWND window, int column);

// LVN_ITEMCHANGED from the item list: shows the newly selected record.
void OnItemChanged(HWND window, const NMLISTVIEW& change);

// A table radio button: rearranges the panel for table t, refills its filter lists,
// makes it current and resets the filters.
void OnTableChosen(HWND window, TableIndex t);

// "Update": writes the panel into the record and its description and saves both tables
// through `save` (each under the archive's write lock), under the wait cursor. Tests pass a
// save of their own to see the window while a save runs.
using TableSaver = SaveResult (*)(const TableStore&, TableIndex, const std::string&, const std::string&);
void OnUpdatePressed(HWND window, TableSaver save = SaveTableLocked);
// A click on " Avail. in Shop", " Display only", " Minimum" or " Maximum".
void OnCheckPairClicked(HWND window, int id, int code);

} // namespace ledgrin
