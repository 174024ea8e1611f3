#include "tests/window/TestFiles.h"

#include "tools/DemoArchive.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace ledgrin {

bool WriteEditedArchive(const std::string& path, TableIndex t,
                        const std::function<void(std::vector<std::uint8_t>& entry)>& edit) {
    TableStore store;
    std::vector<ZipEntry> entries;
    if (BuildDemoTables({DemoSize::Small, 1}, store) != DemoResult::Done) return false;
    if (DemoArchiveEntries(store, entries) != DemoResult::Done) return false;
    for (ZipEntry& entry : entries)
        if (entry.name == EntryName(t)) edit(entry.bytes);
    return WriteZipFile(path, entries) == ZipWriteResult::Written;
}

TempFolder::TempFolder() {
    static int counter = 0;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (;;) {
        path_ = std::string(base) + "ledgrin-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

bool WriteGoodArchive(const std::string& path) {
    return WriteDemoArchive(path, {DemoSize::Small, 1}) == DemoResult::Done;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

} // namespace ledgrin
