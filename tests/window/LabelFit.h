// The texts of labels, check boxes, radio buttons and push buttons against the room their
// controls give them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ledgrin {

// The texts of the shown controls that are wider than their room, as "ID "text" width > room",
// each measured with the control's own font.
std::vector<std::string> ClippedTexts(HWND window);

} // namespace ledgrin
