#include "ui/AppState.h"

namespace ledgrin {

AppState gApp;

} // namespace ledgrin
