// The 82 child controls of the main window, described once, and their creation.
#pragma once

#include "view/ControlIds.h"

#include <windows.h>

namespace ledgrin {

struct ControlDef {
    int id;
    const char* className;
    const char* text; // window text at creation (list views and drop-down lists do not show it)
    DWORD style;      // without WS_CHILD and WS_VISIBLE, which CreateControls adds
    bool shown;       // WS_VISIBLE at creation
    int x96, y96, width96, height96;
};

// In creation order, which is also the z-order and so the Tab order.
extern const ControlDef kControls[kControlCount];

struct ColumnDef {
    int listId;
    const char* header;
    int width96;
};

// The list-view columns, in the order they are inserted (per list: column 0, 1, ...).
constexpr int kColumnCount = 5;
extern const ColumnDef kColumns[kColumnCount];

// Creates every control with the stock font, fills the four drop-down lists with their
// rows for the "Part" table, then adds the list-view columns. Positions and sizes are
// scaled by gApp.dpi.
void CreateControls(HWND window);

} // namespace ledgrin
