// Whole files in and out of the commands, byte for byte.
#pragma once

#include <string>

namespace ledgrin::cli {

// The file's bytes ("-": standard input); false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text);
// ReadWholeFile for a command's input, saying so when the file cannot be read.
class Console;
bool ReadInputFile(Console& console, const std::string& path, std::string& text);

// Writes text as the whole file; false (and no file left) when it cannot be written.
bool WriteWholeFile(const std::string& path, const std::string& text);

} // namespace ledgrin::cli
