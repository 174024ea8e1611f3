#include "view/RecordEdit.h"

#include "Fixtures.h"
#include "view/RecordDisplay.h"

#include <gtest/gtest.h>

#include <functional>

using namespace ledgrin;
using namespace fixtures;

namespace {

// Updates record `index` of table t from the panel as the record display filled it,
// changed by `edit`; the printed lines are returned in `lines`.
UpdateOutcome Update(TableStore& store, int t, std::uint32_t index, const std::string& description,
                     const std::function<void(RecordValues&)>& edit = {}, std::string* lines = nullptr) {
    RecordDisplay shown = BuildRecordDisplay(store, t, index);
    std::uint32_t typeId = static_cast<std::uint32_t>(std::stoul(shown.typeIdText));
    if (edit) edit(shown.values);
    testing::internal::CaptureStdout();
    UpdateOutcome out = ApplyRecordUpdate(store, t, index, typeId, shown.values, description);
    std::string printed = testing::internal::GetCapturedStdout();
    if (lines) *lines = printed;
    return out;
}

} // namespace

TEST(DescriptionUpdate, TwoLinesRoundTripAndTheBoxIsReadAs1023Bytes) {
    TableStore store;
    AddDesc(store, 0xFFFFFFFF, "Line one\nLine two");
    Add(store, 2, ItemRecord(2, 0xFFFFFFFF, "Coin"));
    const Bytes loaded = store[0].Records;
    std::string lines;
    UpdateOutcome out = Update(store, 2, 0, BuildRecordDisplay(store, 2, 0).description, {}, &lines);
    EXPECT_EQ(lines, "Entry to Update: 0 (-1, Coin)\nUpdate Description: 0 (-1)\n");
    EXPECT_EQ(out.descIndex, 0u);
    EXPECT_FALSE(out.appended);
    EXPECT_EQ(store[0].Records, loaded);

    Update(store, 2, 0, std::string(1022, '\r') + "X");
    EXPECT_EQ(store[0].Records[4], 'X');
    Update(store, 2, 0, std::string(1023, '\r') + "X"); // the X lies beyond the box's buffer
    EXPECT_EQ(store[0].Records[4], 0);
}

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

TEST(CheckPairs, ShopPairExcludesAndLevelPairKeepsOne) {
    struct Case {
        int clicked;
        bool checked;
        PairEffect effect;
    };
    // The last: " Tradeable" has no partner.
    const Case cases[] = {{10007, true, {10061, false, true}}, {10007, false, {10061, false, false}},
                          {10061, true, {10007, false, true}}, {10061, false, {10007, false, false}},
                          {10028, true, {10029, false, true}}, {10028, false, {10029, true, true}},
                          {10029, true, {10028, false, true}}, {10029, false, {10028, true, true}},
                          {10005, true, {0, false, false}}};
    for (const Case& c : cases) {
        PairEffect e = CheckPairEffect(c.clicked, c.checked);
        EXPECT_EQ(e.change, c.effect.change) << c.clicked << c.checked;
        if (c.effect.change) {
            EXPECT_EQ(e.otherId, c.effect.otherId) << c.clicked << c.checked;
            EXPECT_EQ(e.otherChecked, c.effect.otherChecked) << c.clicked << c.checked;
        }
    }
}

TEST(NumberBox, ReadsLikeGetDlgItemIntUnsigned) {
    // Above 4,294,967,295 reads as 0.
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"123", 123},      {"007", 7}, {"4294967295", 4294967295u},
        {"4294967296", 0}, {"", 0},    {"   ", 0},
        {"  42 ", 42},     {"12a", 0}, {"-1", 0},
        {"+1", 0},         {"1 2", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseNumberBox(text), value) << '"' << text << '"';
}
