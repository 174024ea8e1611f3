#include "view/PanelBinding.h"

#include "records/RecordHead.h"
#include "view/ControlIds.h"

namespace ledgrin {

namespace {

using V = RecordValues;

constexpr int Group(PanelGroup g) {
    return static_cast<int>(g);
}
constexpr PanelBinding Number(int id, std::uint32_t V::*value, int onlyWith = -1) {
    PanelBinding b{id, BindKind::Number};
    b.number = value;
    b.onlyWith = onlyWith;
    return b;
}
constexpr PanelBinding Check(int id, bool V::*value, int onlyWith = -1, bool inverted = false) {
    PanelBinding b{id, BindKind::Check};
    b.flag = value;
    b.onlyWith = onlyWith;
    b.inverted = inverted;
    return b;
}
constexpr PanelBinding Row(int id, int V::*value) {
    PanelBinding b{id, BindKind::Row};
    b.row = value;
    return b;
}
constexpr PanelBinding Text(int id, std::string V::*value, std::size_t maxBytes) {
    PanelBinding b{id, BindKind::Text};
    b.text = value;
    b.maxBytes = maxBytes;
    return b;
}
constexpr PanelBinding Stat(BindKind kind, int id, int index) {
    PanelBinding b{id, kind};
    b.index = index;
    return b;
}

constexpr int kBonus = Group(PanelGroup::BonusBlock);
constexpr int kRental = Group(PanelGroup::RentalPrices);
constexpr int kMonthly = Group(PanelGroup::Monthly);
constexpr int kCard = Group(PanelGroup::CardBlock);
constexpr BindKind S = BindKind::Stat, T = BindKind::Second;

// The bonus, rental, monthly and card controls share their places with other tables'
// controls, so only the tables that show them fill them.
const PanelBinding kBindings[] = {
    Check(IdExtraItemCheck, &V::extraItem, kBonus),
    Number(IdCrellEdit, &V::crellPercent, kBonus),
    Number(IdExperienceEdit, &V::expPercent, kBonus),
    Number(IdPrice7DaysEdit, &V::price7Days, kRental),
    Number(IdPrice30DaysEdit, &V::price30Days, kRental),
    Check(IdPayMonthlyCheck, &V::payMonthly, kMonthly),
    Number(IdEffectValueEdit, &V::effectValue, kCard),
    Number(IdEffectTimeEdit, &V::effectTime, kCard),
    Number(IdPriceEdit, &V::price),
    Number(IdDiscountEdit, &V::discountPrice),
    Text(IdNameEdit, &V::name, kNameSize - 1), // 39 characters and the NUL
    Row(IdCurrencyCombo, &V::currencyRow),
    Row(IdLevelCombo, &V::levelRow),
    Stat(S, IdPowerEdit, 0),
    Stat(T, IdPowerEdit2, 0),
    Stat(S, IdControlEdit, 1),
    Stat(T, IdControlEdit2, 1),
    Stat(S, IdAccuracyEdit, 2),
    Stat(T, IdAccuracyEdit2, 2),
    Stat(S, IdSpinEdit, 3),
    Stat(T, IdSpinEdit2, 3),
    Stat(S, IdCurveEdit, 4),
    Stat(T, IdCurveEdit2, 4),
    Check(IdTradeableCheck, &V::tradeable),
    Check(IdNotGiftableCheck, &V::notGiftable),
    Check(IdAvailInShopCheck, &V::availInShop),
    Check(IdDisplayOnlyCheck, &V::displayOnly),
    Check(IdNewCheck, &V::isNew),
    Check(IdHotCheck, &V::isHot),
    Check(IdMinimumCheck, &V::maximum, -1, true),
    Check(IdMaximumCheck, &V::maximum),
};

} // namespace

const PanelBinding* PanelBindingsBegin() {
    return std::begin(kBindings);
}
const PanelBinding* PanelBindingsEnd() {
    return std::end(kBindings);
}

bool ShownFor(const PanelBinding& b, TableIndex t) {
    return b.onlyWith < 0 || PanelFor(t).Shows(static_cast<PanelGroup>(b.onlyWith));
}

std::uint32_t& NumberOf(const PanelBinding& b, RecordValues& v) {
    if (b.kind == BindKind::Stat) return v.stats[b.index];
    if (b.kind == BindKind::Second) return v.seconds[b.index];
    return v.*b.number;
}

} // namespace ledgrin
