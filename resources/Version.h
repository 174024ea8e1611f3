/* The program's version, written once: the version block and the window title use it. */
#pragma once

#define LEDGRIN_VERSION_MAJOR 0
#define LEDGRIN_VERSION_MINOR 5
#define LEDGRIN_VERSION_PATCH 0
#define LEDGRIN_VERSION_BUILD 0
#define LEDGRIN_VERSION_TEXT "0.5.0.0"
#define LEDGRIN_VERSION_SHORT "0.5"
