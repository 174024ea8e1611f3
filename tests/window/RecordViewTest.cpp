// Choosing a row shows its record: every row of every table is clicked and each control
// compared with the record's display, whose values are tested natively against bytes.
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"
#include "view/RecordDisplay.h"

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

namespace ledgrin {
namespace {

using Dpi96RecordView = MainWindowTest;

std::string Number(std::uint32_t v) {
    return std::to_string(v);
}

// The controls that show record d of table t. Rental prices belong to Mascot (5), Skin
// (7) and CaddieItem (11); the bonus block to Mascot; " pay monthly" to Caddie (6); the
// members to SetItem (12) and the card block to Card (13).
void ExpectPanelShows(HWND window, TableIndex t, const RecordDisplay& d) {
    const RecordValues& v = d.values;
    std::map<int, std::string> texts = {{10020, v.name},
                                        {10024, d.typeIdText},
                                        {10022, d.characterText},
                                        {10003, Number(v.price)},
                                        {10065, Number(v.discountPrice)},
                                        {10002, d.description}};
    for (int i = 0; i < 5; ++i) {
        texts[10031 + 3 * i] = Number(v.stats[i]);
        texts[10032 + 3 * i] = Number(v.seconds[i]);
    }
    std::map<int, bool> checks = {{10005, v.tradeable},   {10006, v.notGiftable}, {10007, v.availInShop},
                                  {10061, v.displayOnly}, {10008, v.isNew},       {10009, v.isHot},
                                  {10028, !v.maximum},    {10029, v.maximum}};
    if (t == 5 || t == 7 || t == 11) {
        texts[10058] = Number(v.price7Days);
        texts[10059] = Number(v.price30Days);
    }
    if (t == 5) {
        texts[10052] = Number(v.crellPercent);
        texts[10054] = Number(v.expPercent);
        checks[10055] = v.extraItem;
    }
    if (t == 6) checks[10062] = v.payMonthly;
    if (t == 13) {
        texts[10075] = d.cardpackText;
        texts[10077] = Number(d.position);
        texts[10079] = Number(v.effectValue);
        texts[10081] = Number(v.effectTime);
        for (int id : {10078, 10079})
            EXPECT_EQ(d.showEffectValue, IsShown(window, id)) << id;
        for (int id : {10080, 10081})
            EXPECT_EQ(d.showEffectTime, IsShown(window, id)) << id;
    }
    for (const auto& [id, text] : texts)
        EXPECT_EQ(text, ControlText(window, id)) << "control " << id;
    for (const auto& [id, checked] : checks)
        EXPECT_EQ(checked, IsChecked(window, id)) << "control " << id;
    EXPECT_EQ(v.currencyRow, ComboSelection(window, 10004));
    EXPECT_EQ(v.levelRow, ComboSelection(window, 10027));
    if (t == 12) {
        std::vector<std::vector<std::string>> members;
        for (const MemberRow& m : d.members)
            members.push_back({m.typeIdText, m.name, m.quantityText});
        std::vector<std::vector<std::string>> shown;
        for (const ListRow& row : ReadListRows(GetDlgItem(window, 10072), 3))
            shown.push_back(row.cells);
        EXPECT_EQ(members, shown);
    }
}

TEST_F(Dpi96RecordView, EveryRowOfEveryTableShowsItsRecord) {
    ShowFirstTable();
    HWND list = GetDlgItem(window_, 10001);
    for (TableIndex t = 1; t <= 13; ++t) {
        ClickButton(window_, kButtonOfTable[t]);
        std::vector<std::uint32_t> rows = ListedRecords(list);
        ASSERT_FALSE(rows.empty()) << "table " << t;
        // From the bottom up, so that every row is a change from the one before.
        for (int row = static_cast<int>(rows.size()) - 1; row >= 0; --row) {
            SCOPED_TRACE("table " + std::to_string(t) + " record " + std::to_string(rows[row]));
            std::vector<std::string> lines = PrintedLines([&] { ClickRow(list, row); });
            RecordDisplay d = BuildRecordDisplay(gApp.store, t, rows[row]);
            ASSERT_TRUE(d.valid);
            EXPECT_EQ(SplitLines(d.clickedLine + d.fieldsLine), lines);
            ExpectPanelShows(window_, t, d);
        }
    }
}

TEST_F(Dpi96RecordView, RowChangesOfTheMemberListShowNothing) {
    ShowFirstTable();
    ClickButton(window_, kButtonOfTable[12]); // SetItem
    HWND list = GetDlgItem(window_, 10001);
    std::vector<std::uint32_t> rows = ListedRecords(list);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (Dword(gApp.store.Record(12, rows[row]), 0xA8) >= 2) { // a set of two or more members
            ClickRow(list, static_cast<int>(row));
            break;
        }
    }
    HWND members = GetDlgItem(window_, 10072);
    ASSERT_GT(SendMessageA(members, LVM_GETITEMCOUNT, 0, 0), 1);
    std::string shown = Text(10024);
    EXPECT_TRUE(PrintedLines([&] { ClickRow(members, 1); }).empty());
    EXPECT_EQ(shown, Text(10024));
}

} // namespace
} // namespace ledgrin
