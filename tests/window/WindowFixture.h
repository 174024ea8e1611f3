// The real main window, created in this process the way start-up creates it, on an
// archive written afresh for each test, so that a test may change records and the
// archive on disk.
#pragma once

#include "records/TableInfo.h"
#include "tests/support/TestFiles.h"
#include "tests/window/WindowActions.h"

#include <gtest/gtest.h>

#include <memory>

namespace ledgrin {

class MainWindowTest : public ::testing::Test {
  protected:
    // Writes and loads the small demo archive, then creates the window (the steps of
    // start-up up to showing it); no table is shown yet.
    void SetUp() override;
    void TearDown() override;

    // The rest of start-up: "Part" checked, filters reset, list filled, top row shown.
    void ShowFirstTable();

    HWND Item(int id) const { return GetDlgItem(window_, id); }

    HWND window_ = nullptr;
    std::unique_ptr<test::ScratchDir> folder_; // the archive and the temporary archive of saves
};

// The table button whose label is table t's entry name without ".iff".
int ButtonOf(TableIndex t);

} // namespace ledgrin
