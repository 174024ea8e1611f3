// The default archive path from the executable's path. The start-up tests run the
// arguments (usage, a path too long, the last path winning); here, the executable's
// folders they cannot reach.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <string>

namespace ledgrin {
namespace {

TEST(CommandLine, DefaultArchivePathBesideTheExe) {
    // 246 characters + "\tarvik_gb.iff" (14) = 260.
    const std::string folder246 = "C:\\" + std::string(243, 'f');
    const struct {
        std::string exePath;
        StartAction action;
        std::string archivePath;
    } cases[] = {
        {"C:\\Games\\Ledgrin.exe", StartAction::Run, "C:\\Games\\tarvik_gb.iff"},
        {"C:\\Ledgrin.exe", StartAction::Run, "C:\\\\tarvik_gb.iff"}, // a root backslash stays
        {"\\\\server\\share\\Ledgrin.exe", StartAction::Run, "\\\\server\\share\\tarvik_gb.iff"},
        {"C:Ledgrin.exe", StartAction::Run, "C:\\tarvik_gb.iff"}, // a drive colon stays
        {"Ledgrin.exe", StartAction::Run, "\\tarvik_gb.iff"},
        {folder246.substr(1) + "\\Ledgrin.exe", StartAction::Run, folder246.substr(1) + "\\tarvik_gb.iff"},
        {folder246 + "\\Ledgrin.exe", StartAction::PathTooLong, folder246 + "\\tarvik_gb.iff"},
    };
    for (const auto& c : cases) {
        const char* argv[] = {"Ledgrin.exe", "-x"}; // ignored
        CommandLine line = ParseCommandLine(2, argv, ExeDirectoryFromPath(c.exePath));
        EXPECT_EQ(line.action, c.action) << c.exePath.substr(0, 30);
        EXPECT_EQ(line.archivePath, c.archivePath) << c.exePath.substr(0, 30);
    }
}

} // namespace
} // namespace ledgrin
