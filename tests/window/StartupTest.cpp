// Start-up as Ledgrin.exe runs it, with the arguments a user gives: the usage line, each
// box that ends start-up, and the window, closed once it is shown.
#include "app/Startup.h"
#include "tests/support/TestArchives.h"
#include "tests/window/WindowActions.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ledgrin {
namespace {

// Changes of one table's entry that stop start-up.
void UnknownVersion(test::Bytes& entry) {
    entry[4] = 12;
}
void CutShort(test::Bytes& entry) {
    entry.resize(entry.size() - 1);
}

struct Start {
    std::vector<std::string> args; // "@" stands for the archive's path of 259 characters
    TableIndex edited;
    void (*edit)(test::Bytes& entry);
    const char* box;  // the one "Error" box, or none: then the window opens unless usage is asked
    const char* line; // printed among others, if any
};

const Start kStarts[] = {
    {{"a.iff", "-?help"}, 0, nullptr, nullptr, "Usage: Ledgrin.exe [filename]"},
    {{"missing.iff"}, 0, nullptr, "tarvik_gb.iff not found. Quitting", "tarvik_gb.iff File not found."},
    {{"@"}, kBallTable, UnknownVersion, "Unsupported Ball.iff found inside tarvik_gb.iff. Quitting", nullptr},
    {{"@"}, kCardTable, CutShort, "Card.iff is missing or damaged inside tarvik_gb.iff. Quitting", nullptr},
    {{"@x"}, 0, nullptr, "The archive path is longer than 259 characters. Quitting", nullptr},
    // The last argument not starting with "-" opens; other arguments that do are ignored.
    {{"first.iff", "@", "-x"}, 0, nullptr, nullptr, "Filter: \"\" - Char: -1 - Type: -1"},
};

bool gWindowSeen = false;

// Closes the main window once start-up has shown it (the message loop runs this timer).
void CALLBACK CloseShownWindow(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindWindowA("Ledgrin", nullptr);
    if (window && IsWindowVisible(window) && PostMessageA(window, WM_CLOSE, 0, 0)) gWindowSeen = true;
}

TEST(Startup, EachStartShowsItsBoxOrItsWindowAndEndsWith0) {
    for (const Start& s : kStarts) {
        SCOPED_TRACE(s.args[0].substr(0, 5) + (s.box ? s.box : ""));
        test::ScratchDir dir;
        const std::string path259 = dir / ("my demo " + std::string(250 - dir.path().string().size(), 'a'));
        ASSERT_EQ(259u, path259.size());
        ASSERT_TRUE(test::WriteDemoTables(path259, test::SmallDemoTables(), s.edited, s.edit));
        std::vector<std::string> args = {"Ledgrin.exe"};
        for (const std::string& arg : s.args)
            args.push_back(arg[0] == '@' ? path259 + arg.substr(1) : arg);
        std::vector<const char*> argv;
        for (const std::string& arg : args)
            argv.push_back(arg.c_str());
        gWindowSeen = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseShownWindow);
        int status = -1;
        std::vector<BoxSeen> boxes;
        Lines lines = PrintedLines([&] {
            boxes = ConfirmBoxesDuring([&] {
                status = RunStartup(GetModuleHandleA(nullptr), SW_SHOWNORMAL, static_cast<int>(argv.size()),
                                    argv.data());
            });
        });
        KillTimer(nullptr, timer);
        EXPECT_EQ(0, status);
        EXPECT_EQ(!s.box && s.args[0] != "a.iff", gWindowSeen);
        ASSERT_EQ(s.box ? 1u : 0u, boxes.size()) << (boxes.empty() ? "" : boxes[0].text);
        EXPECT_TRUE(!s.box || (boxes[0].title == "Error" && boxes[0].text == s.box)) << boxes[0].text;
        EXPECT_TRUE(!s.line || std::find(lines.begin(), lines.end(), s.line) != lines.end()) << s.line;
    }
}

} // namespace
} // namespace ledgrin
