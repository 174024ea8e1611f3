#include "view/PanelLayout.h"

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

constexpr FilterFill kNone = {0, nullptr, nullptr};
const FilterFill kChars = {IdCharFilterCombo, "(All Chars)", &kCharacterNames};
const FilterFill kPartSlots = {IdTypeFilterCombo, "(All Types)", &kPartSlotLabels};
const FilterFill kItemKinds = {IdCharFilterCombo, "(All Items)", &kItemKindLabels};
const FilterFill kSkinKinds = {IdCharFilterCombo, "(All Skins)", &kSkinKindLabels};
const FilterFill kItemGroups = {IdTypeFilterCombo, "(All Types)", &kItemGroupLabels};
const FilterFill kCardKinds = {IdCharFilterCombo, "(All Types)", &kCardKindLabels};
const FilterFill kCardVolumes = {IdTypeFilterCombo, "(All Volumes)", &kCardVolumeLabels};

constexpr bool E = true, D = false; // enabled, disabled

// Indexed by TableIndex. Per row: the groups shown; 10014, 10015 and 10016 enabled; the
// stat captions; the filter lists to fill. Row 0 (Desc) is never chosen and repeats Part.
// clang-format off
const TablePanel kPanels[kTableCount] = {
    // Desc
    {kShop | kTrade | kGift | kDiscount | kFirst | kSecond, E, E, E, kSlotCaps,  {kChars, kPartSlots}},
    // Part
    {kShop | kTrade | kGift | kDiscount | kFirst | kSecond, E, E, E, kSlotCaps,  {kChars, kPartSlots}},
    // Item
    {kShop | kTrade | kGift | kDiscount,                    E, D, E, kSlotCaps,  {kItemKinds, kNone}},
    // Clubset
    {kShop | kTrade | kGift | kDiscount | kFirst | kSecond, D, D, E, kMaxCaps,   {kNone, kNone}},
    // Ball
    {kShop | kTrade | kGift | kDiscount,                    D, D, E, kSlotCaps,  {kNone, kNone}},
    // Mascot
    {kShop | kGift | kFirst | kRental | kBonus,             D, D, E, kPlainCaps, {kNone, kNone}},
    // Caddie
    {kShop | kGift | kDiscount | kFirst | kMonth,           D, D, E, kPlainCaps, {kNone, kNone}},
    // Skin
    {kShop | kRental,                                       E, D, E, kSlotCaps,  {kSkinKinds, kNone}},
    // AuxPart
    {kFirst | kSecond,                                      D, D, D, kSlotCaps,  {kNone, kNone}},
    // Character
    {kShop | kGift | kDiscount | kFirst | kSecond,          D, D, E, kSlotCaps,  {kNone, kNone}},
    // HairStyle
    {kShop | kGift | kDiscount,                             E, D, E, kSlotCaps,  {kChars, kNone}},
    // CaddieItem
    {kShop | kGift | kRental,                               D, D, E, kSlotCaps,  {kNone, kNone}},
    // SetItem
    {kShop | kGift | kDiscount | kSet,                      E, E, E, kSlotCaps,  {kChars, kItemGroups}},
    // Card
    {kShop | kTrade | kGift | kDiscount | kFirst | kCard,   E, E, E, kCardCaps,  {kCardKinds, kCardVolumes}},
};
// clang-format on

} // namespace

IdList GroupControls(PanelGroup group) {
    return kGroups[static_cast<int>(group)];
}

const TablePanel& PanelFor(TableIndex t) {
    return kPanels[IsItemTable(t) ? t : kPartTable];
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
