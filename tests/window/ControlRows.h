// The controls of the main window as the window tests expect them, in creation order,
// at 96 DPI. Written out by hand: the style values are the whole numbers of the
// control table (WS_CHILD 0x40000000 always, WS_VISIBLE 0x10000000 when shown).
#pragma once

#include <windows.h>

namespace ledgrin {

struct ControlRow {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
};

constexpr DWORD kGroupBox = 0x50000007;
constexpr DWORD kFirstRadio = 0x50021009; // WS_GROUP starts the one radio group
constexpr DWORD kRadio = 0x50001009;
constexpr DWORD kCheck = 0x50000003, kHiddenCheck = 0x40000003;
constexpr DWORD kPush = 0x50000000;
constexpr DWORD kLabel = 0x50000000, kHiddenLabel = 0x40000000;
constexpr DWORD kNumber = 0x50012002, kHiddenNumber = 0x40012002;
constexpr DWORD kReadOnly = 0x50000800;
constexpr DWORD kDropDown = 0x50200203;
constexpr DWORD kClientEdge = 0x200;

constexpr ControlRow kControlRows[82] = {
    {10046, "Button", "", kGroupBox, 0, 10, 5, 828, 43},
    {10010, "Button", "Part", kFirstRadio, 0, 15, 15, 62, 29},
    {10047, "Button", "Item", kRadio, 0, 78, 15, 62, 29},
    {10048, "Button", "Clubset", kRadio, 0, 141, 15, 62, 29},
    {10049, "Button", "Ball", kRadio, 0, 204, 15, 62, 29},
    {10050, "Button", "Mascot", kRadio, 0, 267, 15, 62, 29},
    {10060, "Button", "Caddie", kRadio, 0, 330, 15, 62, 29},
    {10063, "Button", "Skin", kRadio, 0, 393, 15, 62, 29},
    {10066, "Button", "AuxPart", kRadio, 0, 456, 15, 62, 29},
    {10067, "Button", "Character", kRadio, 0, 519, 15, 62, 29},
    {10068, "Button", "HairStyle", kRadio, 0, 582, 15, 62, 29},
    {10069, "Button", "CaddieItem", kRadio, 0, 645, 15, 62, 29},
    {10070, "Button", "SetItem", kRadio, 0, 708, 15, 62, 29},
    {10073, "Button", "Card", kRadio, 0, 771, 15, 62, 29},
    {10018, "Button", "", kGroupBox, 0, 358, 50, 480, 501},
    {10019, "Static", "Name", kLabel, 0, 368, 65, 200, 16},
    {10020, "Edit", "", 0x50010000, 0, 368, 80, 250, 20},
    {10021, "Static", "Character", kLabel, 0, 628, 65, 80, 16},
    {10022, "Edit", "", kReadOnly, 0, 628, 80, 85, 20},
    {10023, "Static", "TypeID", kLabel, 0, 723, 65, 80, 16},
    {10024, "Edit", "", kReadOnly, 0, 723, 80, 85, 20},
    {10007, "Button", " Avail. in Shop", kCheck, 0, 368, 113, 100, 16},
    {10061, "Button", " Display only", kCheck, 0, 478, 113, 100, 16},
    {10005, "Button", " Tradeable", kCheck, 0, 628, 113, 70, 16},
    {10006, "Button", " Not Giftable", kCheck, 0, 723, 113, 90, 16},
    {10025, "Static", "Price", kLabel, 0, 368, 140, 80, 16},
    {10003, "Edit", "", kNumber, 0, 368, 155, 100, 20},
    {10004, "ComboBox", "currency", kDropDown, 0, 478, 155, 100, 16},
    {10064, "Static", "Price (Discount)", kLabel, 0, 368, 180, 80, 16},
    {10065, "Edit", "", kNumber, 0, 368, 195, 100, 20},
    {10056, "Static", "Price (7 days)", kHiddenLabel, 0, 368, 180, 80, 16},
    {10058, "Edit", "", kHiddenNumber, 0, 368, 195, 100, 20},
    {10057, "Static", "Price (30 days)", kHiddenLabel, 0, 478, 180, 80, 16},
    {10059, "Edit", "", kHiddenNumber, 0, 478, 195, 100, 20},
    {10062, "Button", " pay monthly", kHiddenCheck, 0, 478, 198, 200, 16},
    {10008, "Button", " New", kCheck, 0, 628, 158, 70, 16},
    {10009, "Button", " Hot", kCheck, 0, 723, 158, 70, 16},
    {10026, "Static", "Level", kLabel, 0, 368, 220, 80, 16},
    {10027, "ComboBox", "level", kDropDown, 0, 368, 235, 200, 16},
    {10028, "Button", " Minimum", kCheck, 0, 628, 238, 70, 16},
    {10029, "Button", " Maximum", kCheck, 0, 723, 238, 70, 16},
    {10030, "Static", "Power / Slot", kLabel, 0, 368, 270, 80, 16},
    {10031, "Edit", "", kNumber, 0, 368, 285, 35, 20},
    {10032, "Edit", "", kNumber, 0, 408, 285, 35, 20},
    {10033, "Static", "Control / Slot", kLabel, 0, 459, 270, 80, 16},
    {10034, "Edit", "", kNumber, 0, 459, 285, 35, 20},
    {10035, "Edit", "", kNumber, 0, 499, 285, 35, 20},
    {10036, "Static", "Accuracy / Slot", kLabel, 0, 550, 270, 80, 16},
    {10037, "Edit", "", kNumber, 0, 550, 285, 35, 20},
    {10038, "Edit", "", kNumber, 0, 590, 285, 35, 20},
    {10039, "Static", "Spin / Slot", kLabel, 0, 641, 270, 80, 16},
    {10040, "Edit", "", kNumber, 0, 641, 285, 35, 20},
    {10041, "Edit", "", kNumber, 0, 681, 285, 35, 20},
    {10042, "Static", "Curve / Slot", kLabel, 0, 732, 270, 80, 16},
    {10043, "Edit", "", kNumber, 0, 732, 285, 35, 20},
    {10044, "Edit", "", kNumber, 0, 772, 285, 35, 20},
    {10051, "Static", "Crell (%)", kHiddenLabel, 0, 368, 315, 80, 16},
    {10052, "Edit", "", kHiddenNumber, 0, 368, 330, 75, 20},
    {10053, "Static", "Experience (%)", kHiddenLabel, 0, 459, 315, 80, 16},
    {10054, "Edit", "", kHiddenNumber, 0, 459, 330, 75, 20},
    {10055, "Button", " Extra Item", kHiddenCheck, 0, 732, 333, 70, 16},
    {10071, "Static", "Items/Parts in Set", kHiddenLabel, 0, 368, 270, 150, 16},
    {10072, "SysListView32", "items", 0x4081080d, kClientEdge, 368, 285, 438, 95},
    {10045, "Static", "Description", kLabel, 0, 368, 390, 80, 16},
    {10002, "Edit", "", 0x50001004, 0, 368, 405, 438, 100},
    {10011, "Button", "Update", kPush, 0, 368, 517, 120, 24},
    {10074, "Static", "Cardpack", kHiddenLabel, 0, 368, 315, 80, 16},
    {10075, "Edit", "", 0x40010800, 0, 368, 330, 75, 20},
    {10076, "Static", "Position", kHiddenLabel, 0, 459, 315, 80, 16},
    {10077, "Edit", "", 0x40012800, 0, 459, 330, 75, 20},
    {10078, "Static", "Effect Value", kHiddenLabel, 0, 641, 315, 80, 16},
    {10079, "Edit", "", kHiddenNumber, 0, 641, 330, 75, 20},
    {10080, "Static", "Time duration", kHiddenLabel, 0, 732, 315, 80, 16},
    {10081, "Edit", "", kHiddenNumber, 0, 732, 330, 75, 20},
    {10082, "Button", "", kGroupBox, 0, 10, 50, 338, 501},
    {10001, "SysListView32", "items", 0x5081080d, kClientEdge, 20, 140, 318, 400},
    {10017, "Static", "Search / Filter", kLabel, 0, 20, 65, 200, 16},
    {10012, "Edit", "", 0x50000000, 0, 20, 80, 288, 20},
    {10013, "Button", "X", kPush, 0, 318, 80, 20, 20},
    {10014, "ComboBox", "char", kDropDown, 0, 20, 110, 109, 16},
    {10015, "ComboBox", "uctype", kDropDown, 0, 139, 110, 109, 16},
    {10016, "Button", " Shop active", kCheck, 0, 260, 113, 80, 16},
};

} // namespace ledgrin
