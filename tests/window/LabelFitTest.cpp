// Every text a user reads on a label, check box, radio button or push button fits its
// control, in the arrangement of every table, measured with the control's own font.
#include "tests/window/LabelFit.h"
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"

namespace ledgrin {
namespace {

using Dpi96Labels = MainWindowTest;
using Dpi144Labels = MainWindowTest;

void ExpectEveryTextFits(HWND window) {
    for (TableIndex t = 1; t < kTableCount; ++t) {
        ClickButton(window, kTableButtons[t]);
        EXPECT_EQ(std::vector<std::string>{}, ClippedTexts(window)) << "table " << t;
    }
}

TEST_F(Dpi96Labels, EveryTextFitsItsControl) {
    ASSERT_EQ(96, gDpi);
    ShowFirstTable();
    ExpectEveryTextFits(window_);
}

TEST_F(Dpi144Labels, EveryTextFitsItsControl) {
    ASSERT_EQ(144, gDpi) << "run through tests/window/run-at-dpi 144";
    ShowFirstTable();
    ExpectEveryTextFits(window_);
}

} // namespace
} // namespace ledgrin
