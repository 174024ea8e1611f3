#include "ui/AppState.h"

namespace ledgrin {

HINSTANCE gInstance = nullptr;
HWND gMainWindow = nullptr;
HFONT gFont = nullptr;
int gDpi = 0;
std::string gExeDirectory;
std::string gArchivePath;
bool gInitialising = true;
TableIndex gCurrentTable = kPartTable;
std::uint32_t gSortDirectionBits = 0;
TableStore gStore;

} // namespace ledgrin
