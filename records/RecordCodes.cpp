#include "records/RecordCodes.h"

#include "records/RecordFields.h"
#include "records/RecordHead.h"

namespace ledgrin {

namespace {

// The offsets come from the field rows, which are the one place a layout is written down.
std::uint32_t Named(TableIndex t, const std::uint8_t* record, const char* name) {
    const FieldDef* field = FindField(t, name);
    return field ? GetField(record, *field) : 0;
}

} // namespace

int RecordCharacterCode(TableIndex t, const std::uint8_t* record) {
    const FieldDef* field = CharacterField(t);
    if (!field || (field->meaningful && !field->meaningful(RecordTypeId(record)))) return -1;
    const std::uint32_t code = FieldCode(record, *field);
    return code == kNoCharacter ? -1 : static_cast<int>(code);
}

std::uint16_t CardVolume(const std::uint8_t* cardRecord) {
    return static_cast<std::uint16_t>(Named(kCardTable, cardRecord, "Volume"));
}

std::uint32_t CardPosition(const std::uint8_t* cardRecord) {
    return Named(kCardTable, cardRecord, "Position");
}

} // namespace ledgrin
