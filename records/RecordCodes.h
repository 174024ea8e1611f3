// Codes that records store and the window shows through a label list. Only the numbers
// live here; the labels belong to the window, which bounds every code by its list.
#pragma once

#include <cstdint>

namespace ledgrin {

// A character code of 255 means the item belongs to no character.
constexpr std::uint32_t kNoCharacter = 255;

// HairStyle: the character the hair style belongs to (0 to 14 have a name; 255 none).
std::uint8_t HairStyleCharacterIndex(const std::uint8_t* hairStyleRecord);

// Card: the pack volume (0 "Packs", 1 to 4 a volume; higher codes have no label) and
// the card's position number.
std::uint16_t CardVolume(const std::uint8_t* cardRecord);
std::uint32_t CardPosition(const std::uint8_t* cardRecord);

} // namespace ledgrin
