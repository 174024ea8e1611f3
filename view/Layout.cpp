#include "view/Layout.h"

#include "view/ControlIds.h"

#include <cstdint>

namespace ledgrin {

int ScaleForDpi(int value, int dpi) {
    // 64-bit product: the result is the same as in 32 bits wherever that does not overflow.
    return static_cast<int>(static_cast<std::int64_t>(value) * dpi / 96);
}

PixelSize BaseWindowSize(int dpi) {
    return {ScaleForDpi(kWindowWidth96, dpi), ScaleForDpi(kWindowHeight96, dpi)};
}

PixelSize WindowGrowth(PixelSize window, int dpi) {
    PixelSize base = BaseWindowSize(dpi);
    return {window.width - base.width, window.height - base.height};
}

const ResizeRule kResizeRules[kResizeRuleCount] = {
    {IdItemList, 0, 400},
    {IdRecordFrame, 480, 501},
    {IdListFrame, 0, 501},
    {IdTableFrame, 828, 0},
};

PixelSize ResizedControlSize(const ResizeRule& rule, int dpi, PixelSize growth, PixelSize current) {
    PixelSize size = current;
    if (rule.width96 != 0) size.width = ScaleForDpi(rule.width96, dpi) + growth.width;
    if (rule.height96 != 0) size.height = ScaleForDpi(rule.height96, dpi) + growth.height;
    return size;
}

} // namespace ledgrin
