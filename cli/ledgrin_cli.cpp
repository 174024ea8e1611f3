// ledgrin-cli: export, import, batch edit, verify and compare item archives.
#include "cli/Command.h"

#include <string>
#include <vector>

#include <cstdio>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // Exports and imports are byte-faithful: no CR may be added or dropped on the way.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    // Messages can be many (a conflict for every record of a full table): written in blocks,
    // not a system call a line; the runtime flushes them at exit.
    static char errors[1 << 16];
    std::setvbuf(stderr, errors, _IOFBF, sizeof errors);
    ledgrin::cli::Console console(stdout, stderr);
    return ledgrin::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), console);
}
