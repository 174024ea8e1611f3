// The executable's directory and the archive path, from the executable's path and the
// argument vector. Plain functions without Win32, so they are tested natively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ledgrin {

// Longest archive path the editor accepts, in characters.
constexpr std::size_t kMaxArchivePath = 259;

constexpr char kUsageLine[] = "Usage: Ledgrin.exe [filename]";
constexpr char kArchiveName[] = "tarvik_gb.iff";

// The directory of an executable, by the last backslash or colon in its full path:
// C:\Ledgrin.exe gives C:\, C:\Games\Ledgrin.exe gives C:\Games, C:Ledgrin.exe gives C:,
// a path with neither gives "".
std::string ExeDirectoryFromPath(std::string_view exePath);

// exeDirectory, a backslash and "tarvik_gb.iff". The backslash is added even after a
// trailing one (C:\\tarvik_gb.iff), which the file system accepts.
std::string DefaultArchivePath(std::string_view exeDirectory);

enum class StartAction {
    Run,         // load archivePath and open the window
    ShowUsage,   // an argument began with "-?": print the usage line, load nothing
    PathTooLong, // the archive path is longer than kMaxArchivePath: refuse it
};

struct CommandLine {
    StartAction action = StartAction::Run;
    std::string archivePath;
};

// Walks argv[1..argc-1] first to last: an argument beginning with "-?" asks for the
// usage line at once, any other argument beginning with '-' is ignored, and every
// other argument replaces the archive path, so the last one wins.
CommandLine ParseCommandLine(int argc, const char* const* argv, std::string_view exeDirectory);

} // namespace ledgrin
