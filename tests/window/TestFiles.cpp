#include "tests/window/TestFiles.h"

#include "tools/DemoArchive.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace ledgrin {

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

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
    RemoveTree(path_);
}

bool WriteGoodArchive(const std::string& path) {
    return WriteDemoArchive(path, {DemoSize::Small, 1}) == DemoResult::Done;
}

bool WriteArchiveWithVersion(const std::string& path, TableIndex t, unsigned version) {
    return WriteEditedArchive(path, t, [version](std::vector<std::uint8_t>& bytes) {
        // Version: u32 little-endian at offset 4 of the entry.
        for (int i = 0; i < 4; ++i)
            bytes[4 + i] = static_cast<std::uint8_t>(version >> (8 * i));
    });
}

bool WriteArchiveWithTruncatedTable(const std::string& path, TableIndex t) {
    return WriteEditedArchive(path, t,
                              [t](std::vector<std::uint8_t>& bytes) { bytes.resize(8 + RecordSize(t) / 2); });
}

bool WriteArchiveWithEmptyTable(const std::string& path, TableIndex t) {
    return WriteEditedArchive(path, t, [](std::vector<std::uint8_t>& bytes) {
        bytes.resize(8); // RecordCount (u16 at 0) becomes 0; HeaderWord2 and Version stay
        bytes[0] = bytes[1] = 0;
    });
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace ledgrin
