#include "records/RecordCodes.h"

#include "records/RecordFields.h"
#include "records/RecordHead.h"
#include "records/TypeIdFields.h"

namespace ledgrin {

namespace {

// The offsets come from the field rows, which are the one place a layout is written down.
std::uint32_t Named(TableIndex t, const std::uint8_t* record, const char* name) {
    const FieldDef* field = FindField(t, name);
    return field ? GetField(record, *field) : 0;
}

int CodeOrNone(std::uint32_t code) {
    return code == kNoCharacter ? -1 : static_cast<int>(code);
}

} // namespace

int RecordCharacterCode(TableIndex t, const std::uint8_t* record) {
    const std::uint32_t id = RecordTypeId(record);
    switch (t) {
    case kPartTable: return CodeOrNone(TypeIdChar(id));
    case kHairStyleTable: return CodeOrNone(HairStyleCharacterIndex(record));
    case kSetItemTable: {
        // Only sets of characters (group 2) and of parts (group 4) belong to a character.
        const std::uint32_t group = TypeIdSetGroup(id);
        return (group == 2 || group == 4) ? static_cast<int>(TypeIdPos(id)) : -1;
    }
    default: return -1;
    }
}

std::uint8_t HairStyleCharacterIndex(const std::uint8_t* hairStyleRecord) {
    return static_cast<std::uint8_t>(Named(kHairStyleTable, hairStyleRecord, "CharacterIndex"));
}

std::uint16_t CardVolume(const std::uint8_t* cardRecord) {
    return static_cast<std::uint16_t>(Named(kCardTable, cardRecord, "Volume"));
}

std::uint32_t CardPosition(const std::uint8_t* cardRecord) {
    return Named(kCardTable, cardRecord, "Position");
}

} // namespace ledgrin
