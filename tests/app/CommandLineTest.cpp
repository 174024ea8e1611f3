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
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExeDirectoryFromPath(c.exePath), c.directory) << c.exePath;
}

TEST(ArgumentWalk, TheDefaultPathAndTheLengthLimit) {
    const std::string path259 = "D:\\" + std::string(256, 'p'), path260 = path259 + "p";
    // 246 characters + "\tarvik_gb.iff" (14) = 260.
    const std::string folder246 = "C:\\" + std::string(243, 'f');
    const struct {
        std::string exeDirectory, arg;
        StartAction action;
        std::string archivePath;
    } cases[] = {
        {"C:\\Games", "", StartAction::Run, "C:\\Games\\tarvik_gb.iff"},
        {"C:\\", "", StartAction::Run, "C:\\\\tarvik_gb.iff"},
        {"", "", StartAction::Run, "\\tarvik_gb.iff"},
        {"C:\\Games", path259, StartAction::Run, path259}, // longer ones are refused, never cut
        {"C:\\Games", path260, StartAction::PathTooLong, ""},
        {folder246, "", StartAction::PathTooLong, ""},
        {folder246.substr(1), "", StartAction::Run, folder246.substr(1) + "\\tarvik_gb.iff"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"Ledgrin.exe"};
        if (!c.arg.empty()) argv.push_back(c.arg.c_str());
        CommandLine line = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), c.exeDirectory);
        const std::string where = (c.arg.empty() ? c.exeDirectory : c.arg).substr(0, 20);
        EXPECT_EQ(line.action, c.action) << where;
        if (line.action == StartAction::Run) {
            EXPECT_EQ(line.archivePath, c.archivePath) << where;
        }
    }
}

} // namespace
} // namespace ledgrin
