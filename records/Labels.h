// Fixed label lists: a label's position is the code a record stores or a filter compares.
// A blank entry ("") is a code without a label and is never offered as a row.
#pragma once

#include <cstdint>

namespace ledgrin {

struct LabelList {
    const char* const* labels;
    int count;
    const char* name; // what the codes are: "Character", "PartSlot"...

    // The label at position code, or nullptr when the code is out of range or blank.
    const char* At(std::uint32_t code) const {
        if (code >= static_cast<std::uint32_t>(count) || labels[code][0] == '\0') return nullptr;
        return labels[code];
    }
};

extern const LabelList kPartSlotLabels;   // 10 positions, 6 and 7 blank
extern const LabelList kItemKindLabels;   // Active, Passive
extern const LabelList kSkinKindLabels;   // 7 positions, 4 blank
extern const LabelList kCardKindLabels;   // 6 positions
extern const LabelList kCardVolumeLabels; // Packs, Volume 1..4
extern const LabelList kItemGroupLabels;  // 18 positions, 7 with a label
extern const LabelList kCharacterNames;   // 15 positions, 13 blank
extern const LabelList kPlayerRankLabels; // 17 ranks, lowest first
extern const LabelList kCurrencyLabels;   // Crells, Points

} // namespace ledgrin
