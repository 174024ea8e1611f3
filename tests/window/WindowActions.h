// What a user does to the window and what they can read off it, for the end-to-end
// window tests: clicks, typing, choosing rows, the rows of the lists, and the message
// boxes that appear meanwhile.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ledgrin {

// The table radio buttons by TableIndex 1 ("Part") to 13 ("Card").
constexpr int kButtonOfTable[14] = {0,     10010, 10047, 10048, 10049, 10050, 10060,
                                   10063, 10066, 10067, 10068, 10069, 10070, 10073};

// Little-endian reads from a record, at offsets the tests write out.
inline std::uint32_t Word(const std::uint8_t* r, std::size_t off) {
    return r[off] | (r[off + 1] << 8u);
}
inline std::uint32_t Dword(const std::uint8_t* r, std::size_t off) {
    return Word(r, off) | (Word(r, off + 2) << 16u);
}

// One row of a list view as the user sees it.
struct ListRow {
    std::vector<std::string> cells; // column texts
    LPARAM param;                   // the row's item parameter
    bool selected;
};
std::vector<ListRow> ReadListRows(HWND list, int columns);
// The record indexes of the item list's rows, top to bottom.
std::vector<std::uint32_t> ListedRecords(HWND list);

// A click on a push button, check box or radio button (it toggles and notifies).
void ClickButton(HWND window, int id);
// A row picked from a drop-down list: selected, then reported like a user's choice.
void ChooseComboRow(HWND window, int id, int row);
// A click on list row `row`: selected, focused and made the selection mark.
void ClickRow(HWND list, int row);
// The row that shows record `index`, or -1.
int RowOfRecord(HWND list, std::uint32_t index);
// A mouse click on the header of column `column` of a list view.
void ClickColumnHeader(HWND list, int column);

std::string ControlText(HWND window, int id);
bool IsChecked(HWND window, int id);
bool IsShown(HWND window, int id);
int ComboSelection(HWND window, int id);

// The rows of a drop-down list: text and item data.
struct ComboRow {
    std::string text;
    long data;
    bool operator==(const ComboRow& o) const { return text == o.text && data == o.data; }
};
std::vector<ComboRow> ComboRows(HWND window, int id);

// The lines written to standard output while `action` runs.
std::vector<std::string> PrintedLines(const std::function<void()>& action);
// Those of `lines` that begin with `prefix`.
std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix);

// A message box as the user saw it before confirming it with OK.
struct BoxSeen {
    std::string title, text;
    HWND owner;
    bool onlyOk;
};

// Reads a shown message box (of any process) and confirms it with OK.
BoxSeen ReadAndConfirmBox(HWND box);

// Runs `action` while a second thread watches the windows of this thread and confirms
// every message box that appears, so that the modal boxes of the window under test do
// not block it. Returns the boxes seen.
std::vector<BoxSeen> ConfirmBoxesDuring(const std::function<void()>& action);

} // namespace ledgrin
