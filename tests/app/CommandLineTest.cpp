#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ledgrin {
namespace {

TEST(ExeDirectory, CutAtTheLastBackslashOrColon) {
    const struct {
        std::string exePath, directory;
    } cases[] = {
        {"C:\\Ledgrin.exe", "C:\\"}, // a root backslash stays
        {"\\Ledgrin.exe", "\\"},
        {"C:\\Games\\Ledgrin.exe", "C:\\Games"}, // any other backslash goes
        {"\\\\server\\share\\Ledgrin.exe", "\\\\server\\share"},
        {"C:Ledgrin.exe", "C:"}, // a drive colon stays
        {"Ledgrin.exe", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExeDirectoryFromPath(c.exePath), c.directory) << c.exePath;
}

TEST(ArgumentWalk, ArchivePathAndActionFromTheArguments) {
    const std::string path259 = "D:\\" + std::string(256, 'p'), path260 = path259 + "p";
    // 246 characters + "\tarvik_gb.iff" (14) = 260.
    const std::string folder246 = "C:\\" + std::string(243, 'f');
    const char* kAny = nullptr; // the walk stopped: the path does not matter
    const struct {
        std::string exeDirectory;
        std::vector<std::string> args;
        StartAction action;
        const char* archivePath;
    } cases[] = {
        {"C:\\Games", {}, StartAction::Run, "C:\\Games\\tarvik_gb.iff"},
        {"C:\\", {}, StartAction::Run, "C:\\\\tarvik_gb.iff"},
        {"", {}, StartAction::Run, "\\tarvik_gb.iff"},
        {"C:\\Games", {"a.iff", "-x"}, StartAction::Run, "a.iff"},
        {"C:\\Games", {"-", "--verbose"}, StartAction::Run, "C:\\Games\\tarvik_gb.iff"},
        {"C:\\Games", {"?-", "-x?"}, StartAction::Run, "?-"},
        {"C:\\Games", {"-?", "a.iff"}, StartAction::ShowUsage, kAny},
        {"C:\\Games", {"-?help"}, StartAction::ShowUsage, kAny},
        {"C:\\Games", {"-?", std::string(400, 'p')}, StartAction::ShowUsage, kAny},
        // Longer than 259 characters: refused, never cut.
        {"C:\\Games", {path259}, StartAction::Run, path259.c_str()},
        {"C:\\Games", {path260}, StartAction::PathTooLong, path260.c_str()},
        {"C:\\Games", {std::string(600, 'p'), "b.iff"}, StartAction::Run, "b.iff"},
        {folder246, {}, StartAction::PathTooLong, kAny},
        {folder246.substr(1), {}, StartAction::Run, kAny},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"Ledgrin.exe"};
        for (const std::string& arg : c.args)
            argv.push_back(arg.c_str());
        CommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), c.exeDirectory);
        std::string where = c.args.empty() ? c.exeDirectory : c.args[0].substr(0, 20);
        EXPECT_EQ(line.action, c.action) << where;
        if (c.archivePath) {
            EXPECT_EQ(line.archivePath, c.archivePath) << where;
        }
    }
}

} // namespace
} // namespace ledgrin
