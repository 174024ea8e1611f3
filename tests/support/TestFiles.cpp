#include "tests/support/TestFiles.h"

#include <fstream>
#include <random>
#include <sstream>

namespace ledgrin::test {

// create_directory makes the folder or finds the name taken in one step, so a name that
// another test or process holds already is simply drawn again.
ScratchDir::ScratchDir(const fs::path& base) {
    static std::random_device random;
    do
        path_ = base / ("ledgrin-test-" + std::to_string(random()));
    while (!fs::create_directory(path_));
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string ReadFileText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

Bytes ReadFileBytes(const std::string& path) {
    const std::string text = ReadFileText(path);
    return Bytes(text.begin(), text.end());
}

bool WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return !out.fail();
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes) {
    return WriteFileText(path, std::string(bytes.begin(), bytes.end()));
}

std::map<std::string, Bytes> Snapshot(const fs::path& dir) {
    std::map<std::string, Bytes> files;
    for (const fs::directory_entry& item : fs::recursive_directory_iterator(dir))
        files[item.path().lexically_relative(dir).generic_string() + (item.is_directory() ? "/" : "")] =
            item.is_directory() ? Bytes() : ReadFileBytes(item.path().string());
    return files;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text)
        if (c == '\n')
            lines.emplace_back();
        else if (c != '\r')
            lines.back() += c;
    if (lines.back().empty()) lines.pop_back();
    return lines;
}

} // namespace ledgrin::test
