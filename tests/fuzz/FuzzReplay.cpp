// Runs a fuzz target's inputs once each, without the fuzzer: the committed seeds and the
// inputs of faults found earlier, in every build (also without clang). Arguments are
// folders: every file inside, in name order.
#include "tests/support/TestFiles.h"

#include <algorithm>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    using namespace ledgrin::test;
    LLVMFuzzerInitialize(&argc, &argv);
    for (int i = 1; i < argc; ++i) {
        std::vector<fs::path> files;
        if (fs::is_directory(argv[i]))
            files.assign(fs::directory_iterator(argv[i]), fs::directory_iterator());
        if (files.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            const Bytes bytes = ReadFileBytes(file.string());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        }
    }
    return 0;
}
