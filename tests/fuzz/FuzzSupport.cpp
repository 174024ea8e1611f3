#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

namespace ledgrin::fuzz {

void CheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}

std::string ScratchFile(const std::string& name) {
    static const ScratchDir folder(fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path());
    return folder / name;
}

} // namespace ledgrin::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!std::freopen("/dev/null", "w", stdout)) ledgrin::fuzz::CheckFailed("freopen", __FILE__, __LINE__);
    return 0;
}
