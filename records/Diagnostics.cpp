#include "records/Diagnostics.h"

#include <cstdarg>
#include <cstdio>

namespace ledgrin {

void DiagPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void DiagLine(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

} // namespace ledgrin
