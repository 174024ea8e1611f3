// Ledgrin.exe started as a child process, the way a user starts it: the usage line, the
// start-up failure boxes and normal starts.
#include "tests/support/TestArchives.h"
#include "tests/window/WindowActions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace ledgrin {
namespace {

struct RunResult {
    DWORD exitCode = 0xFFFFFFFF; // also when it did not start, or not end within 30 seconds
    std::vector<BoxSeen> boxes;
    bool mainWindowSeen = false;
    Lines output; // standard output
};

// Runs the exe with `arguments` from `workDir`, its standard output in a file, and
// watches its windows until it ends: every message box is read and confirmed; a main
// window is closed once it has shown its first record (by the diagnostic line).
RunResult RunLedgrin(const std::string& exe, const std::string& arguments, const std::string& workDir) {
    RunResult result;
    std::string outputPath = workDir + "\\stdout.txt", commandLine = "\"" + exe + "\" " + arguments;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError =
        CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    PROCESS_INFORMATION pi = {};
    bool started = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  workDir.c_str(), &si, &pi) != FALSE;
    CloseHandle(si.hStdOutput);
    if (!started) return result;
    int waited = 0;
    bool closing = false;
    result.boxes = ConfirmBoxesUntil(pi.dwThreadId, [&] {
        HWND window = FindWindowA("Ledgrin", nullptr);
        if (window && GetWindowThreadProcessId(window, nullptr) == pi.dwThreadId) {
            result.mainWindowSeen = true;
            if (!closing && test::ReadFileText(outputPath).find("Entry clicked:") != std::string::npos)
                closing = PostMessageA(window, WM_CLOSE, 0, 0);
        }
        return WaitForSingleObject(pi.hProcess, 30) == WAIT_OBJECT_0 || (waited += 50) > 30000;
    });
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &result.exitCode);
    TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    result.output = test::SplitLines(test::ReadFileText(outputPath));
    return result;
}

// A start of the exe from a folder of its own; the exe's folder holds the archive, if any.
struct Start {
    char archive; // the demo archive: 'b' beside the exe, '@' at a path of 259 characters; 0 none
    TableIndex edited;
    void (*edit)(test::Bytes& entry);
    std::string arguments; // "@" for the path of 259 characters
    const char* box;       // the one "Error" box, or none: then the main window opens
    Lines lines;           // printed among others
};

const Start kStarts[] = {
    {0, 0, nullptr, "a.iff -?", nullptr, {"Usage: Ledgrin.exe [filename]"}},
    {0, 0, nullptr, "", "tarvik_gb.iff not found. Quitting", {"tarvik_gb.iff File not found."}},
    {'b',
     kBallTable,
     [](test::Bytes& e) { e[4] = 12; },
     "",
     "Unsupported Ball.iff found inside tarvik_gb.iff. Quitting",
     {}},
    {'b',
     kCaddieTable,
     [](test::Bytes& e) { e.resize(8 + 112); },
     "",
     "Caddie.iff is missing or damaged inside tarvik_gb.iff. Quitting",
     {}},
    // Cut to 259 characters, the argument would name a good archive.
    {'@', 0, nullptr, "\"@x\"", "The archive path is longer than 259 characters. Quitting", {}},
    // The last argument not starting with "-", quoted, with spaces, 259 characters: it opens.
    {'@', 0, nullptr, "first.iff -x \"@\"", nullptr, {"DPI: 96", "Filter: \"\" - Char: -1 - Type: -1"}},
    {'b', 0, nullptr, "", nullptr, {"Card.iff Version: 13"}},
};

TEST(Startup, EachStartShowsItsBoxOrItsWindowAndEndsWith0) {
    char built[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, built, MAX_PATH);
    *std::strrchr(built, '\\') = 0; // this test's folder, where the build copies Ledgrin.exe
    for (const Start& s : kStarts) {
        SCOPED_TRACE(std::string(1, s.archive ? s.archive : '-') + ", arguments " + s.arguments);
        test::ScratchDir exeDir, workDir;
        const std::string dir = exeDir.path().string(), exe = exeDir / "Ledgrin.exe";
        const std::string path259 = dir + "\\my demo " + std::string(259 - dir.size() - 9, 'a');
        ASSERT_TRUE(CopyFileA((built + std::string("\\Ledgrin.exe")).c_str(), exe.c_str(), FALSE)) << built;
        const std::string archive = s.archive == '@' ? path259 : dir + "\\tarvik_gb.iff";
        ASSERT_TRUE(!s.archive || test::WriteDemoTables(archive, test::SmallDemoTables(), s.edited, s.edit));
        std::string arguments = s.arguments;
        if (arguments.find('@') != std::string::npos) arguments.replace(arguments.find('@'), 1, path259);
        RunResult run = RunLedgrin(exe, arguments, workDir.path().string());
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_EQ(!s.box && s.archive, run.mainWindowSeen);
        ASSERT_EQ(s.box ? 1u : 0u, run.boxes.size()) << (run.boxes.empty() ? "" : run.boxes[0].text);
        if (s.box) {
            EXPECT_EQ("Error", run.boxes[0].title);
            EXPECT_EQ(s.box, run.boxes[0].text);
            EXPECT_EQ(nullptr, run.boxes[0].owner);
            EXPECT_TRUE(run.boxes[0].onlyOk);
        }
        ASSERT_FALSE(run.output.empty());
        EXPECT_EQ("Binarypath: " + dir, run.output[0]);
        for (const std::string& line : s.lines)
            EXPECT_NE(run.output.end(), std::find(run.output.begin(), run.output.end(), line)) << line;
    }
}

} // namespace
} // namespace ledgrin
