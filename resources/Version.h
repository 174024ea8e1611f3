/* The program's version, stated once: the version block of Ledgrin.exe, the window title,
   `ledgrin-cli --version`, `ledgrin-demo --version`, the project's version in CMake and the
   release package's name all come from these numbers. */
#pragma once

#define LEDGRIN_VERSION_MAJOR 0
#define LEDGRIN_VERSION_MINOR 5
#define LEDGRIN_VERSION_PATCH 0
#define LEDGRIN_VERSION_BUILD 0

#define LEDGRIN_STRINGIFY_(x) #x
#define LEDGRIN_STRINGIFY(x) LEDGRIN_STRINGIFY_(x)
/* "0.5.0": what --version prints and the package is named by. */
#define LEDGRIN_VERSION \
    LEDGRIN_STRINGIFY(LEDGRIN_VERSION_MAJOR.LEDGRIN_VERSION_MINOR.LEDGRIN_VERSION_PATCH)
/* "0.5.0.0": the version block's texts. */
#define LEDGRIN_VERSION_TEXT \
    LEDGRIN_STRINGIFY(LEDGRIN_VERSION_MAJOR.LEDGRIN_VERSION_MINOR.LEDGRIN_VERSION_PATCH.LEDGRIN_VERSION_BUILD)
/* "0.5": the window title's. */
#define LEDGRIN_VERSION_SHORT LEDGRIN_STRINGIFY(LEDGRIN_VERSION_MAJOR.LEDGRIN_VERSION_MINOR)
