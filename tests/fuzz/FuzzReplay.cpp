// Runs a fuzz target's inputs once each, without the fuzzer: the committed seeds and the
// inputs of faults found earlier, in every build (also without clang). Arguments are
// files or folders (every file inside, in name order).
#include "tests/support/TestFiles.h"

#include <algorithm>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    using namespace ledgrin::test;
    LLVMFuzzerInitialize(&argc, &argv);
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!fs::exists(argv[i])) {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 1;
        }
        std::vector<fs::path> files = {argv[i]};
        if (fs::is_directory(argv[i]))
            files.assign(fs::directory_iterator(argv[i]), fs::directory_iterator());
        std::sort(files.begin(), files.end());
        inputs.insert(inputs.end(), files.begin(), files.end());
    }
    for (const fs::path& file : inputs) {
        const Bytes bytes = ReadFileBytes(file.string());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::fprintf(stderr, "replayed %zu inputs\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
