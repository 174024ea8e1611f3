#include "view/RecordEdit.h"

#include "Fixtures.h"
#include "view/RecordDisplay.h"

#include <gtest/gtest.h>

#include <utility>

using namespace ledgrin;
using namespace fixtures;

TEST(UpdateGuard, RefusedWithoutTheShownRecordChangingNothing) {
    TableStore store;
    AddDesc(store, 0x97, "kept");
    Add(store, 1, ItemRecord(1, 0x97, "Cap"));
    Add(store, 1, ItemRecord(1, 0, "Hat"));
    const TableStore loaded = store;
    RecordValues panel = BuildRecordDisplay(store, 1, 1).values; // the panel shows record 1
    panel.name = "Changed";
    testing::internal::CaptureStdout();
    EXPECT_TRUE(ApplyRecordUpdate(store, 1, 0, 0, panel, "").refused);    // record 0 is not TypeID 0
    EXPECT_TRUE(ApplyRecordUpdate(store, 2, 0, 0, panel, "").refused);    // the Item table is empty
    EXPECT_TRUE(ApplyRecordUpdate(store, 1, 2, 0, panel, "").refused);    // past the end
    EXPECT_TRUE(ApplyRecordUpdate(store, 0, 0, 0x97, panel, "").refused); // Desc
    const std::string refused = "No Item selected, no Update.\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), refused + refused + refused + refused);
    EXPECT_EQ(store[1].Records, loaded[1].Records);
    EXPECT_EQ(store[0].Records, loaded[0].Records);
    EXPECT_EQ(store[0].RecordCount, 1);
}

TEST(NumberBox, ReadsLikeGetDlgItemIntUnsigned) {
    const std::pair<const char*, std::uint32_t> cases[] = {{"007", 7},        {"4294967295", 4294967295u},
                                                           {"4294967296", 0}, {"", 0},
                                                           {"  42 ", 42},     {"12a", 0},
                                                           {"-1", 0},         {"+1", 0},
                                                           {"1 2", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseNumberBox(text), value) << '"' << text << '"';
}
