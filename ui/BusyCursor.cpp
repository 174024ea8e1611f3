#include "ui/BusyCursor.h"

namespace ledgrin {

BusyCursor::BusyCursor() : wait_(LoadCursorA(nullptr, IDC_WAIT)), before_(SetCursor(wait_)) {
    // Putting back a null cursor would hide it until the mouse moves.
    if (!before_) before_ = LoadCursorA(nullptr, IDC_ARROW);
}

BusyCursor::~BusyCursor() {
    SetCursor(before_);
}

void BusyCursor::Aside(const std::function<void()>& showBox) const {
    SetCursor(before_);
    showBox();
    SetCursor(wait_);
}

} // namespace ledgrin
