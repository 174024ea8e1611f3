#include "records/Labels.h"

namespace ledgrin {

namespace {

const char* const kPartSlots[] = {"Top",       "Bottom", "Hair/Hat", "Gloves",     "Shoes",
                                  "Accessory", "",       "",         "Selfdesign", "Selfdesign Copy"};
const char* const kItemKinds[] = {"Active", "Passive"};
const char* const kSkinKinds[] = {"Background", "Frame", "Sticker", "Slot", "", "CutIn", "Title"};
const char* const kCardKinds[] = {"Character Card", "Caddie Card", "Effect Card",
                                  "Card Pack",      "Card Box",    "NPC Card"};
const char* const kCardVolumes[] = {"Packs", "Volume 1", "Volume 2", "Volume 3", "Volume 4"};
const char* const kItemGroups[] = {"", "", "Char",    "",          "Part",  "Accessory", "",
                                   "", "", "Clubset", "",          "Comet", "",          "Passive Item",
                                   "", "", "",        "Card Holic"};
// Our own roster of golfers; code 13 has no character.
const char* const kCharacters[] = {"Ansel",   "Briony", "Caspian",  "Delphine", "Evander",
                                   "Fiora",   "Gideon", "Hazel",    "Ivo",      "Juniper",
                                   "Kestrel", "Linnea", "Mordecai", "",         "Odessa"};
const char* const kRanks[] = {
    "Tee Novice",  "Fairway Rookie", "Fairway Regular", "Green Reader",  "Bunker Scout", "Iron Hand",
    "Wedge Adept", "Driver Adept",   "Course Veteran",  "Links Expert",  "Links Master", "Birdie Hunter",
    "Eagle Eye",   "Albatross",      "Course Sage",     "Grand Marshal", "Legend"};
const char* const kCurrencies[] = {"Crells", "Points"};

template <int N> constexpr LabelList List(const char* const (&labels)[N], const char* name) {
    return {labels, N, name};
}

} // namespace

const LabelList kPartSlotLabels = List(kPartSlots, "PartSlot");
const LabelList kItemKindLabels = List(kItemKinds, "ItemKind");
const LabelList kSkinKindLabels = List(kSkinKinds, "SkinKind");
const LabelList kCardKindLabels = List(kCardKinds, "CardKind");
const LabelList kCardVolumeLabels = List(kCardVolumes, "CardVolume");
const LabelList kItemGroupLabels = List(kItemGroups, "ItemGroup");
const LabelList kCharacterNames = List(kCharacters, "Character");
const LabelList kPlayerRankLabels = List(kRanks, "Rank");
const LabelList kCurrencyLabels = List(kCurrencies, "Currency");

} // namespace ledgrin
