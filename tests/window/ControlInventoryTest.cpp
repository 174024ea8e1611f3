// The 82 controls as the window holds them right after creation, against the control
// table written out here by hand (identifier, class, text, style value, rectangle).
#include "tests/window/ControlRows.h"
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"
#include "ui/Labels.h"

#include <commctrl.h>

#include <vector>

namespace ledgrin {
namespace {

using Dpi96 = MainWindowTest;

std::string ClassOf(HWND control) {
    char name[64] = {};
    GetClassNameA(control, name, sizeof name);
    return name;
}

bool IsCombo(const ControlRow& row) {
    return std::string(row.className) == "ComboBox";
}

// Wine's combo box moves WS_VSCROLL from its own style to its drop-down list; Windows
// keeps it. Everything else is compared as given.
DWORD ExpectedStyle(const ControlRow& row) {
    return IsCombo(row) && RunningUnderWine() ? row.style & ~WS_VSCROLL : row.style;
}

TEST_F(Dpi96, ScreenIsAt96Dpi) {
    ASSERT_EQ(96, gDpi) << "these tests need a Wine prefix at 96 DPI";
}

TEST_F(Dpi96, EveryControlHasItsIdentifierClassStyleAndVisibility) {
    for (const ControlRow& row : kControlRows) {
        SCOPED_TRACE(row.id);
        HWND control = Item(row.id);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(row.id, GetDlgCtrlID(control));
        EXPECT_EQ(row.className, ClassOf(control));
        EXPECT_EQ(ExpectedStyle(row), static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)));
        EXPECT_EQ(row.exStyle, static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)));
        EXPECT_EQ((row.style & WS_VISIBLE) != 0, IsWindowVisible(control) != FALSE);
        EXPECT_TRUE(IsWindowEnabled(control));
    }
}

TEST_F(Dpi96, EveryControlHasItsCreationText) {
    for (const ControlRow& row : kControlRows) {
        // A drop-down list's window text is its selected row, not its creation text.
        if (IsCombo(row)) continue;
        SCOPED_TRACE(row.id);
        EXPECT_EQ(row.text, Text(row.id));
    }
}

TEST_F(Dpi96, EveryControlHasItsRectangle) {
    for (const ControlRow& row : kControlRows) {
        SCOPED_TRACE(row.id);
        RECT r = ClientRect(Item(row.id));
        EXPECT_EQ(row.x, r.left);
        EXPECT_EQ(row.y, r.top);
        EXPECT_EQ(row.width, r.right - r.left);
        // A drop-down list is as tall as its selection field; its creation height sizes
        // the list that drops down.
        if (!IsCombo(row)) {
            EXPECT_EQ(row.height, r.bottom - r.top);
        }
    }
}

TEST_F(Dpi96, EveryControlUsesTheStockGuiFont) {
    HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    for (const ControlRow& row : kControlRows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(stock, reinterpret_cast<HGDIOBJ>(SendMessageA(Item(row.id), WM_GETFONT, 0, 0)));
    }
}

TEST_F(Dpi96, ZOrderIsTheCreationOrder) {
    std::vector<int> ids;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(child));
    ASSERT_EQ(82u, ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(kControlRows[i].id, ids[i]) << "position " << i;
}

TEST_F(Dpi96, NothingIsCheckedAtCreation) {
    for (const ControlRow& row : kControlRows) {
        DWORD kind = row.style & BS_TYPEMASK;
        bool checkable =
            std::string(row.className) == "Button" && (kind == BS_AUTOCHECKBOX || kind == BS_AUTORADIOBUTTON);
        if (checkable) {
            EXPECT_EQ(BST_UNCHECKED, SendMessageA(Item(row.id), BM_GETCHECK, 0, 0)) << row.id;
        }
    }
}

struct ComboRow {
    std::string text;
    LRESULT data;
};

std::vector<ComboRow> ComboRows(HWND combo) {
    std::vector<ComboRow> rows;
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[128] = {};
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        rows.push_back({text, SendMessageA(combo, CB_GETITEMDATA, i, 0)});
    }
    return rows;
}

TEST_F(Dpi96, CurrencyListHasTwoRowsAndNoSelection) {
    std::vector<ComboRow> rows = ComboRows(Item(10004));
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ("Crells", rows[0].text);
    EXPECT_EQ("Points", rows[1].text);
    EXPECT_EQ(CB_ERR, SendMessageA(Item(10004), CB_GETCURSEL, 0, 0));
}

TEST_F(Dpi96, LevelListHasTheSeventeenRanksAndNoSelection) {
    std::vector<ComboRow> rows = ComboRows(Item(10027));
    ASSERT_EQ(17u, rows.size());
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(kPlayerRankLabels.labels[i], rows[i].text) << "rank " << i;
    EXPECT_EQ(CB_ERR, SendMessageA(Item(10027), CB_GETCURSEL, 0, 0));
}

TEST_F(Dpi96, CharFilterListHasAllCharsThenFourteenNames) {
    std::vector<ComboRow> rows = ComboRows(Item(10014));
    // Character code 13 has no name, so data 14 is skipped.
    const LRESULT data[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15};
    ASSERT_EQ(15u, rows.size());
    EXPECT_EQ("(All Chars)", rows[0].text);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(data[i], rows[i].data) << "row " << i;
        if (i > 0) {
            EXPECT_EQ(kCharacterNames.labels[data[i] - 1], rows[i].text) << "row " << i;
        }
    }
    EXPECT_EQ(0, SendMessageA(Item(10014), CB_GETCURSEL, 0, 0));
}

TEST_F(Dpi96, TypeFilterListHasAllTypesThenThePartSlots) {
    std::vector<ComboRow> rows = ComboRows(Item(10015));
    const ComboRow expected[] = {{"(All Types)", 0}, {"Top", 1},        {"Bottom", 2},
                                 {"Hair/Hat", 3},    {"Gloves", 4},     {"Shoes", 5},
                                 {"Accessory", 6},   {"Selfdesign", 9}, {"Selfdesign Copy", 10}};
    ASSERT_EQ(9u, rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(expected[i].text, rows[i].text) << "row " << i;
        EXPECT_EQ(expected[i].data, rows[i].data) << "row " << i;
    }
    EXPECT_EQ(0, SendMessageA(Item(10015), CB_GETCURSEL, 0, 0));
}

struct Column {
    std::string header;
    int width;
    int format;
};

std::vector<Column> Columns(HWND list) {
    std::vector<Column> columns;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        columns.push_back({text, column.cx, column.fmt & LVCFMT_JUSTIFYMASK});
    }
    return columns;
}

TEST_F(Dpi96, ItemListHasTypeIdAndNameColumns) {
    std::vector<Column> columns = Columns(Item(10001));
    ASSERT_EQ(2u, columns.size());
    EXPECT_EQ("TypeID", columns[0].header);
    EXPECT_EQ(75, columns[0].width);
    EXPECT_EQ("Name", columns[1].header);
    EXPECT_EQ(218, columns[1].width);
    for (const Column& c : columns)
        EXPECT_EQ(LVCFMT_LEFT, c.format);
}

TEST_F(Dpi96, MemberListHasTypeIdNameAndQtyColumns) {
    std::vector<Column> columns = Columns(Item(10072));
    ASSERT_EQ(3u, columns.size());
    EXPECT_EQ("TypeID", columns[0].header);
    EXPECT_EQ(90, columns[0].width);
    EXPECT_EQ("Name", columns[1].header);
    EXPECT_EQ(260, columns[1].width);
    EXPECT_EQ("Qty", columns[2].header);
    EXPECT_EQ(60, columns[2].width);
    for (const Column& c : columns)
        EXPECT_EQ(LVCFMT_LEFT, c.format);
}

TEST_F(Dpi96, ListViewsSelectWholeRowsOnly) {
    for (int id : {10001, 10072})
        EXPECT_EQ(LVS_EX_FULLROWSELECT, SendMessageA(Item(id), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)) << id;
}

} // namespace
} // namespace ledgrin
