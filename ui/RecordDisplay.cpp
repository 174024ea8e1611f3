#include "ui/RecordDisplay.h"

#include "archive/TypeIdFields.h"
#include "archive/TypeIdLookup.h"
#include "records/DescRecord.h"
#include "records/RecordCodes.h"
#include "records/RecordHead.h"
#include "records/SetMembers.h"
#include "ui/Labels.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <new>

namespace ledgrin {

namespace {

int CodeOrNone(std::uint32_t code) {
    return code == kNoCharacter ? -1 : static_cast<int>(code);
}

int NoCharacter(const std::uint8_t*) {
    return -1;
}
int PartCharacter(const std::uint8_t* r) {
    return CodeOrNone(TypeIdChar(RecordTypeId(r)));
}
int HairStyleCharacter(const std::uint8_t* r) {
    return CodeOrNone(HairStyleCharacterIndex(r));
}
// Only sets of characters (group 2) and of parts (group 4) belong to a character.
int SetItemCharacter(const std::uint8_t* r) {
    std::uint32_t id = RecordTypeId(r);
    std::uint32_t group = TypeIdSetGroup(id);
    return (group == 2 || group == 4) ? static_cast<int>(TypeIdPos(id)) : -1;
}

std::string LabelText(const LabelList& labels, int code) {
    const char* label = code < 0 ? nullptr : labels.At(static_cast<std::uint32_t>(code));
    return label ? label : "";
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char buffer[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

void FillCard(RecordDisplay& d, const TableStore&, const std::uint8_t* r) {
    d.isCard = true;
    d.cardpackText = LabelText(kCardVolumeLabels, CardVolume(r));
    d.position = CardPosition(r);
    d.showEffectValue = d.values.effectValue != 0;
    d.showEffectTime = d.values.effectTime != 0;
}

void FillMembers(RecordDisplay& d, const TableStore& store, const std::uint8_t* r) {
    d.isSetItem = true;
    for (const SetMember& member : ListSetMembers(r)) {
        std::optional<std::string_view> name = FindNameByTypeID(store, member.typeId);
        d.members.push_back({Format("%d", static_cast<std::int32_t>(member.typeId)),
                             name ? std::string(*name) : std::string(), Format("%u", member.shownQuantity)});
    }
}

using CharacterOf = int (*)(const std::uint8_t* record);
using FillTableControls = void (*)(RecordDisplay& d, const TableStore& store, const std::uint8_t* record);

// What differs by table beyond ReadRecordValues: the character and the table's own
// read-only controls.
struct TableDisplay {
    CharacterOf character;
    FillTableControls fill; // nullptr: none
};

constexpr TableDisplay kTableDisplays[kTableCount] = {
    {NoCharacter, nullptr},          // Desc
    {PartCharacter, nullptr},        // Part
    {NoCharacter, nullptr},          // Item
    {NoCharacter, nullptr},          // ClubSet
    {NoCharacter, nullptr},          // Ball
    {NoCharacter, nullptr},          // Mascot
    {NoCharacter, nullptr},          // Caddie
    {NoCharacter, nullptr},          // Skin
    {NoCharacter, nullptr},          // AuxPart
    {NoCharacter, nullptr},          // Character
    {HairStyleCharacter, nullptr},   // HairStyle
    {NoCharacter, nullptr},          // CaddieItem
    {SetItemCharacter, FillMembers}, // SetItem
    {NoCharacter, FillCard},         // Card
};

std::string DescriptionFor(const TableStore& store, std::uint32_t typeId) {
    const TableSlot& desc = store[kDescTable];
    std::size_t count = std::min<std::size_t>(desc.RecordCount, desc.Records.size() / kDescRecordSize);
    std::size_t i = FindDescription(desc.Records.data(), count, typeId);
    return i == kNoDescription ? std::string() : DescTextForDisplay(store.Record(kDescTable, i));
}

void FillLines(RecordDisplay& d, std::uint32_t index, const std::uint8_t* r) {
    std::uint32_t id = RecordTypeId(r);
    std::string_view name = RecordName(r);
    d.clickedLine = Format("Entry clicked: %d (%d, %.*s)\n", static_cast<int>(index),
                           static_cast<std::int32_t>(id), static_cast<int>(name.size()), name.data());
    d.fieldsLine = Format("char %d group %d type %d pos %d serial %d\n", static_cast<int>(TypeIdChar(id)),
                          static_cast<int>(TypeIdGroup(id)), static_cast<int>(TypeIdType(id)),
                          static_cast<int>(TypeIdPos(id)), static_cast<int>(TypeIdSerial(id)));
}

RecordDisplay Build(const TableStore& store, TableIndex t, std::uint32_t index) {
    RecordDisplay d;
    const std::uint8_t* r = store.Record(t, index);
    d.values = ReadRecordValues(t, r);
    d.characterText = LabelText(kCharacterNames, RecordCharacterCode(t, r));
    d.typeIdText = std::to_string(RecordTypeId(r));
    if (kTableDisplays[t].fill) kTableDisplays[t].fill(d, store, r);
    d.description = DescriptionFor(store, RecordTypeId(r));
    FillLines(d, index, r);
    d.valid = true;
    return d;
}

} // namespace

int RecordCharacterCode(TableIndex t, const std::uint8_t* record) {
    return IsValidTable(t) ? kTableDisplays[t].character(record) : -1;
}

RecordDisplay BuildRecordDisplay(const TableStore& store, TableIndex t, std::uint32_t index) noexcept {
    if (!IsItemTable(t)) return {};
    const TableSlot& slot = store[t];
    if (index >= slot.RecordCount || (index + std::size_t{1}) * RecordSize(t) > slot.Records.size())
        return {};
    try {
        return Build(store, t, index);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

} // namespace ledgrin
