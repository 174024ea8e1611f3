// Whole files in and out of the commands, byte for byte.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace ledgrin::cli {

// The file's bytes ("-": standard input); false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text);
// ReadWholeFile for a command's input, saying so when the file cannot be read.
class Console;
bool ReadInputFile(Console& console, const std::string& path, std::string& text);

// Writes text as the whole file; false (and no file left) when it cannot be written.
bool WriteWholeFile(const std::string& path, const std::string& text);

// Output of a whole table, written as it is made in blocks of about kBlockSize bytes: held
// whole it would be tens of megabytes of fresh memory. The caller appends a record at a
// time (Append, or Room and then Wrote) and calls Written() after each.
class BlockWriter {
  public:
    static constexpr std::size_t kBlockSize = 1 << 20;

    // To standard output (path empty or "-") or to the file at path, which Finish
    // removes again when it cannot all be written; false when it cannot be opened.
    bool Open(Console& console, const std::string& path);
    // Room for n more bytes at the end of the text: write them there, then say where they
    // end. The pointer is good until the next call.
    char* Room(std::size_t n);
    void Wrote(const char* end) { size_ = static_cast<std::size_t>(end - buffer_.get()); }
    void Append(std::string_view text);
    void Written() {
        if (size_ >= kBlockSize) Flush();
    }
    // Writes the rest; false when anything could not be written.
    bool Finish();
    ~BlockWriter();

  private:
    void Flush();

    Console* console_ = nullptr;
    std::FILE* file_ = nullptr;
    std::string path_;
    std::unique_ptr<char[]> buffer_;
    std::size_t size_ = 0, capacity_ = 0;
    bool ok_ = true;
};

} // namespace ledgrin::cli
