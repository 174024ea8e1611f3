// Choosing a row shows its record: rows of every table are clicked and each control
// compared with the record's display, whose values are tested natively against bytes.
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"
#include "view/RecordDisplay.h"

#include <map>

namespace ledgrin {
namespace {

using Dpi96RecordView = MainWindowTest;

// The control that shows each value of record d of table t, written out. Rental prices
// belong to Mascot (5), Skin (7) and CaddieItem (11); the bonus block to Mascot;
// " pay monthly" to Caddie (6); the members to SetItem (12) and the card block to Card (13).
void ExpectPanelShows(HWND window, TableIndex t, const RecordDisplay& d) {
    const RecordValues& v = d.values;
    std::map<int, std::string> texts = {{10020, v.name},          {10024, d.typeIdText},
                                        {10022, d.characterText}, {10003, std::to_string(v.price)},
                                        {10002, d.description},   {10065, std::to_string(v.discountPrice)}};
    std::map<int, std::uint32_t> numbers;
    for (int i = 0; i < 5; ++i) {
        numbers[10031 + 3 * i] = v.stats[i];
        numbers[10032 + 3 * i] = v.seconds[i];
    }
    std::map<int, bool> checks = {{10005, v.tradeable},   {10006, v.notGiftable}, {10007, v.availInShop},
                                  {10061, v.displayOnly}, {10008, v.isNew},       {10009, v.isHot},
                                  {10028, !v.maximum},    {10029, v.maximum}};
    if (t == 5 || t == 7 || t == 11) numbers.insert({{10058, v.price7Days}, {10059, v.price30Days}});
    if (t == 5) {
        numbers.insert({{10052, v.crellPercent}, {10054, v.expPercent}});
        checks[10055] = v.extraItem;
    }
    if (t == 6) checks[10062] = v.payMonthly;
    if (t == 13) {
        texts[10075] = d.cardpackText;
        numbers.insert({{10077, d.position}, {10079, v.effectValue}, {10081, v.effectTime}});
        for (int id : {10078, 10079, 10080, 10081})
            EXPECT_EQ(id < 10080 ? d.showEffectValue : d.showEffectTime,
                      IsWindowVisible(GetDlgItem(window, id)) != 0);
    }
    for (const auto& [id, number] : numbers)
        texts[id] = std::to_string(number);
    for (const auto& [id, text] : texts)
        EXPECT_EQ(text, ControlText(window, id)) << "control " << id;
    for (const auto& [id, checked] : checks)
        EXPECT_EQ(checked, IsChecked(window, id)) << "control " << id;
    EXPECT_EQ(v.currencyRow, ComboSelection(window, 10004));
    EXPECT_EQ(v.levelRow, ComboSelection(window, 10027));
    if (t == 12) {
        std::vector<Lines> members;
        for (const MemberRow& m : d.members)
            members.push_back({m.typeIdText, m.name, m.quantityText});
        std::vector<Lines> shown;
        for (const ListRow& row : ReadListRows(GetDlgItem(window, 10072), 3))
            shown.push_back(row.cells);
        EXPECT_EQ(members, shown);
    }
}

TEST_F(Dpi96RecordView, RowsOfEveryTableShowTheirRecord) {
    ShowFirstTable();
    HWND list = GetDlgItem(window_, 10001);
    for (TableIndex t = 1; t <= 13; ++t) {
        ClickButton(window_, ButtonOf(t));
        std::vector<std::uint32_t> rows = ListedRecords(list);
        ASSERT_FALSE(rows.empty()) << "table " << t;
        // From the bottom up, so that every row is a change from the one before.
        for (int row = static_cast<int>(rows.size()) - 1; row >= 0; --row) {
            SCOPED_TRACE("table " + std::to_string(t) + " record " + std::to_string(rows[row]));
            Lines lines = PrintedLines([&] { ClickRow(list, row); });
            RecordDisplay d = BuildRecordDisplay(gApp.store, t, rows[row]);
            ASSERT_TRUE(d.valid);
            EXPECT_EQ(test::SplitLines(d.clickedLine + d.fieldsLine), lines);
            ExpectPanelShows(window_, t, d);
            // A row change of the member list shows nothing.
            EXPECT_TRUE(d.members.size() < 2 || PrintedLines([&] { ClickRow(Item(10072), 1); }).empty());
        }
    }
}

} // namespace
} // namespace ledgrin
