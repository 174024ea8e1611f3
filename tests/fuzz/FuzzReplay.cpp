// Runs a fuzz target's inputs once each, without the fuzzer: the committed seeds and the
// inputs of faults found earlier, in every build (also without clang). Arguments are
// files or folders (every file inside, in name order).
#include "tests/support/TestFiles.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> InputsIn(const fs::path& path) {
    std::vector<fs::path> files;
    if (fs::is_directory(path)) {
        for (const fs::directory_entry& e : fs::directory_iterator(path))
            if (e.is_regular_file()) files.push_back(e.path());
        std::sort(files.begin(), files.end());
    } else {
        files.push_back(path);
    }
    return files;
}

} // namespace

int main(int argc, char** argv) {
    LLVMFuzzerInitialize(&argc, &argv);
    std::size_t ran = 0;
    for (int i = 1; i < argc; ++i) {
        if (!fs::exists(argv[i])) {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 1;
        }
        for (const fs::path& file : InputsIn(argv[i])) {
            const ledgrin::test::Bytes bytes = ledgrin::test::ReadFileBytes(file.string());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++ran;
        }
    }
    std::fprintf(stderr, "replayed %zu inputs\n", ran);
    return ran > 0 ? 0 : 1;
}
