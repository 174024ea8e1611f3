#include "view/RecordDisplay.h"

#include "archive/TypeIdLookup.h"
#include "records/DescRecord.h"
#include "records/Labels.h"
#include "records/RecordCodes.h"
#include "records/RecordHead.h"
#include "records/SetMembers.h"
#include "records/TypeIdFields.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <new>

namespace ledgrin {

namespace {

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
    d.fieldsLine =
        Format("char %d group %d type %d pos %d serial %d\n", static_cast<int>(TypeIdBits(id, kTypeIdChar)),
               static_cast<int>(TypeIdBits(id, kTypeIdGroup)), static_cast<int>(TypeIdBits(id, kTypeIdType)),
               static_cast<int>(TypeIdBits(id, kTypeIdPos)), static_cast<int>(TypeIdBits(id, kTypeIdSerial)));
}

RecordDisplay Build(const TableStore& store, TableIndex t, std::uint32_t index) {
    RecordDisplay d;
    const std::uint8_t* r = store.Record(t, index);
    d.values = ReadRecordValues(t, r);
    d.characterText = LabelText(kCharacterNames, RecordCharacterCode(t, r));
    d.typeIdText = std::to_string(RecordTypeId(r));
    if (t == kSetItemTable) FillMembers(d, store, r);
    if (t == kCardTable) FillCard(d, store, r);
    d.description = DescriptionFor(store, RecordTypeId(r));
    FillLines(d, index, r);
    d.valid = true;
    return d;
}

} // namespace

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
