// Record to panel and back for every table: each number box is tied to its record field
// by offsets written out here; the display must show the stored value and the Update
// must write exactly the tied fields, the head and the derived fields.
#include "Fixtures.h"
#include "view/RecordDisplay.h"
#include "view/RecordEdit.h"

#include <gtest/gtest.h>

#include <map>

using namespace ledgrin;
using namespace fixtures;

namespace {

// The number boxes of the panel: five stats, five second boxes, then these.
constexpr int kStats = 0, kSeconds = 5, kPrice7 = 10, kPrice30 = 11, kCrell = 12, kExp = 13,
              kEffectValue = 14, kEffectTime = 15, kBoxes = 16;

std::uint32_t& Box(RecordValues& v, int box) {
    std::uint32_t* const more[] = {&v.price7Days, &v.price30Days, &v.crellPercent,
                                   &v.expPercent, &v.effectValue, &v.effectTime};
    return box < kSeconds ? v.stats[box] : box < kPrice7 ? v.seconds[box - kSeconds] : *more[box - kPrice7];
}

struct Field {
    std::size_t off;
    int width;
    std::uint32_t value; // a box number in kTied, a byte value in kDerived
};

// Five consecutive fields of `width` bytes from off, with the values first to first + 4.
std::vector<Field> Five(std::size_t off, int width, std::uint32_t first) {
    std::vector<Field> five;
    for (int i = 0; i < 5; ++i)
        five.push_back({off + static_cast<std::size_t>(width * i), width, first + i});
    return five;
}

// The record fields behind the boxes, per table. Mascot: the Crell and Experience
// percentages are bytes 0 and 2 of BonusRates (0x10C).
const std::map<int, std::vector<std::vector<Field>>> kTied = {
    {1, {Five(0x1CC, 2, kStats), Five(0x1D6, 2, kSeconds)}},
    {3, {Five(0xB8, 2, kStats), Five(0xC2, 2, kSeconds)}},
    {5,
     {Five(0x102, 1, kStats),
      {{0xFA, 2, kPrice7}, {0xFE, 2, kPrice30}, {0x10C, 1, kCrell}, {0x10E, 1, kExp}}}},
    {6, {Five(0xD4, 2, kStats)}},
    {7, {{{0xD4, 2, kPrice7}, {0xD8, 2, kPrice30}}}},
    {8, {Five(0xB2, 1, kStats), Five(0xB7, 1, kSeconds)}},
    {9, {Five(0x148, 2, kStats), Five(0x152, 1, kSeconds)}},
    {11, {{{0xFA, 2, kPrice7}, {0xFE, 2, kPrice30}}}},
    {13, {Five(0xD2, 2, kStats), {{0xDE, 2, kEffectValue}, {0x158, 2, kEffectTime}}}},
};

// What the Update below derives besides: PriceCopy (0xF8) the low 16 bits of the price
// 70001; Mascot BonusRates bytes 1 and 3 cleared and " Extra Item" (MascotFlags bit 0)
// off; Caddie MonthlyPrice the price; Character StatCopy the low bytes of the stats.
const std::map<int, std::vector<Field>> kDerived = {
    {5, {{0xF8, 2, 4465}, {0x10D, 1, 0}, {0x10F, 1, 0}, {0x110, 1, 0x06}}},
    {6, {{0xA8, 4, 70001}}},
    {9, Five(0x15C, 1, 0x70)},
    {11, {{0xF8, 2, 4465}}},
};

} // namespace

TEST(RecordPanel, EveryTableShowsAndWritesItsOwnFields) {
    for (int t = 1; t <= 13; ++t) {
        SCOPED_TRACE("table " + std::to_string(t));
        std::vector<Field> tied;
        if (kTied.count(t))
            for (const std::vector<Field>& fields : kTied.at(t))
                tied.insert(tied.end(), fields.begin(), fields.end());
        Bytes r = ItemRecord(t, 0x70 + t, "Tee Kit");
        Put(r, 0x68, 1, 0x1D);                       // ShopFlags bits 2 to 4 are not ours; bit 0 Points
        Put(r, 0x69, 1, 0xFC);                       // MarkFlags bits 2 to 7 are not ours
        if (t == 5) Put(r, 0x110, 4, 7);             // MascotFlags: extra item and two unnamed bits
        std::vector<std::uint32_t> shown(kBoxes, 0); // boxes without a field show 0
        for (const Field& f : tied) {
            Put(r, f.off, f.width, 101 + f.value);
            shown[f.value] = 101 + f.value;
        }
        TableStore store;
        Add(store, t, r);
        RecordDisplay d = BuildRecordDisplay(store, t, 0);
        for (int box = 0; box < kBoxes; ++box)
            EXPECT_EQ(Box(d.values, box), shown[box]) << "box " << box;
        EXPECT_EQ(d.values.extraItem, t == 5);
        EXPECT_EQ(d.values.payMonthly, t == 6); // MonthlyPrice holds filler, not 0

        // Every box changed, hidden ones included: narrow fields keep their low bits.
        RecordValues& p = d.values;
        p.name = std::string(40, 'n'); // 39 stored
        p.price = 70001, p.discountPrice = 70002, p.currencyRow = 0;
        p.tradeable = p.notGiftable = p.availInShop = p.displayOnly = p.isNew = p.isHot = true;
        p.levelRow = 16, p.maximum = true;
        p.extraItem = false, p.payMonthly = true;
        for (int box = 0; box < kBoxes; ++box)
            Box(p, box) = 70000 + box;
        testing::internal::CaptureStdout();
        UpdateOutcome out = ApplyRecordUpdate(store, t, 0, 0x70 + t, p, "");
        testing::internal::GetCapturedStdout();

        Bytes expected = r;
        PutText(expected, 0x08, 40, std::string(39, 'n'));
        for (const Field& f : std::vector<Field>{{0x5C, 4, 70001},
                                                 {0x60, 4, 70002},
                                                 {0x68, 1, 0xFE},
                                                 {0x69, 1, 0xFF},
                                                 {0x30, 1, 0x90}}) // Crells clear bit 0; row 16 and Maximum
            Put(expected, f.off, f.width, f.value);
        for (const Field& f : tied)
            Put(expected, f.off, f.width, 70000 + f.value);
        if (kDerived.count(t))
            for (const Field& f : kDerived.at(t))
                Put(expected, f.off, f.width, f.value);
        EXPECT_EQ(RecordBytes(store, t, 0), expected);
        EXPECT_EQ(out.name, std::string(39, 'n'));
    }
}
