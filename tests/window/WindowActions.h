// What a user does to the window and what they can read off it, for the end-to-end
// window tests: clicks, choosing rows, the rows of the lists, printed lines, and the
// message boxes that appear meanwhile.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ledgrin {

using Lines = std::vector<std::string>;

// The record indexes of the item list's rows, top to bottom.
std::vector<std::uint32_t> ListedRecords(HWND list);

// A click on a push button, check box or radio button (it toggles and notifies).
void ClickButton(HWND window, int id);
// A click on list row `row`: selected, focused and made the selection mark.
void ClickRow(HWND list, int row);

std::string ControlText(HWND window, int id);
bool IsChecked(HWND window, int id);

// The lines written to standard output while `action` runs.
Lines PrintedLines(const std::function<void()>& action);

// A message box as the user saw it before confirming it with OK.
struct BoxSeen {
    std::string title, text;
};
// Runs `action` while a second thread reads and confirms each message box this thread
// shows, so that the modal boxes of the code under test do not block it. Returns the
// boxes seen.
std::vector<BoxSeen> ConfirmBoxesDuring(const std::function<void()>& action);

} // namespace ledgrin
