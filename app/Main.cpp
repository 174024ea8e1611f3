// Entry point of Ledgrin.exe, a Windows GUI program.
#include "app/Startup.h"

#include <cstdlib>
#include <new>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    try {
        // The argument vector, split by the runtime with the standard Windows quoting rules.
        return ledgrin::RunStartup(instance, show, __argc, __argv);
    } catch (const std::bad_alloc&) {
        // Only start-up can get here: the window procedure lets nothing through.
        MessageBoxA(nullptr, "Out of memory. Quitting", "Error", MB_ICONERROR | MB_OK);
        return 1;
    }
}
