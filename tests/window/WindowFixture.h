// The real main window, created in this process the way start-up creates it, on the
// small demo archive.
#pragma once

#include "archive/TableStore.h"
#include "tests/window/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

namespace ledgrin {

class MainWindowTest : public ::testing::Test {
  protected:
    // Writes the demo archive, loads it and registers the window class, once.
    static void SetUpTestSuite();
    // Creates the window (steps of start-up up to showing it); no table is shown yet.
    void SetUp() override;
    void TearDown() override;

    // The rest of start-up: "Part" checked, filters reset, list filled, top row shown.
    void ShowFirstTable();

    HWND Item(int id) const { return GetDlgItem(window_, id); }
    std::string Text(int id) const;

    HWND window_ = nullptr;
};

// The window on an archive of its own, written afresh for each test and shown as
// start-up shows it, so that a test may change records and the archive on disk. The
// process-wide store and paths are put back afterwards.
class FreshArchiveTest : public MainWindowTest {
  protected:
    void SetUp() override;
    void TearDown() override;
    // The archive the test starts from: the small demo archive unless overridden.
    virtual bool WriteArchive(const std::string& path);

    std::unique_ptr<TempFolder> folder_; // the archive and the temporary archive of saves

  private:
    std::string savedArchivePath_, savedExeDirectory_;
    TableStore savedStore_;
};

// Handles every message waiting for this thread (a quit message from a destroyed
// window included).
void PumpMessages();

// The control's rectangle in client coordinates of its parent.
RECT ClientRect(HWND control);

// True when running under Wine, whose controls differ from Windows in a few noted ways.
bool RunningUnderWine();

} // namespace ledgrin
