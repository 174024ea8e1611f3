// Shared by the fuzz targets: the check that stops a run on a broken property, a scratch
// folder on a memory file system, and the start-up they share (standard output, where the
// diagnostic lines go, would flood the fuzzer's output: it goes to /dev/null).
#pragma once

#include "tests/support/TestFiles.h"

#include <string>

namespace ledgrin::fuzz {

using namespace test;

// Stops the run with a message when a property does not hold: the fuzzer then keeps the
// input as a crash, like any other fault it finds.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) ::ledgrin::fuzz::CheckFailed(#condition, __FILE__, __LINE__);                      \
    } while (0)
[[noreturn]] void CheckFailed(const char* condition, const char* file, int line);

// A folder of this process on a memory file system (or the temporary folder), removed at
// exit, and a file in it.
std::string ScratchFile(const std::string& name);

} // namespace ledgrin::fuzz
