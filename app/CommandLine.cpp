#include "app/CommandLine.h"

namespace ledgrin {

std::string ExeDirectoryFromPath(std::string_view exePath) {
    std::size_t cut = exePath.find_last_of("\\:");
    if (cut == std::string_view::npos) return {};
    // A root backslash (C:\ or \) and a drive colon stay; any other backslash goes.
    bool keep = exePath[cut] == ':' || cut == 0 || exePath[cut - 1] == ':';
    return std::string(exePath.substr(0, keep ? cut + 1 : cut));
}

std::string DefaultArchivePath(std::string_view exeDirectory) {
    std::string path(exeDirectory);
    path += '\\';
    path += kArchiveName;
    return path;
}

CommandLine ParseCommandLine(int argc, const char* const* argv, std::string_view exeDirectory) {
    CommandLine line;
    line.archivePath = DefaultArchivePath(exeDirectory);
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (arg[0] == '-' && arg[1] == '?') {
            line.action = StartAction::ShowUsage;
            return line;
        }
        if (arg[0] != '-') line.archivePath = arg;
    }
    // Never cut a path short: a shortened path could name another file.
    if (line.archivePath.size() > kMaxArchivePath) line.action = StartAction::PathTooLong;
    return line;
}

} // namespace ledgrin
