// The item list as a user works it: the thirteen table buttons, the search box, the
// filter lists, " Shop active", "X" and the column headers. Expected rows come from
// the loaded records, read at offsets written out here.
#include "tests/window/WindowActions.h"
#include "tests/window/WindowFixture.h"

#include "ui/AppState.h"
#include "ui/Labels.h"

#include <commctrl.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace ledgrin {
namespace {

using Dpi96ItemList = MainWindowTest;
using RecordTest = std::function<bool(const std::uint8_t* record)>;

// The table buttons by TableIndex 1 to 13.
constexpr int kButtons[14] = {0,     10010, 10047, 10048, 10049, 10050, 10060,
                              10063, 10066, 10067, 10068, 10069, 10070, 10073};

std::string NameOf(const std::uint8_t* r) {
    std::string name(reinterpret_cast<const char*>(r + 0x08), 40);
    return name.substr(0, name.find('\0'));
}

// The list's name order, written independently: A-Z folded to a-z, bytes unsigned.
int CompareNames(const std::string& a, const std::string& b) {
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return fold(a[i]) < fold(b[i]) ? -1 : 1;
    return (a.size() > b.size()) - (a.size() < b.size());
}

const std::uint8_t* Rec(TableIndex t, std::uint32_t index) {
    return gStore.Record(t, index);
}

// Enabled records (u32 at 0 not 0) of table t that pass `test`.
std::set<std::uint32_t> EnabledWhere(TableIndex t, const RecordTest& test) {
    std::set<std::uint32_t> out;
    for (std::uint32_t i = 0; i < gStore[t].RecordCount; ++i)
        if (Dword(Rec(t, i), 0) != 0 && test(Rec(t, i))) out.insert(i);
    return out;
}
std::set<std::uint32_t> Enabled(TableIndex t) {
    return EnabledWhere(t, [](const std::uint8_t*) { return true; });
}

std::set<std::uint32_t> AsSet(const std::vector<std::uint32_t>& v) {
    return {v.begin(), v.end()};
}

// The rows are in name order A to Z (direction +1) or Z to A (-1).
void ExpectNameOrder(TableIndex t, const std::vector<std::uint32_t>& rows, int direction) {
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(direction * CompareNames(NameOf(Rec(t, rows[i - 1])), NameOf(Rec(t, rows[i]))), 0)
            << "rows " << i - 1 << " and " << i;
}

// The rows are in TypeID order, compared unsigned: ascending (+1) or descending (-1).
void ExpectTypeIdOrder(TableIndex t, const std::vector<std::uint32_t>& rows, int direction) {
    for (std::size_t i = 1; i < rows.size(); ++i) {
        std::uint32_t a = Dword(Rec(t, rows[i - 1]), 4), b = Dword(Rec(t, rows[i]), 4);
        EXPECT_TRUE(direction > 0 ? a <= b : a >= b) << "rows " << i - 1 << " and " << i;
    }
}

// ---- The table switch.

// Final visibility per group, one letter per table from Part to Card (S shown, H hidden).
struct GroupRow {
    const char* shown;
    std::vector<int> ids;
};
const GroupRow kGroupRows[] = {
    {"SSSSSSSHSSSSS", {10025, 10003, 10004, 10007, 10061, 10008, 10009}}, // shop block
    {"SSSSHHHHHHHHS", {10005}},                                           // " Tradeable"
    {"SSSSSSHHSSSSS", {10006}},                                           // " Not Giftable"
    {"SSSSHSHHSSHSS", {10064, 10065}},                                    // discount price
    {"SHSHSSHSSHHHS", {10030, 10033, 10036, 10039, 10042, 10031, 10034, 10037, 10040, 10043}},
    {"SHSHHHHSSHHHH", {10032, 10035, 10038, 10041, 10044}}, // second stat boxes
    {"HHHHSHSHHHSHH", {10056, 10058, 10057, 10059}},        // rental prices
    {"HHHHSHHHHHHHH", {10051, 10052, 10053, 10054, 10055}}, // bonus block
    {"HHHHHSHHHHHHH", {10062}},                             // " pay monthly"
    {"HHHHHHHHHHHSH", {10071, 10072}},                      // set members
    {"HHHHHHHHHHHHS", {10074, 10075, 10076, 10077}},        // card block (fixed part)
};
// Shown for every table.
const int kAlwaysShown[] = {10001, 10002, 10011, 10012, 10013, 10014, 10015, 10016, 10019, 10020,
                            10021, 10022, 10023, 10024, 10026, 10027, 10028, 10029, 10045};

const char* const kSlotCaptions[5] = {"Power / Slot", "Control / Slot", "Accuracy / Slot", "Spin / Slot",
                                      "Curve / Slot"};
const char* const kMaxCaptions[5] = {"Power / Max", "Control / Max", "Accuracy / Max", "Spin / Max",
                                     "Curve / Max"};
const char* const kPlainCaptions[5] = {"Power", "Control", "Accuracy", "Spin", "Curve"};
const char* const kCardCaptions[5] = {"Power Slot", "Control Slot", "Accuracy Slot", "Spin Slot",
                                      "Curve Slot"};
const char* const* CaptionsFor(TableIndex t) {
    if (t == 3) return kMaxCaptions;
    if (t == 5 || t == 6) return kPlainCaptions;
    if (t == 13) return kCardCaptions;
    return kSlotCaptions;
}

std::vector<ComboRow> CharacterRows() {
    std::vector<ComboRow> rows = {{"(All Chars)", 0}};
    for (std::uint32_t code = 0; code < 15; ++code)
        if (code != 13) rows.push_back({kCharacterNames.At(code), static_cast<long>(code + 1)});
    return rows;
}
const std::vector<ComboRow> kPartSlotRows = {{"(All Types)", 0}, {"Top", 1},        {"Bottom", 2},
                                             {"Hair/Hat", 3},    {"Gloves", 4},     {"Shoes", 5},
                                             {"Accessory", 6},   {"Selfdesign", 9}, {"Selfdesign Copy", 10}};
const std::vector<ComboRow> kItemKindRows = {{"(All Items)", 0}, {"Active", 1}, {"Passive", 2}};
const std::vector<ComboRow> kSkinKindRows = {{"(All Skins)", 0}, {"Background", 1}, {"Frame", 2},
                                             {"Sticker", 3},     {"Slot", 4},       {"CutIn", 6},
                                             {"Title", 7}};
const std::vector<ComboRow> kItemGroupRows = {{"(All Types)", 0},   {"Char", 3},       {"Part", 5},
                                              {"Accessory", 6},     {"Clubset", 10},   {"Comet", 12},
                                              {"Passive Item", 14}, {"Card Holic", 18}};
const std::vector<ComboRow> kCardKindRows = {{"(All Types)", 0}, {"Character Card", 1}, {"Caddie Card", 2},
                                             {"Effect Card", 3}, {"Card Pack", 4},      {"Card Box", 5},
                                             {"NPC Card", 6}};
const std::vector<ComboRow> kCardVolumeRows = {{"(All Volumes)", 0}, {"Packs", 1},    {"Volume 1", 2},
                                               {"Volume 2", 3},      {"Volume 3", 4}, {"Volume 4", 5}};

// The rows each table puts into 10014 and 10015; empty: the list keeps its rows.
struct FilterRows {
    std::vector<ComboRow> first, second;
};
FilterRows FilterRowsFor(TableIndex t) {
    switch (t) {
    case 1: return {CharacterRows(), kPartSlotRows};
    case 2: return {kItemKindRows, {}};
    case 7: return {kSkinKindRows, {}};
    case 10: return {CharacterRows(), {}};
    case 12: return {CharacterRows(), kItemGroupRows};
    case 13: return {kCardKindRows, kCardVolumeRows};
    default: return {};
    }
}

// The filter line right after a switch: row 0 of each list, so only the multipliers of
// Item (128) and Skin (16) show.
std::string DefaultFilterLine(TableIndex t) {
    int charValue = t == 2 ? -128 : t == 7 ? -16 : -1;
    return "Filter: \"\" - Char: " + std::to_string(charValue) + " - Type: -1";
}

class TableSwitch {
  public:
    TableSwitch(HWND window, TableIndex t) : window_(window), t_(t) {}

    void ExpectPanel() const {
        for (const GroupRow& group : kGroupRows)
            for (int id : group.ids)
                EXPECT_EQ(group.shown[t_ - 1] == 'S', Shown(id)) << "table " << t_ << " control " << id;
        for (int id : kAlwaysShown)
            EXPECT_TRUE(Shown(id)) << "table " << t_ << " control " << id;
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(CaptionsFor(t_)[i], ControlText(window_, 10030 + 3 * i)) << "table " << t_;
    }

    void ExpectFilterControls(const FilterRows& before) const {
        const char* first = "EEDDDDEDDEDEE";
        const char* second = "EDDDDDDDDDDEE";
        const char* shop = "EEEEEEEDEEEEE";
        EXPECT_EQ(first[t_ - 1] == 'E', Usable(10014)) << "table " << t_;
        EXPECT_EQ(second[t_ - 1] == 'E', Usable(10015)) << "table " << t_;
        EXPECT_EQ(shop[t_ - 1] == 'E', Usable(10016)) << "table " << t_;
        FilterRows now = FilterRowsFor(t_);
        EXPECT_EQ(now.first.empty() ? before.first : now.first, ComboRows(window_, 10014)) << "table " << t_;
        EXPECT_EQ(now.second.empty() ? before.second : now.second, ComboRows(window_, 10015))
            << "table " << t_;
        EXPECT_EQ(0, ComboSelection(window_, 10014));
        EXPECT_EQ(0, ComboSelection(window_, 10015));
        EXPECT_FALSE(IsChecked(window_, 10016));
        EXPECT_EQ("", ControlText(window_, 10012));
    }

    void ExpectListAndTopRecord() const {
        HWND list = GetDlgItem(window_, 10001);
        std::vector<std::uint32_t> rows = ListedRecords(list);
        EXPECT_EQ(Enabled(t_), AsSet(rows)) << "table " << t_;
        ExpectNameOrder(t_, rows, +1);
        ASSERT_FALSE(rows.empty()) << "table " << t_;
        std::vector<ListRow> shown = ReadListRows(list, 2);
        EXPECT_TRUE(shown[0].selected);
        EXPECT_EQ(0, SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
        EXPECT_EQ(std::to_string(Dword(Rec(t_, rows[0]), 4)), ControlText(window_, 10024)) << "table " << t_;
        EXPECT_EQ(NameOf(Rec(t_, rows[0])), ControlText(window_, 10020));
        EXPECT_EQ(std::to_string(static_cast<std::int32_t>(Dword(Rec(t_, rows[0]), 4))), shown[0].cells[0]);
        if (t_ == 13) { // the card block's effect controls follow the top card
            bool value = Word(Rec(t_, rows[0]), 0xDE) != 0, time = Word(Rec(t_, rows[0]), 0x158) != 0;
            EXPECT_EQ(value, Shown(10078));
            EXPECT_EQ(value, Shown(10079));
            EXPECT_EQ(time, Shown(10080));
            EXPECT_EQ(time, Shown(10081));
        }
    }

  private:
    bool Shown(int id) const { return IsWindowVisible(GetDlgItem(window_, id)) != FALSE; }
    bool Usable(int id) const { return IsWindowEnabled(GetDlgItem(window_, id)) != FALSE; }

    HWND window_;
    TableIndex t_;
};

TEST_F(Dpi96ItemList, EveryTableButtonShowsItsPanelFiltersAndList) {
    ShowFirstTable();
    for (TableIndex t = 1; t <= 13; ++t) {
        FilterRows before = {ComboRows(window_, 10014), ComboRows(window_, 10015)};
        StdoutCapture out;
        ClickButton(window_, kButtons[t]);
        std::vector<std::string> lines = out.Lines();
        EXPECT_EQ(t, gCurrentTable);
        for (TableIndex other = 1; other <= 13; ++other)
            EXPECT_EQ(other == t, IsChecked(window_, kButtons[other])) << t << " " << other;
        // Exactly one refill, with the filters at their defaults.
        ASSERT_EQ(1u, CountLines(lines, "Filter: ")) << "table " << t;
        EXPECT_EQ(DefaultFilterLine(t), FirstLine(lines, "Filter: "));
        EXPECT_EQ(1u, CountLines(lines, "Entry clicked: ")) << "table " << t;
        TableSwitch view(window_, t);
        view.ExpectPanel();
        view.ExpectFilterControls(before);
        view.ExpectListAndTopRecord();
    }
}

TEST_F(Dpi96ItemList, PressingTheShownTableAgainStartsItOver) {
    ShowFirstTable();
    ClickButton(window_, 10070); // "SetItem"
    HWND list = GetDlgItem(window_, 10001);
    ChooseComboRow(window_, 10015, 2);
    ClickButton(window_, 10016);
    SetDlgItemTextA(window_, 10012, "e");
    ChooseComboRow(window_, 10015, 0);
    ASSERT_GE(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    ClickRow(list, 2);
    ASSERT_TRUE(ReadListRows(list, 0)[2].selected);

    ClickButton(window_, 10070);
    EXPECT_EQ("", ControlText(window_, 10012));
    EXPECT_EQ(0, ComboSelection(window_, 10014));
    EXPECT_EQ(0, ComboSelection(window_, 10015));
    EXPECT_FALSE(IsChecked(window_, 10016));
    std::vector<ListRow> rows = ReadListRows(list, 0);
    EXPECT_EQ(Enabled(12).size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(i == 0, rows[i].selected) << "row " << i;
    EXPECT_EQ(std::to_string(Dword(Rec(12, static_cast<std::uint32_t>(rows[0].param)), 4)),
              ControlText(window_, 10024));
}

// ---- The filter lists.

struct ComboFilter {
    TableIndex table;
    int comboId;
    int multiplier; // between the row's item data - 1 and the value compared
    std::function<std::uint32_t(const std::uint8_t*)> recordValue;
};

std::uint32_t CharField(const std::uint8_t* r) { // TypeID bits 18..25
    return (Dword(r, 4) >> 18) & 0xFF;
}

const ComboFilter kComboFilters[] = {
    {1, 10014, 1, CharField},
    {1, 10015, 1, [](const std::uint8_t* r) { return Dword(r, 0xD0); }}, // PartSlot
    {2, 10014, 128, CharField},
    {7, 10014, 16, CharField},
    {10, 10014, 1, [](const std::uint8_t* r) { return Byte(r, 0xA9); }},              // CharacterIndex
    {12, 10014, 1, [](const std::uint8_t* r) { return (Dword(r, 4) >> 13) & 0x1F; }}, // pos
    {12, 10015, 1, [](const std::uint8_t* r) { return (Dword(r, 4) >> 20) & 0x3F; }}, // SetGroup
    {13, 10014, 1, [](const std::uint8_t* r) { return (Dword(r, 4) >> 22) & 0x0F; }}, // CardKind
    {13, 10015, 1, [](const std::uint8_t* r) { return Word(r, 0x15A); }},             // Volume
};

std::string FilterLineFor(const ComboFilter& f, long data) {
    long value = (data - 1) * f.multiplier;
    long charValue = f.comboId == 10014 ? value : -1;
    long typeValue = f.comboId == 10015 ? value : -1;
    return "Filter: \"\" - Char: " + std::to_string(charValue) + " - Type: " + std::to_string(typeValue);
}

TEST_F(Dpi96ItemList, FilterRowsKeepExactlyTheMatchingRecords) {
    ShowFirstTable();
    HWND list = GetDlgItem(window_, 10001);
    for (const ComboFilter& f : kComboFilters) {
        ClickButton(window_, kButtons[f.table]);
        std::size_t narrowed = 0;
        std::vector<ComboRow> rows = ComboRows(window_, f.comboId);
        for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
            long data = rows[row].data;
            std::string shownBefore = ControlText(window_, 10024);
            StdoutCapture out;
            ChooseComboRow(window_, f.comboId, row);
            std::vector<std::string> lines = out.Lines();
            EXPECT_EQ(1u, CountLines(lines, "Filter: "));
            EXPECT_EQ(FilterLineFor(f, data), FirstLine(lines, "Filter: "));

            std::set<std::uint32_t> expected = EnabledWhere(f.table, [&](const std::uint8_t* r) {
                return data == 0 || f.recordValue(r) == static_cast<std::uint32_t>((data - 1) * f.multiplier);
            });
            std::vector<std::uint32_t> listed = ListedRecords(list);
            EXPECT_EQ(expected, AsSet(listed))
                << "table " << f.table << " list " << f.comboId << " row " << row;
            ExpectNameOrder(f.table, listed, +1);
            if (listed.empty()) {
                EXPECT_EQ(shownBefore, ControlText(window_, 10024)); // the panel keeps its record
            } else {
                EXPECT_EQ(std::to_string(Dword(Rec(f.table, listed[0]), 4)), ControlText(window_, 10024));
                narrowed += listed.size() < Enabled(f.table).size();
            }
        }
        EXPECT_GT(narrowed, 0u) << "no row of list " << f.comboId << " narrowed table " << f.table;
    }
}

// ---- Search, " Shop active" and "X".

// The search written independently: only A to Z fold.
bool Contains(const std::string& name, const std::string& pattern) {
    auto fold = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        return s;
    };
    return fold(name).find(fold(pattern)) != std::string::npos;
}

std::set<std::uint32_t> Named(TableIndex t, const std::string& pattern) {
    return EnabledWhere(t, [&](const std::uint8_t* r) { return Contains(NameOf(r), pattern); });
}

TEST_F(Dpi96ItemList, EachKeyTypedRefillsOnceAndXOnce) {
    ShowFirstTable();
    HWND list = GetDlgItem(window_, 10001);
    HWND search = GetDlgItem(window_, 10012);
    {
        StdoutCapture out;
        SendMessageA(search, WM_CHAR, 'e', 1);
        std::vector<std::string> lines = out.Lines();
        EXPECT_EQ(1u, CountLines(lines, "Filter: "));
        EXPECT_EQ("Filter: \"e\" - Char: -1 - Type: -1", FirstLine(lines, "Filter: "));
    }
    {
        StdoutCapture out;
        SendMessageA(search, WM_CHAR, 'L', 1);
        std::vector<std::string> lines = out.Lines();
        EXPECT_EQ(1u, CountLines(lines, "Filter: "));
        EXPECT_EQ("Filter: \"eL\" - Char: -1 - Type: -1", FirstLine(lines, "Filter: "));
    }
    std::vector<std::uint32_t> listed = ListedRecords(list);
    EXPECT_EQ(Named(1, "el"), AsSet(listed));
    EXPECT_LT(listed.size(), Enabled(1).size());
    ExpectNameOrder(1, listed, +1);
    {
        StdoutCapture out;
        ClickButton(window_, 10013); // "X" with text in the box: still one refill
        EXPECT_EQ(1u, CountLines(out.Lines(), "Filter: "));
    }
    EXPECT_EQ("", ControlText(window_, 10012));
    EXPECT_EQ(Enabled(1), AsSet(ListedRecords(list)));
}

TEST_F(Dpi96ItemList, SearchFoldsOnlyAToZAndUsesTheFirst38Characters) {
    ShowFirstTable();
    HWND list = GetDlgItem(window_, 10001);
    // The demo's Part names hold "Caf\xE9" (small e acute): A to Z fold, the accent does not.
    SetDlgItemTextA(window_, 10012, "CAF\xE9");
    std::set<std::uint32_t> small = AsSet(ListedRecords(list));
    EXPECT_EQ(Named(1, "caf\xE9"), small);
    EXPECT_FALSE(small.empty());
    SetDlgItemTextA(window_, 10012, "CAF\xC9"); // capital E acute
    EXPECT_TRUE(ListedRecords(list).empty());

    std::string forty = "Grand Fairway Tournament Windbreaker ProXY"; // 42 characters
    StdoutCapture out;
    SetDlgItemTextA(window_, 10012, forty.c_str());
    EXPECT_EQ("Filter: \"" + forty.substr(0, 38) + "\" - Char: -1 - Type: -1",
              FirstLine(out.Lines(), "Filter: "));
    EXPECT_EQ(Named(1, forty.substr(0, 38)), AsSet(ListedRecords(list)));
    EXPECT_FALSE(ListedRecords(list).empty()); // the 40-byte name without a NUL
}

TEST_F(Dpi96ItemList, ShopActiveKeepsRecordsSoldOrDisplayedInTheShop) {
    ShowFirstTable();
    HWND list = GetDlgItem(window_, 10001);
    for (TableIndex t : {1, 13}) {
        ClickButton(window_, kButtons[t]);
        StdoutCapture out;
        ClickButton(window_, 10016);
        EXPECT_EQ(1u, CountLines(out.Lines(), "Filter: "));
        // ShopFlags at 0x68: bit 5 " Avail. in Shop" or bit 7 " Display only".
        std::set<std::uint32_t> expected =
            EnabledWhere(t, [](const std::uint8_t* r) { return (Byte(r, 0x68) & 0xA0) != 0; });
        EXPECT_EQ(expected, AsSet(ListedRecords(list))) << "table " << t;
        EXPECT_LT(expected.size(), Enabled(t).size());
        std::set<std::uint32_t> displayOnly =
            EnabledWhere(t, [](const std::uint8_t* r) { return (Byte(r, 0x68) & 0xA0) == 0x80; });
        for (std::uint32_t i : displayOnly)
            EXPECT_EQ(1u, expected.count(i));
    }
    // AuxPart has no shop: the box is disabled and the switch has cleared it.
    ClickButton(window_, 10066);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, 10016)));
    EXPECT_FALSE(IsChecked(window_, 10016));
    EXPECT_EQ(Enabled(8), AsSet(ListedRecords(list)));
}

// ---- Column headers.

TEST_F(Dpi96ItemList, ColumnHeadersSortAsTheUserSeesThem) {
    ShowFirstTable();
    ClickButton(window_, 10073); // "Card": TypeIDs with bit 31 set show as negative numbers
    HWND list = GetDlgItem(window_, 10001);
    std::size_t count = ListedRecords(list).size();

    ClickColumnHeader(list, 0); // first click on "TypeID": ascending, unsigned
    std::vector<ListRow> rows = ReadListRows(list, 2);
    ASSERT_EQ(count, rows.size());
    ExpectTypeIdOrder(13, ListedRecords(list), +1);
    EXPECT_NE('-', rows.front().cells[0][0]); // the card sharing a Part TypeID is the smallest
    EXPECT_EQ('-', rows.back().cells[0][0]);  // 0x8... shows negative and sorts large
    ClickColumnHeader(list, 0);
    ExpectTypeIdOrder(13, ListedRecords(list), -1);
    ClickColumnHeader(list, 0);
    ExpectTypeIdOrder(13, ListedRecords(list), +1);
    ClickColumnHeader(list, 1); // first click on "Name": Z to A
    ExpectNameOrder(13, ListedRecords(list), -1);
    ClickColumnHeader(list, 0); // "TypeID" keeps its own bit: now descending
    ExpectTypeIdOrder(13, ListedRecords(list), -1);
    ClickColumnHeader(list, 1);
    ExpectNameOrder(13, ListedRecords(list), +1);
    EXPECT_EQ(count, ListedRecords(list).size());

    ClickColumnHeader(list, 1); // Z to A, then a refill starts over at A to Z
    ClickButton(window_, 10013);
    ExpectNameOrder(13, ListedRecords(list), +1);
    ClickColumnHeader(list, 1);
    ExpectNameOrder(13, ListedRecords(list), -1);
}

TEST_F(Dpi96ItemList, MemberListHeadersSortTheItemList) {
    ShowFirstTable();
    ClickButton(window_, 10070); // "SetItem": the member list is shown
    HWND list = GetDlgItem(window_, 10001);
    HWND members = GetDlgItem(window_, 10072);
    ASSERT_TRUE(IsWindowVisible(members));
    ClickColumnHeader(members, 2); // "Qty": bit 2, the item list by name, Z to A
    ExpectNameOrder(12, ListedRecords(list), -1);
    ClickColumnHeader(members, 0); // "TypeID": bit 0, the item list by TypeID, ascending
    ExpectTypeIdOrder(12, ListedRecords(list), +1);
    EXPECT_EQ(Enabled(12), AsSet(ListedRecords(list)));
}

} // namespace
} // namespace ledgrin
