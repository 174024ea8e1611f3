// Geometry rules of the main window: DPI scaling, the base and minimum size, and how
// the frames and the item list follow a resize. Plain functions without Win32.
#pragma once

namespace ledgrin {

// Outer size of the main window in 96-DPI units: initial size, minimum tracking size
// and the baseline that resizing measures growth from.
constexpr int kWindowWidth96 = 868;
constexpr int kWindowHeight96 = 600;

// value x dpi / 96, truncated toward zero. Every position, size and column width goes
// through it; x, y, width and height are scaled one by one.
int ScaleForDpi(int value, int dpi);

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The scaled base size: the window's initial size and its minimum tracking size.
PixelSize BaseWindowSize(int dpi);

// How far the window's outer size is from the scaled base size (negative when smaller,
// e.g. while minimised).
PixelSize WindowGrowth(PixelSize window, int dpi);

// A control that follows the window: a base dimension of 0 keeps the control's
// current value for that dimension, any other base grows with the window.
struct ResizeRule {
    int id;
    int width96;
    int height96;
};

// The four controls resized by WM_SIZE, in the order they are moved.
constexpr int kResizeRuleCount = 4;
extern const ResizeRule kResizeRules[kResizeRuleCount];

// The new size of a control: base x DPI plus the growth, or its current value where the
// rule keeps it. Computed from the base each time, so no rounding error builds up.
PixelSize ResizedControlSize(const ResizeRule& rule, int dpi, PixelSize growth, PixelSize current);

} // namespace ledgrin
