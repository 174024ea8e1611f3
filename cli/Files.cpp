#include "cli/Files.h"

#include "cli/Console.h"

#include <cstdio>

namespace ledgrin::cli {

bool ReadWholeFile(const std::string& path, std::string& text) {
    const bool standardInput = path == "-";
    std::FILE* file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, n);
    const bool ok = !std::ferror(file);
    if (!standardInput) std::fclose(file);
    return ok;
}

bool ReadInputFile(Console& console, const std::string& path, std::string& text) {
    if (ReadWholeFile(path, text)) return true;
    console.Error(path + ": cannot read the file");
    return false;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::remove(path.c_str());
    return ok;
}

} // namespace ledgrin::cli
