#include "records/RecordValues.h"

#include "records/ByteAccess.h"
#include "records/RecordFields.h"
#include "records/RecordHead.h"

#include <array>

namespace ledgrin {

namespace {

// A percentage byte of 0 means "no bonus", which the panel shows as 100.
constexpr std::uint32_t kNoBonusShown = 100;
constexpr std::uint8_t kExtraItemBit = 0x01;
constexpr const char* kStatCopyNames[5] = {"StatCopy0", "StatCopy1", "StatCopy2", "StatCopy3", "StatCopy4"};

// Table fields are looked up by name, so a table takes part in a rule just by having the
// field in its row list; once per table, as the Update runs for every record a command writes.
struct RuleFields {
    const FieldDef *priceCopy, *price7Days, *price30Days, *monthlyPrice;
    const FieldDef *bonusRates, *mascotFlags, *effectValue, *effectTime;
    const FieldDef* statCopy[5];
};

const RuleFields& RuleFieldsOf(TableIndex t) {
    static const std::array<RuleFields, kTableCount> kAll = [] {
        std::array<RuleFields, kTableCount> all{};
        for (TableIndex u = 0; u < kTableCount; ++u) {
            RuleFields& f = all[u];
            f.priceCopy = FindField(u, "PriceCopy");
            f.price7Days = FindField(u, "Price7Days");
            f.price30Days = FindField(u, "Price30Days");
            f.monthlyPrice = FindField(u, "MonthlyPrice");
            f.bonusRates = FindField(u, "BonusRates");
            f.mascotFlags = FindField(u, "MascotFlags");
            f.effectValue = FindField(u, "EffectValue");
            f.effectTime = FindField(u, "EffectTime");
            for (int i = 0; i < 5; ++i)
                f.statCopy[i] = FindField(u, kStatCopyNames[i]);
        }
        return all;
    }();
    return kAll[t];
}

std::uint32_t ReadRow(const FieldDef* field, const std::uint8_t* record) {
    return field ? GetField(record, *field) : 0;
}

void WriteRow(const FieldDef* field, std::uint8_t* record, std::uint32_t value) {
    if (field) SetField(record, *field, value);
}

std::uint32_t LowBits(std::uint32_t value, std::uint8_t width) {
    return width >= 4 ? value : value & ((1u << (8 * width)) - 1);
}

std::uint8_t WithBit(std::uint8_t flags, std::uint8_t mask, bool set) {
    return static_cast<std::uint8_t>(set ? flags | mask : flags & ~mask);
}

std::uint32_t ShownPercent(std::uint32_t stored) {
    return stored == 0 ? kNoBonusShown : stored;
}

void ReadHead(const std::uint8_t* record, RecordValues& v) {
    v.name.assign(RecordName(record));
    v.price = RecordPrice(record);
    v.discountPrice = RecordDiscountPrice(record);
    const std::uint8_t shop = RecordShopFlags(record);
    v.currencyRow = (shop & kShopPoints) ? 1 : 0;
    v.tradeable = shop & kShopTradeable;
    v.notGiftable = shop & kShopNotGiftable;
    v.availInShop = shop & kShopAvailable;
    v.displayOnly = shop & kShopDisplayOnly;
    const std::uint8_t mark = RecordMarkFlags(record);
    v.isNew = mark & kMarkNew;
    v.isHot = mark & kMarkHot;
    const int levelIndex = RecordLevel(record) & kLevelIndexMask;
    v.levelRow = levelIndex < kLevelRowCount ? levelIndex : -1;
    v.maximum = RecordLevel(record) & kLevelMaximum;
}

void ReadTableFields(TableIndex t, const std::uint8_t* record, RecordValues& v) {
    const StatBlock stats = StatLayout(t);
    ReadStatGroup(record, stats.first, v.stats);
    ReadStatGroup(record, stats.second, v.seconds);
    const RuleFields& f = RuleFieldsOf(t);
    v.price7Days = ReadRow(f.price7Days, record);
    v.price30Days = ReadRow(f.price30Days, record);
    if (f.bonusRates) {
        const std::uint32_t bonus = ReadRow(f.bonusRates, record);
        v.crellPercent = ShownPercent(bonus & 0xFF);
        v.expPercent = ShownPercent((bonus >> 16) & 0xFF);
    }
    v.extraItem = ReadRow(f.mascotFlags, record) & kExtraItemBit;
    v.payMonthly = ReadRow(f.monthlyPrice, record) != 0;
    v.effectValue = ReadRow(f.effectValue, record);
    v.effectTime = ReadRow(f.effectTime, record);
}

void WriteHead(std::uint8_t* record, const RecordValues& v) {
    WriteU32(record, kPriceOffset, v.price);
    WriteU32(record, kDiscountPriceOffset, v.discountPrice);
    std::uint8_t shop = RecordShopFlags(record);
    shop = WithBit(shop, kShopPoints, v.currencyRow != 0); // no selection counts as Points
    shop = WithBit(shop, kShopTradeable, v.tradeable);
    shop = WithBit(shop, kShopNotGiftable, v.notGiftable);
    shop = WithBit(shop, kShopAvailable, v.availInShop);
    shop = WithBit(shop, kShopDisplayOnly, v.displayOnly);
    WriteU8(record, kShopFlagsOffset, shop);
    std::uint8_t mark = RecordMarkFlags(record);
    mark = WithBit(mark, kMarkHot, v.isHot);
    mark = WithBit(mark, kMarkNew, v.isNew);
    WriteU8(record, kMarkFlagsOffset, mark);
    WriteU8(record, kLevelOffset, LevelByteForUpdate(RecordLevel(record), v.levelRow, v.maximum));
}

void WriteMascotFields(TableIndex t, std::uint8_t* record, const RecordValues& v) {
    const RuleFields& f = RuleFieldsOf(t);
    if (const FieldDef* flags = f.mascotFlags) {
        const std::uint32_t stored = GetField(record, *flags);
        SetField(record, *flags,
                 v.extraItem ? stored | kExtraItemBit : stored & ~std::uint32_t{kExtraItemBit});
    }
    if (f.bonusRates) {
        // Bytes 1 and 3 are cleared on purpose: the whole word is rebuilt from the two percentages.
        const std::uint32_t word =
            (std::uint32_t{BonusPercentByte(v.expPercent)} << 16) | BonusPercentByte(v.crellPercent);
        WriteRow(f.bonusRates, record, word);
    }
}

// StatCopy holds the low bytes of the stats as stored, so it follows the stat writes.
void WriteStatCopy(TableIndex t, std::uint8_t* record) {
    const RuleFields& f = RuleFieldsOf(t);
    if (!f.statCopy[0]) return;
    std::uint32_t stored[5];
    ReadStatGroup(record, StatLayout(t).first, stored);
    for (int i = 0; i < 5; ++i)
        WriteRow(f.statCopy[i], record, stored[i] & 0xFF);
}

// EffectTime can be neither set on a card without one nor cleared; the value as it would
// be stored decides, so an entry of 65536 cannot clear it either.
void WriteEffectTime(TableIndex t, std::uint8_t* record, std::uint32_t entered) {
    const FieldDef* field = RuleFieldsOf(t).effectTime;
    if (!field) return;
    const std::uint32_t storable = LowBits(entered, field->width);
    if (GetField(record, *field) != 0 && storable != 0) SetField(record, *field, storable);
}

// In the Update's order; each step applies only to the tables that have its field.
void WriteTableFields(TableIndex t, std::uint8_t* record, const RecordValues& v) {
    const StatBlock stats = StatLayout(t);
    WriteStatGroup(record, stats.first, v.stats);
    WriteStatGroup(record, stats.second, v.seconds);
    const RuleFields& f = RuleFieldsOf(t);
    WriteRow(f.priceCopy, record, v.price);
    WriteRow(f.price7Days, record, v.price7Days);
    WriteRow(f.price30Days, record, v.price30Days);
    WriteMascotFields(t, record, v);
    WriteRow(f.monthlyPrice, record, v.payMonthly ? RecordPrice(record) : 0);
    WriteStatCopy(t, record);
    WriteRow(f.effectValue, record, v.effectValue);
    WriteEffectTime(t, record, v.effectTime);
}

} // namespace

RecordValues ReadRecordValues(TableIndex t, const std::uint8_t* record) {
    RecordValues values;
    if (!IsItemTable(t)) return values;
    ReadHead(record, values);
    ReadTableFields(t, record, values);
    return values;
}

std::uint8_t LevelByteForUpdate(std::uint8_t stored, int levelRow, bool maximum) {
    // Without a selected row the stored rank survives: the list's "no selection" result
    // must never become a level byte.
    const bool hasRow = levelRow >= 0 && levelRow <= kLevelIndexMask;
    const std::uint8_t index = hasRow ? static_cast<std::uint8_t>(levelRow) : stored & kLevelIndexMask;
    return static_cast<std::uint8_t>(index | (maximum ? kLevelMaximum : 0));
}

std::uint8_t BonusPercentByte(std::uint32_t entered) {
    return static_cast<std::int32_t>(entered) > 100 ? static_cast<std::uint8_t>(entered) : 0;
}

void ApplyUpdate(TableIndex t, std::uint8_t* record, const RecordValues& values) {
    if (!IsItemTable(t)) return;
    SetRecordName(record, values.name);
    WriteHead(record, values);
    WriteTableFields(t, record, values);
}

} // namespace ledgrin
