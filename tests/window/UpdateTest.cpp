// "Update" and the check-box pairs, end to end: the panel reaches the archive on disk.
#include "tests/window/WindowFixture.h"

#include "archive/TableLoad.h"
#include "records/RecordHead.h"
#include "ui/AppState.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace ledgrin {
namespace {

using Dpi96 = MainWindowTest;

std::size_t TopRecord(HWND list) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<std::size_t>(item.lParam);
}

std::vector<std::uint8_t> ArchiveBytes() {
    HANDLE file =
        CreateFileA(gArchivePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<std::uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

TEST_F(Dpi96, UpdateWritesTheShownRecordIntoTheArchive) {
    ShowFirstTable();
    std::size_t index = TopRecord(Item(10001));
    SetDlgItemTextA(window_, 10003, "4321");
    SetDlgItemTextA(window_, 10020, "Renamed Visor");
    SendMessageA(Item(10011), BM_CLICK, 0, 0);

    TableStore reloaded;
    ASSERT_EQ(kLoaded, LoadTable(reloaded, kPartTable, gArchivePath));
    const std::uint8_t* record = reloaded.Record(kPartTable, index);
    EXPECT_EQ(4321u, RecordPrice(record));
    EXPECT_EQ("Renamed Visor", std::string(RecordName(record)));
    // The row keeps its place and shows the new name.
    char name[64] = {};
    LVITEMA sub = {};
    sub.iSubItem = 1;
    sub.pszText = name;
    sub.cchTextMax = sizeof name;
    SendMessageA(Item(10001), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&sub));
    EXPECT_EQ("Renamed Visor", std::string(name));
}

TEST_F(Dpi96, UpdateIsRefusedWhenThePanelShowsAnotherRecord) {
    ShowFirstTable();
    std::vector<std::uint8_t> before = ArchiveBytes();
    SetDlgItemTextA(window_, 10024, "12345"); // not the TypeID of the record under the mark
    SetDlgItemTextA(window_, 10003, "1");
    SendMessageA(Item(10011), BM_CLICK, 0, 0);
    EXPECT_EQ(before, ArchiveBytes());
}

bool Checked(HWND button) {
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

TEST_F(Dpi96, ShopCheckBoxesExcludeEachOther) {
    ShowFirstTable();
    SendMessageA(Item(10007), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(Item(10061), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(Item(10007), BM_CLICK, 0, 0);
    EXPECT_TRUE(Checked(Item(10007)));
    SendMessageA(Item(10061), BM_CLICK, 0, 0);
    EXPECT_TRUE(Checked(Item(10061)));
    EXPECT_FALSE(Checked(Item(10007)));
    SendMessageA(Item(10061), BM_CLICK, 0, 0); // unchecking leaves both off
    EXPECT_FALSE(Checked(Item(10061)));
    EXPECT_FALSE(Checked(Item(10007)));
}

TEST_F(Dpi96, ExactlyOneOfMinimumAndMaximumStaysChecked) {
    ShowFirstTable();
    bool maximum = Checked(Item(10029));
    EXPECT_NE(maximum, Checked(Item(10028)));
    SendMessageA(Item(maximum ? 10029 : 10028), BM_CLICK, 0, 0); // uncheck the checked one
    EXPECT_EQ(maximum, Checked(Item(10028)));
    EXPECT_NE(maximum, Checked(Item(10029)));
}

TEST_F(Dpi96, CheckPairsActOnClicksOnly) {
    ShowFirstTable();
    SendMessageA(Item(10028), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(Item(10029), BM_SETCHECK, BST_UNCHECKED, 0);
    // A double click (code 5) from " Minimum" is no click: " Maximum" stays as it is.
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(10028, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(Item(10028)));
    EXPECT_FALSE(Checked(Item(10029)));
    // A click that leaves " Minimum" unchecked checks " Maximum".
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(10028, BN_CLICKED), reinterpret_cast<LPARAM>(Item(10028)));
    EXPECT_TRUE(Checked(Item(10029)));
}

} // namespace
} // namespace ledgrin
