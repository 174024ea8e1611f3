#include "app/CommandLine.h"
#include "app/StartupMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ledgrin {
namespace {

CommandLine Parse(std::vector<const char*> args, const char* exeDirectory = "C:\\Games") {
    args.insert(args.begin(), "Ledgrin.exe");
    return ParseCommandLine(static_cast<int>(args.size()), args.data(), exeDirectory);
}

TEST(ExeDirectory, RootBackslashStays) {
    EXPECT_EQ("C:\\", ExeDirectoryFromPath("C:\\Ledgrin.exe"));
    EXPECT_EQ("\\", ExeDirectoryFromPath("\\Ledgrin.exe"));
}

TEST(ExeDirectory, FolderBackslashGoes) {
    EXPECT_EQ("C:\\Games", ExeDirectoryFromPath("C:\\Games\\Ledgrin.exe"));
    EXPECT_EQ("C:\\Games\\Tarvik Tools", ExeDirectoryFromPath("C:\\Games\\Tarvik Tools\\Ledgrin.exe"));
    EXPECT_EQ("\\\\server\\share", ExeDirectoryFromPath("\\\\server\\share\\Ledgrin.exe"));
}

TEST(ExeDirectory, DriveColonStays) {
    EXPECT_EQ("C:", ExeDirectoryFromPath("C:Ledgrin.exe"));
}

TEST(ExeDirectory, NoSeparatorGivesEmpty) {
    EXPECT_EQ("", ExeDirectoryFromPath("Ledgrin.exe"));
    EXPECT_EQ("", ExeDirectoryFromPath(""));
}

TEST(ExeDirectory, LongPathIsKeptWhole) {
    std::string folder = "C:\\" + std::string(300, 'g');
    EXPECT_EQ(folder, ExeDirectoryFromPath(folder + "\\Ledgrin.exe"));
}

TEST(ArchivePath, DefaultIsBesideTheExecutable) {
    EXPECT_EQ("C:\\Games\\tarvik_gb.iff", Parse({}).archivePath);
    EXPECT_EQ(StartAction::Run, Parse({}).action);
}

TEST(ArchivePath, RootDirectoryGivesDoubledBackslash) {
    EXPECT_EQ("C:\\\\tarvik_gb.iff", Parse({}, "C:\\").archivePath);
    EXPECT_EQ("\\tarvik_gb.iff", Parse({}, "").archivePath);
}

TEST(ArgumentWalk, LastPlainArgumentWins) {
    CommandLine line = Parse({"a.iff", "b.iff"});
    EXPECT_EQ(StartAction::Run, line.action);
    EXPECT_EQ("b.iff", line.archivePath);
}

TEST(ArgumentWalk, MinusArgumentsAreIgnored) {
    CommandLine line = Parse({"a.iff", "-x"});
    EXPECT_EQ(StartAction::Run, line.action);
    EXPECT_EQ("a.iff", line.archivePath);
    EXPECT_EQ("C:\\Games\\tarvik_gb.iff", Parse({"-", "--verbose"}).archivePath);
}

TEST(ArgumentWalk, QuestionMarkAsksForUsageWhereverItStands) {
    EXPECT_EQ(StartAction::ShowUsage, Parse({"a.iff", "-?"}).action);
    EXPECT_EQ(StartAction::ShowUsage, Parse({"-?", "a.iff"}).action);
    EXPECT_EQ(StartAction::ShowUsage, Parse({"-?help"}).action);
    EXPECT_EQ(StartAction::Run, Parse({"?-"}).action);
    EXPECT_EQ(StartAction::Run, Parse({"-x?"}).action);
}

TEST(ArgumentWalk, UsageStopsTheWalkBeforeALongPath) {
    EXPECT_EQ(StartAction::ShowUsage, Parse({"-?", std::string(400, 'p').c_str()}).action);
}

TEST(LongArgument, PathOf259CharactersIsUsedWhole) {
    std::string path = "D:\\" + std::string(256, 'p');
    ASSERT_EQ(259u, path.size());
    CommandLine line = Parse({path.c_str()});
    EXPECT_EQ(StartAction::Run, line.action);
    EXPECT_EQ(path, line.archivePath);
}

TEST(LongArgument, PathOf260CharactersIsRefusedNotCut) {
    std::string path = "D:\\" + std::string(257, 'p');
    CommandLine line = Parse({path.c_str()});
    EXPECT_EQ(StartAction::PathTooLong, line.action);
    EXPECT_EQ(path, line.archivePath);
}

TEST(LongArgument, LaterShortArgumentReplacesALongOne) {
    std::string path(600, 'p');
    CommandLine line = Parse({path.c_str(), "b.iff"});
    EXPECT_EQ(StartAction::Run, line.action);
    EXPECT_EQ("b.iff", line.archivePath);
}

TEST(LongArgument, LongExecutableFolderIsRefusedToo) {
    // 246 + "\tarvik_gb.iff" (14) = 260 characters.
    std::string folder = "C:\\" + std::string(243, 'f');
    EXPECT_EQ(StartAction::PathTooLong, Parse({}, folder.c_str()).action);
    EXPECT_EQ(StartAction::Run, Parse({}, folder.substr(1).c_str()).action);
}

TEST(StartupMessages, TextsNameTheArchiveAndTheTable) {
    EXPECT_EQ("tarvik_gb.iff not found. Quitting", LoadFailureMessage(kArchiveNotFound, kDescTable));
    EXPECT_EQ("Unsupported Ball.iff found inside tarvik_gb.iff. Quitting",
              LoadFailureMessage(kUnsupportedVersion, kBallTable));
    EXPECT_EQ("CaddieItem.iff is missing or damaged inside tarvik_gb.iff. Quitting",
              LoadFailureMessage(kMissingOrDamaged, kCaddieItemTable));
    EXPECT_EQ("", LoadFailureMessage(kLoaded, kPartTable));
    EXPECT_EQ("The archive path is longer than 259 characters. Quitting", PathTooLongMessage());
}

} // namespace
} // namespace ledgrin
