// Ledgrin.exe started as a child process, the way a user starts it: the usage line, the
// start-up failure boxes, a normal start and close, and the resources of the file.
#include "tests/window/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

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

struct MessageBoxSeen {
    std::string title, text;
    bool hasOwner, hasOnlyOk;
};

struct RunResult {
    bool started = false, ended = false;
    DWORD exitCode = 0xFFFFFFFF;
    std::vector<MessageBoxSeen> boxes;
    bool mainWindowSeen = false;
    std::string output; // standard output
};

struct Windows {
    DWORD pid;
    std::vector<HWND> found;
    const char* className;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* windows = reinterpret_cast<Windows*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (pid == windows->pid && std::string(name) == windows->className) windows->found.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsOf(DWORD pid, const char* className) {
    Windows windows = {pid, {}, className};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows.found;
}

// Reads a start-up message box and presses its OK button.
MessageBoxSeen ReadAndConfirm(HWND box) {
    char title[256] = {}, text[512] = {};
    GetWindowTextA(box, title, sizeof title);
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text); // the box's static text
    bool onlyOk = GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL) && !GetDlgItem(box, IDYES);
    MessageBoxSeen seen = {title, text, GetWindow(box, GW_OWNER) != nullptr, onlyOk};
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return seen;
}

// Returns true once the main window has shown its first record (by the diagnostic line).
using OnMainWindow = bool (*)(HWND window, const std::string& output);

bool CloseWhenShown(HWND window, const std::string& output) {
    if (output.find("Entry clicked:") == std::string::npos) return false;
    PostMessageA(window, WM_CLOSE, 0, 0);
    return true;
}

// Runs the exe with `arguments` from `workDir`, its standard output in a file, and
// watches its windows until it ends: every message box is read and confirmed; a main
// window is handed to onMainWindow.
RunResult RunLedgrin(const std::string& exe, const std::string& arguments, const std::string& workDir,
                     OnMainWindow onMainWindow = CloseWhenShown) {
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
            result.boxes.push_back(ReadAndConfirm(box));
        }
        for (HWND window : WindowsOf(pi.dwProcessId, "Ledgrin")) {
            result.mainWindowSeen = true;
            if (!closing) closing = onMainWindow(window, ReadWholeFile(outputPath));
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

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool HasLine(const RunResult& run, const std::string& wanted) {
    for (const std::string& line : Lines(run.output))
        if (line == wanted) return true;
    return false;
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
        EXPECT_FALSE(run.boxes[0].hasOwner);
        EXPECT_TRUE(run.boxes[0].hasOnlyOk);
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
    ASSERT_TRUE(WriteArchiveWithVersion(folder_.File("tarvik_gb.iff"), kBallTable, 12));
    RunResult run = RunLedgrin(exe_, "", folder_.path());
    ExpectOneErrorBox(run, "Unsupported Ball.iff found inside tarvik_gb.iff. Quitting");
    EXPECT_TRUE(HasLine(run, "ClubSet.iff Version: 13")) << run.output;
    EXPECT_TRUE(HasLine(run, "Ball.iff Version: 12")) << run.output;
    EXPECT_TRUE(HasLine(run, "Unsupported version.")) << run.output;
    EXPECT_EQ(std::string::npos, run.output.find("Mascot.iff"));
}

TEST_F(StartupTest, DamagedTableShowsOneBox) {
    ASSERT_TRUE(WriteArchiveWithTruncatedTable(folder_.File("tarvik_gb.iff"), kCaddieTable));
    RunResult run = RunLedgrin(exe_, "", folder_.path());
    ExpectOneErrorBox(run, "Caddie.iff is missing or damaged inside tarvik_gb.iff. Quitting");
}

TEST_F(StartupTest, ArchiveNamedByALongerArgumentIsRefusedNotCut) {
    // Cut to 259 characters, the argument would name this good archive.
    std::string shortened = folder_.File(std::string(259 - folder_.path().size() - 1, 'a'));
    ASSERT_EQ(259u, shortened.size());
    ASSERT_TRUE(WriteGoodArchive(shortened));
    RunResult run = RunLedgrin(exe_, "\"" + shortened + "x\"", folder_.path());
    ExpectOneErrorBox(run, "The archive path is longer than 259 characters. Quitting");
}

TEST_F(StartupTest, ArchiveArgumentOf259CharactersOpens) {
    std::string path = folder_.File(std::string(259 - folder_.path().size() - 1, 'a'));
    ASSERT_TRUE(WriteGoodArchive(path));
    RunResult run = RunLedgrin(exe_, "\"" + path + "\"", folder_.path());
    EXPECT_TRUE(run.mainWindowSeen);
    EXPECT_TRUE(run.boxes.empty()) << (run.boxes.empty() ? "" : run.boxes[0].text);
    EXPECT_EQ(0u, run.exitCode);
}

TEST_F(StartupTest, NormalStartShowsTheWindowAndEndsWith0) {
    ASSERT_TRUE(WriteGoodArchive(folder_.File("tarvik_gb.iff")));
    // Started from another folder: the archive beside the executable is the default.
    TempFolder elsewhere;
    RunResult run = RunLedgrin(exe_, "", elsewhere.path());
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.ended);
    EXPECT_TRUE(run.mainWindowSeen);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(0u, run.exitCode);
    std::vector<std::string> lines = Lines(run.output);
    ASSERT_GE(lines.size(), 33u) << run.output;
    EXPECT_EQ("Binarypath: " + folder_.path(), lines[0]);
    EXPECT_EQ("Entries inside Desc.iff: ", lines[1].substr(0, 25));
    EXPECT_EQ("Card.iff Version: 13", lines[28]);
    EXPECT_EQ("DPI: 96", lines[29]);
    EXPECT_EQ("Filter: \"\" - Char: -1 - Type: -1", lines[30]);
    EXPECT_EQ("Entry clicked: ", lines[31].substr(0, 15));
}

TEST_F(StartupTest, ArchiveArgumentWithSpacesIsOneArgument) {
    ASSERT_TRUE(WriteGoodArchive(folder_.File("my demo archive.iff")));
    RunResult run =
        RunLedgrin(exe_, "first.iff -x \"" + folder_.File("my demo archive.iff") + "\"", folder_.path());
    EXPECT_TRUE(run.mainWindowSeen);
    EXPECT_TRUE(run.boxes.empty()) << (run.boxes.empty() ? "" : run.boxes[0].text);
    EXPECT_EQ(0u, run.exitCode);
}

TEST(ExecutableResources, IconVersionAndManifest) {
    HMODULE exe = LoadLibraryExA(BuiltExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, exe);
    EXPECT_NE(nullptr, FindResourceA(exe, MAKEINTRESOURCEA(99), MAKEINTRESOURCEA(14))); // RT_GROUP_ICON
    HRSRC manifest = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));     // RT_MANIFEST
    ASSERT_NE(nullptr, manifest);
    std::string text(static_cast<const char*>(LockResource(LoadResource(exe, manifest))),
                     SizeofResource(exe, manifest));
    for (const char* wanted :
         {"name=\"Ledgrin\" version=\"1.0.0.0\" type=\"win32\" processorArchitecture=\"*\"",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", ">true</dpiAware>"})
        EXPECT_NE(std::string::npos, text.find(wanted)) << wanted;
    FreeLibrary(exe);
}

std::string VersionString(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length))
        return "(none)";
    return value;
}

TEST(ExecutableResources, VersionBlockNamesLedgrin05) {
    std::string exe = BuiltExe();
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00000005u, fixed->dwFileVersionMS); // 0.5
    EXPECT_EQ(0u, fixed->dwFileVersionLS);          // .0.0
    EXPECT_EQ(0x00000005u, fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);
    for (const char* name : {"CompanyName", "FileDescription", "InternalName", "ProductName"})
        EXPECT_EQ("Ledgrin", VersionString(block, name)) << name;
    EXPECT_EQ("Ledgrin.exe", VersionString(block, "OriginalFilename"));
}

} // namespace
} // namespace ledgrin
