// Codes that records store; records/Labels.h says what each code means.
#pragma once

#include "records/TableInfo.h"

#include <cstdint>

namespace ledgrin {

// A character code of 255 means the item belongs to no character.
constexpr std::uint32_t kNoCharacter = 255;

// Card: the pack volume (0 "Packs", 1 to 4 a volume; higher codes have no label) and
// the card's position number.
std::uint16_t CardVolume(const std::uint8_t* cardRecord);
std::uint32_t CardPosition(const std::uint8_t* cardRecord);

// The character code of a record of item table t, from the field whose codes are the
// character names (Part: the TypeID's char; HairStyle: CharacterIndex; SetItem: pos when
// SetGroup is 2 or 4), or -1 for none.
int RecordCharacterCode(TableIndex t, const std::uint8_t* record);

} // namespace ledgrin
