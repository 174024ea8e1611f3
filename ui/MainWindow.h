// The main window: its class name and window procedure.
#pragma once

#include <windows.h>

namespace ledgrin {

constexpr char kMainClassName[] = "Ledgrin";

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Resizes the item list and the three frames to the window's current outer size.
void LayoutControls(HWND window);

} // namespace ledgrin
