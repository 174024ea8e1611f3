#include "view/PanelLayout.h"

#include "records/RecordFields.h"
#include "view/ControlIds.h"

namespace ledgrin {

namespace {

constexpr int kShopBlock[] = {IdPriceLabel,       IdPriceEdit, IdCurrencyCombo, IdAvailInShopCheck,
                              IdDisplayOnlyCheck, IdNewCheck,  IdHotCheck};
constexpr int kTradeable[] = {IdTradeableCheck};
constexpr int kNotGiftable[] = {IdNotGiftableCheck};
constexpr int kDiscountPrice[] = {IdDiscountLabel, IdDiscountEdit};
constexpr int kFirstStats[] = {IdPowerCaption, IdControlCaption, IdAccuracyCaption, IdSpinCaption,
                               IdCurveCaption, IdPowerEdit,      IdControlEdit,     IdAccuracyEdit,
                               IdSpinEdit,     IdCurveEdit};
constexpr int kSecondStats[] = {IdPowerEdit2, IdControlEdit2, IdAccuracyEdit2, IdSpinEdit2, IdCurveEdit2};
constexpr int kRentalPrices[] = {IdPrice7DaysLabel, IdPrice7DaysEdit, IdPrice30DaysLabel, IdPrice30DaysEdit};
constexpr int kBonusBlock[] = {IdCrellLabel, IdCrellEdit, IdExperienceLabel, IdExperienceEdit,
                               IdExtraItemCheck};
constexpr int kMonthly[] = {IdPayMonthlyCheck};
constexpr int kSetMembers[] = {IdSetMembersLabel, IdMemberList};
constexpr int kCardBlock[] = {IdCardpackLabel,    IdCardpackEdit,    IdPositionLabel,   IdPositionEdit,
                              IdEffectValueLabel, IdEffectValueEdit, IdEffectTimeLabel, IdEffectTimeEdit};

struct IdList {
    const int* begin_;
    std::size_t size_;
    const int* begin() const { return begin_; }
    const int* end() const { return begin_ + size_; }
};

template <std::size_t N> constexpr IdList Ids(const int (&ids)[N]) {
    return {ids, N};
}

// Indexed by PanelGroup.
constexpr IdList kGroups[kPanelGroupCount] = {
    Ids(kShopBlock),  Ids(kTradeable),   Ids(kNotGiftable),  Ids(kDiscountPrice),
    Ids(kFirstStats), Ids(kSecondStats), Ids(kRentalPrices), Ids(kBonusBlock),
    Ids(kMonthly),    Ids(kSetMembers),  Ids(kCardBlock),
};

constexpr std::size_t GroupControlTotal() {
    std::size_t n = 0;
    for (const IdList& g : kGroups)
        n += g.size_;
    return n;
}
static_assert(GroupControlTotal() == kPanelControlCount, "kPanelControlCount must match the groups");

constexpr unsigned Bit(PanelGroup g) {
    return 1u << static_cast<int>(g);
}
constexpr unsigned kShop = Bit(PanelGroup::ShopBlock);
constexpr unsigned kTrade = Bit(PanelGroup::Tradeable);
constexpr unsigned kGift = Bit(PanelGroup::NotGiftable);
constexpr unsigned kDiscount = Bit(PanelGroup::DiscountPrice);
constexpr unsigned kFirst = Bit(PanelGroup::FirstStats);
constexpr unsigned kSecond = Bit(PanelGroup::SecondStats);
constexpr unsigned kRental = Bit(PanelGroup::RentalPrices);
constexpr unsigned kBonus = Bit(PanelGroup::BonusBlock);
constexpr unsigned kMonth = Bit(PanelGroup::Monthly);
constexpr unsigned kSet = Bit(PanelGroup::SetMembers);
constexpr unsigned kCard = Bit(PanelGroup::CardBlock);

const char* const kSlotCaps[5] = {"Power / Slot", "Control / Slot", "Accuracy / Slot", "Spin / Slot",
                                  "Curve / Slot"};
const char* const kMaxCaps[5] = {"Power / Max", "Control / Max", "Accuracy / Max", "Spin / Max",
                                 "Curve / Max"};
const char* const kPlainCaps[5] = {"Power", "Control", "Accuracy", "Spin", "Curve"};
const char* const kCardCaps[5] = {"Power Slot", "Control Slot", "Accuracy Slot", "Spin Slot", "Curve Slot"};

constexpr bool E = true, D = false; // " Shop active" enabled, disabled

// Indexed by TableIndex - 1 (Part to Card). Per row: the groups shown, " Shop active"
// enabled, the stat captions.
// clang-format off
const TablePanel kPanels[kLastItemTable] = {
    {kShop | kTrade | kGift | kDiscount | kFirst | kSecond, E, kSlotCaps},  // Part
    {kShop | kTrade | kGift | kDiscount,                    E, kSlotCaps},  // Item
    {kShop | kTrade | kGift | kDiscount | kFirst | kSecond, E, kMaxCaps},   // Clubset
    {kShop | kTrade | kGift | kDiscount,                    E, kSlotCaps},  // Ball
    {kShop | kGift | kFirst | kRental | kBonus,             E, kPlainCaps}, // Mascot
    {kShop | kGift | kDiscount | kFirst | kMonth,           E, kPlainCaps}, // Caddie
    {kShop | kRental,                                       E, kSlotCaps},  // Skin
    {kFirst | kSecond,                                      D, kSlotCaps},  // AuxPart
    {kShop | kGift | kDiscount | kFirst | kSecond,          E, kSlotCaps},  // Character
    {kShop | kGift | kDiscount,                             E, kSlotCaps},  // HairStyle
    {kShop | kGift | kRental,                               E, kSlotCaps},  // CaddieItem
    {kShop | kGift | kDiscount | kSet,                      E, kSlotCaps},  // SetItem
    {kShop | kTrade | kGift | kDiscount | kFirst | kCard,   E, kCardCaps},  // Card
};
// clang-format on

// The first row of a filter list, by the codes it offers.
const char* AllRow(const LabelList* labels) {
    if (labels == &kCharacterNames) return "(All Chars)";
    if (labels == &kItemKindLabels) return "(All Items)";
    if (labels == &kSkinKindLabels) return "(All Skins)";
    if (labels == &kCardVolumeLabels) return "(All Volumes)";
    return "(All Types)";
}

FilterFill FillFor(TableIndex t, ListFilter filter, int comboId) {
    const FieldDef* field = FilterField(t, filter);
    if (!field) return {0, nullptr, nullptr};
    return {comboId, AllRow(field->labels), field->labels};
}

} // namespace

const TablePanel& PanelFor(TableIndex t) {
    return kPanels[(IsItemTable(t) ? t : kPartTable) - 1];
}

std::array<FilterFill, 2> FilterFills(TableIndex t) {
    if (!IsItemTable(t)) t = kPartTable;
    return {FillFor(t, ListFilter::Char, IdCharFilterCombo), FillFor(t, ListFilter::Type, IdTypeFilterCombo)};
}

std::array<ControlVisibility, kPanelControlCount> PanelVisibility(TableIndex t) {
    const TablePanel& panel = PanelFor(t);
    std::array<ControlVisibility, kPanelControlCount> out{};
    std::size_t n = 0;
    for (bool pass : {false, true})
        for (int g = 0; g < kPanelGroupCount; ++g)
            if (panel.Shows(static_cast<PanelGroup>(g)) == pass)
                for (int id : kGroups[g])
                    out[n++] = {id, pass};
    return out;
}

} // namespace ledgrin
