#include "records/Diagnostics.h"

#include <cstdarg>
#include <cstdio>

namespace ledgrin {

namespace {
bool gQuiet = false;
}

void DiagPrintf(const char* format, ...) {
    if (gQuiet) return;
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void DiagLine(const char* text) {
    if (gQuiet) return;
    std::printf("%s\n", text);
    std::fflush(stdout);
}

QuietDiagnostics::QuietDiagnostics() : wasQuiet_(gQuiet) {
    gQuiet = true;
}

QuietDiagnostics::~QuietDiagnostics() {
    gQuiet = wasQuiet_;
}

} // namespace ledgrin
