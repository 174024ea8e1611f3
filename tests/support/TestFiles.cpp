#include "tests/support/TestFiles.h"

#include <fstream>
#include <iterator>
#include <random>

namespace ledgrin::test {

namespace {

template <typename Container> Container ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Container(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string RandomHex() {
    static std::random_device random;
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned value = random(), i = 0; i < 8; ++i, value >>= 4)
        hex += kDigits[value & 0xF];
    return hex;
}

} // namespace

// create_directory makes the folder or finds the name taken in one step, so a name that
// another test or process holds already is simply drawn again.
ScratchDir::ScratchDir(const fs::path& base) {
    do
        path_ = base / ("ledgrin-test-" + RandomHex());
    while (!fs::create_directory(path_));
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

Bytes ReadFileBytes(const std::string& path) {
    return ReadWhole<Bytes>(path);
}

std::string ReadFileText(const std::string& path) {
    return ReadWhole<std::string>(path);
}

bool WriteFileBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    if (size > 0) out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    return !out.fail();
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes) {
    return WriteFileBytes(path, bytes.data(), bytes.size());
}

bool WriteFileText(const std::string& path, const std::string& text) {
    return WriteFileBytes(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

} // namespace ledgrin::test
