#include "cli/Files.h"

#include "cli/Console.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace ledgrin::cli {

bool ReadWholeFile(const std::string& path, std::string& text) {
    const bool standardInput = path == "-";
    std::FILE* file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
    if (!file) return false;
    // A file is read into a string of its size, not one that doubles as it fills: an
    // import or a patch of a full table is megabytes.
    if (!standardInput && std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0)
            text.reserve(text.size() + static_cast<std::size_t>(size) +
                         1); // + 1: the read that finds the end
        std::rewind(file);
    }
    std::size_t n;
    for (;;) {
        const std::size_t start = text.size(), room = std::max<std::size_t>(text.capacity() - start, 65536);
        text.resize(start + room);
        n = std::fread(&text[start], 1, room, file);
        text.resize(start + n);
        if (n < room) break;
    }
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

bool BlockWriter::Open(Console& console, const std::string& path) {
    capacity_ = kBlockSize + kBlockSize / 4;
    buffer_.reset(new char[capacity_]);
    if (path.empty() || path == "-") {
        console_ = &console;
        return true;
    }
    path_ = path;
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

char* BlockWriter::Room(std::size_t n) {
    if (size_ + n > capacity_) {
        Flush();
        if (n > capacity_) {
            capacity_ = n;
            buffer_.reset(new char[capacity_]);
        }
    }
    return buffer_.get() + size_;
}

void BlockWriter::Append(std::string_view text) {
    if (text.empty()) return;
    char* p = Room(text.size());
    std::memcpy(p, text.data(), text.size());
    Wrote(p + text.size());
}

void BlockWriter::Flush() {
    if (console_)
        console_->Out({buffer_.get(), size_});
    else if (file_ && ok_)
        ok_ = std::fwrite(buffer_.get(), 1, size_, file_) == size_;
    size_ = 0;
}

bool BlockWriter::Finish() {
    Flush();
    if (console_) return console_->FlushOut();
    if (!file_) return false;
    ok_ = std::fclose(file_) == 0 && ok_;
    file_ = nullptr;
    if (!ok_) std::remove(path_.c_str());
    return ok_;
}

BlockWriter::~BlockWriter() {
    if (file_) { // not finished: an exception on the way
        std::fclose(file_);
        std::remove(path_.c_str());
    }
}

} // namespace ledgrin::cli
