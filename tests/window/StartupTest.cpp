// Ledgrin.exe started as a child process, the way a user starts it: the usage line, the
// start-up failure boxes, a normal start and close, and the resources of the file.
#include "tests/window/TestFiles.h"
#include "tests/window/WindowActions.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace ledgrin {
namespace {

constexpr DWORD kTimeoutMs = 30000;

// Ledgrin.exe is copied next to this test by the build.
std::string BuiltExe() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\')) + "\\Ledgrin.exe";
}

struct RunResult {
    bool started = false, ended = false;
    DWORD exitCode = 0xFFFFFFFF;
    std::vector<BoxSeen> boxes;
    bool mainWindowSeen = false;
    std::string output; // standard output
};

// The top-level windows of class `className` that process `pid` owns.
std::vector<HWND> WindowsOf(DWORD pid, const char* className) {
    std::vector<HWND> found;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, className, nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) found.push_back(w);
    }
    return found;
}

// Runs the exe with `arguments` from `workDir`, its standard output in a file, and
// watches its windows until it ends: every message box is read and confirmed; a main
// window is closed once it has shown its first record (by the diagnostic line).
RunResult RunLedgrin(const std::string& exe, const std::string& arguments, const std::string& workDir) {
    RunResult result;
    std::string outputPath = workDir + "\\stdout.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    PROCESS_INFORMATION pi = {};
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    result.started = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                    workDir.c_str(), &si, &pi) != FALSE;
    CloseHandle(out);
    if (!result.started) return result;

    bool closing = false;
    std::set<HWND> confirmed;
    DWORD waited = 0;
    while (WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT && (waited += 50) < kTimeoutMs) {
        for (HWND box : WindowsOf(pi.dwProcessId, "#32770")) {
            // A box is read once it is shown: before that it may still lack its texts.
            if (!IsWindowVisible(box) || confirmed.count(box)) continue;
            confirmed.insert(box);
            result.boxes.push_back(ReadAndConfirmBox(box));
        }
        for (HWND window : WindowsOf(pi.dwProcessId, "Ledgrin")) {
            result.mainWindowSeen = true;
            if (closing || ReadWholeFile(outputPath).find("Entry clicked:") == std::string::npos) continue;
            PostMessageA(window, WM_CLOSE, 0, 0);
            closing = true;
        }
    }
    result.ended = WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
    if (!result.ended) TerminateProcess(pi.hProcess, 99);
    GetExitCodeProcess(pi.hProcess, &result.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    result.output = ReadWholeFile(outputPath);
    return result;
}

bool HasLine(const RunResult& run, const std::string& wanted) {
    std::vector<std::string> lines = SplitLines(run.output);
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        exe_ = folder_.File("Ledgrin.exe");
        ASSERT_TRUE(CopyFileA(BuiltExe().c_str(), exe_.c_str(), FALSE)) << BuiltExe();
    }

    // Expects exactly one "Error" box with `text`, no main window and exit status 0.
    void ExpectOneErrorBox(const RunResult& run, const std::string& text) {
        ASSERT_TRUE(run.started);
        EXPECT_TRUE(run.ended);
        ASSERT_EQ(1u, run.boxes.size()) << run.output;
        EXPECT_EQ("Error", run.boxes[0].title);
        EXPECT_EQ(text, run.boxes[0].text);
        EXPECT_EQ(nullptr, run.boxes[0].owner);
        EXPECT_TRUE(run.boxes[0].onlyOk);
        EXPECT_FALSE(run.mainWindowSeen);
        EXPECT_EQ(0u, run.exitCode);
    }

    TempFolder folder_;
    std::string exe_;
};

TEST_F(StartupTest, UsagePrintsItsLineAndLoadsNothing) {
    // No archive exists: had anything been loaded, a box would appear.
    RunResult run = RunLedgrin(exe_, "a.iff -?", folder_.path());
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_FALSE(run.mainWindowSeen);
    EXPECT_TRUE(HasLine(run, "Usage: Ledgrin.exe [filename]")) << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("Entries inside"));
}

TEST_F(StartupTest, MissingArchiveShowsOneBox) {
    RunResult run = RunLedgrin(exe_, "", folder_.path());
    ExpectOneErrorBox(run, "tarvik_gb.iff not found. Quitting");
    EXPECT_TRUE(HasLine(run, "tarvik_gb.iff File not found.")) << run.output;
}

TEST_F(StartupTest, UnsupportedBallShowsOneBoxAfterFourTablesLoaded) {
    ASSERT_TRUE(
        WriteEditedArchive(folder_.File("tarvik_gb.iff"), kBallTable, [](std::vector<std::uint8_t>& entry) {
            entry[4] = 12; // Version, u32 at 4
        }));
    RunResult run = RunLedgrin(exe_, "", folder_.path());
    ExpectOneErrorBox(run, "Unsupported Ball.iff found inside tarvik_gb.iff. Quitting");
    EXPECT_TRUE(HasLine(run, "ClubSet.iff Version: 13")) << run.output;
    EXPECT_TRUE(HasLine(run, "Ball.iff Version: 12")) << run.output;
    EXPECT_TRUE(HasLine(run, "Unsupported version.")) << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("Mascot.iff"));
}

TEST_F(StartupTest, DamagedTableShowsOneBox) {
    // Caddie.iff cut to its 8-byte header and half a record of 224 bytes.
    ASSERT_TRUE(WriteEditedArchive(folder_.File("tarvik_gb.iff"), kCaddieTable,
                                   [](std::vector<std::uint8_t>& entry) { entry.resize(8 + 112); }));
    RunResult run = RunLedgrin(exe_, "", folder_.path());
    ExpectOneErrorBox(run, "Caddie.iff is missing or damaged inside tarvik_gb.iff. Quitting");
}

// A path of 259 characters with spaces in its name, taken as one argument when quoted.
std::string PathOf259(const TempFolder& folder) {
    std::string name = "my demo " + std::string(259 - folder.path().size() - 1 - 8, 'a');
    return folder.File(name);
}

TEST_F(StartupTest, ArchiveNamedByALongerArgumentIsRefusedNotCut) {
    // Cut to 259 characters, the argument would name this good archive.
    std::string path = PathOf259(folder_);
    ASSERT_TRUE(WriteGoodArchive(path));
    RunResult run = RunLedgrin(exe_, "\"" + path + "x\"", folder_.path());
    ExpectOneErrorBox(run, "The archive path is longer than 259 characters. Quitting");
}

TEST_F(StartupTest, NormalStartsShowTheWindowAndEndWith0) {
    // The last of the arguments, quoted, 259 characters: it opens (no archive lies beside the exe).
    std::string path = PathOf259(folder_);
    ASSERT_EQ(259u, path.size());
    ASSERT_TRUE(WriteGoodArchive(path));
    RunResult named = RunLedgrin(exe_, "first.iff -x \"" + path + "\"", folder_.path());
    // Started from another folder: the archive beside the executable is the default.
    ASSERT_TRUE(WriteGoodArchive(folder_.File("tarvik_gb.iff")));
    TempFolder elsewhere;
    RunResult beside = RunLedgrin(exe_, "", elsewhere.path());
    for (const RunResult& run : {named, beside}) {
        ASSERT_TRUE(run.started);
        EXPECT_TRUE(run.ended);
        EXPECT_TRUE(run.mainWindowSeen);
        EXPECT_TRUE(run.boxes.empty()) << (run.boxes.empty() ? "" : run.boxes[0].text);
        EXPECT_EQ(0u, run.exitCode);
    }
    std::vector<std::string> lines = SplitLines(beside.output);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("Binarypath: " + folder_.path(), lines[0]);
    for (const char* line : {"Card.iff Version: 13", "DPI: 96", "Filter: \"\" - Char: -1 - Type: -1"})
        EXPECT_TRUE(HasLine(beside, line)) << line;
}

// The manifest that the DPI scaling and the list views depend on, and the icon, are in the
// file (the version block only restates the project's constants).
TEST(ExecutableResources, IconAndManifest) {
    const std::string exe = BuiltExe();
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    EXPECT_NE(nullptr, FindResourceA(module, MAKEINTRESOURCEA(99), MAKEINTRESOURCEA(14))); // RT_GROUP_ICON
    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));     // RT_MANIFEST
    ASSERT_NE(nullptr, manifest);
    std::string text(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                     SizeofResource(module, manifest));
    FreeLibrary(module);
    for (const char* wanted :
         {"name=\"Ledgrin\" version=\"1.0.0.0\" type=\"win32\" processorArchitecture=\"*\"",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", ">true</dpiAware>"})
        EXPECT_NE(std::string::npos, text.find(wanted)) << wanted;
}

} // namespace
} // namespace ledgrin
