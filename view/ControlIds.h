// Identifiers of the 82 child controls of the main window (10001 to 10082, no gaps).
#pragma once

namespace ledgrin {

enum ControlId : int {
    IdItemList = 10001,
    IdDescriptionEdit = 10002,
    IdPriceEdit = 10003,
    IdCurrencyCombo = 10004,
    IdTradeableCheck = 10005,
    IdNotGiftableCheck = 10006,
    IdAvailInShopCheck = 10007,
    IdNewCheck = 10008,
    IdHotCheck = 10009,
    IdPartButton = 10010,
    IdUpdateButton = 10011,
    IdSearchEdit = 10012,
    IdResetFiltersButton = 10013,
    IdCharFilterCombo = 10014,
    IdTypeFilterCombo = 10015,
    IdShopActiveCheck = 10016,
    IdSearchLabel = 10017,
    IdRecordFrame = 10018,
    IdNameLabel = 10019,
    IdNameEdit = 10020,
    IdCharacterLabel = 10021,
    IdCharacterEdit = 10022,
    IdTypeIdLabel = 10023,
    IdTypeIdEdit = 10024,
    IdPriceLabel = 10025,
    IdLevelLabel = 10026,
    IdLevelCombo = 10027,
    IdMinimumCheck = 10028,
    IdMaximumCheck = 10029,
    IdPowerCaption = 10030,
    IdPowerEdit = 10031,
    IdPowerEdit2 = 10032,
    IdControlCaption = 10033,
    IdControlEdit = 10034,
    IdControlEdit2 = 10035,
    IdAccuracyCaption = 10036,
    IdAccuracyEdit = 10037,
    IdAccuracyEdit2 = 10038,
    IdSpinCaption = 10039,
    IdSpinEdit = 10040,
    IdSpinEdit2 = 10041,
    IdCurveCaption = 10042,
    IdCurveEdit = 10043,
    IdCurveEdit2 = 10044,
    IdDescriptionLabel = 10045,
    IdTableFrame = 10046,
    IdItemButton = 10047,
    IdClubsetButton = 10048,
    IdBallButton = 10049,
    IdMascotButton = 10050,
    IdCrellLabel = 10051,
    IdCrellEdit = 10052,
    IdExperienceLabel = 10053,
    IdExperienceEdit = 10054,
    IdExtraItemCheck = 10055,
    IdPrice7DaysLabel = 10056,
    IdPrice30DaysLabel = 10057,
    IdPrice7DaysEdit = 10058,
    IdPrice30DaysEdit = 10059,
    IdCaddieButton = 10060,
    IdDisplayOnlyCheck = 10061,
    IdPayMonthlyCheck = 10062,
    IdSkinButton = 10063,
    IdDiscountLabel = 10064,
    IdDiscountEdit = 10065,
    IdAuxPartButton = 10066,
    IdCharacterButton = 10067,
    IdHairStyleButton = 10068,
    IdCaddieItemButton = 10069,
    IdSetItemButton = 10070,
    IdSetMembersLabel = 10071,
    IdMemberList = 10072,
    IdCardButton = 10073,
    IdCardpackLabel = 10074,
    IdCardpackEdit = 10075,
    IdPositionLabel = 10076,
    IdPositionEdit = 10077,
    IdEffectValueLabel = 10078,
    IdEffectValueEdit = 10079,
    IdEffectTimeLabel = 10080,
    IdEffectTimeEdit = 10081,
    IdListFrame = 10082,
};

constexpr int kFirstControlId = 10001;
constexpr int kLastControlId = 10082;
constexpr int kControlCount = kLastControlId - kFirstControlId + 1;

// The five stat boxes and the second box beside each, in the order Power..Curve.
constexpr int kStatEdits[5] = {IdPowerEdit, IdControlEdit, IdAccuracyEdit, IdSpinEdit, IdCurveEdit};
constexpr int kSecondStatEdits[5] = {IdPowerEdit2, IdControlEdit2, IdAccuracyEdit2, IdSpinEdit2,
                                     IdCurveEdit2};
constexpr int kStatCaptions[5] = {IdPowerCaption, IdControlCaption, IdAccuracyCaption, IdSpinCaption,
                                  IdCurveCaption};

// The table buttons in TableIndex order (1 Part .. 13 Card); the IDs are not contiguous.
constexpr int kTableButtons[13] = {IdPartButton,      IdItemButton,      IdClubsetButton,    IdBallButton,
                                   IdMascotButton,    IdCaddieButton,    IdSkinButton,       IdAuxPartButton,
                                   IdCharacterButton, IdHairStyleButton, IdCaddieItemButton, IdSetItemButton,
                                   IdCardButton};

// TableIndex chosen by a table button, or 0 when id is not one.
constexpr int TableForButton(int id) {
    for (int i = 0; i < 13; ++i)
        if (kTableButtons[i] == id) return i + 1;
    return 0;
}

} // namespace ledgrin
