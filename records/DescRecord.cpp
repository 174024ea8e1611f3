#include "records/DescRecord.h"

#include "records/ByteAccess.h"
#include "records/TableInfo.h"

#include <cstring>
#include <new>

namespace ledgrin {

std::size_t FindDescription(const std::uint8_t* descRecords, std::size_t count, std::uint32_t typeId) {
    for (std::size_t i = 0; i < count; ++i)
        if (ReadU32(descRecords + i * kDescRecordSize, 0) == typeId) return i;
    return kNoDescription;
}

std::string DescTextForDisplay(const std::uint8_t* descRecord) {
    const char* text = reinterpret_cast<const char*>(descRecord + kDescTextOffset);
    std::string shown;
    shown.reserve(2 * kDescTextSize);
    // A text of 512 bytes has no NUL; the field's end bounds it.
    for (std::size_t i = 0; i < kDescTextSize && text[i] != '\0'; ++i) {
        if (text[i] == '\n') shown += '\r';
        shown += text[i];
    }
    return shown;
}

void WriteDescText(std::uint8_t* descRecord, std::string_view text) {
    std::uint8_t* field = descRecord + kDescTextOffset;
    std::memset(field, 0, kDescTextSize);
    std::size_t stored = 0;
    for (std::size_t i = 0; i < text.size() && stored < kDescTextSize; ++i) {
        if (text[i] == '\r') continue;
        if (text[i] == '\0') break; // the field is already cleared behind this point
        field[stored++] = static_cast<std::uint8_t>(text[i]);
    }
}

AppendResult AppendDescription(TableBytes& descRecords, std::uint16_t& count, std::uint32_t typeId,
                               std::string_view text) {
    if (count >= kMaxRecordCount) return AppendResult::TableFull;
    const std::size_t at = static_cast<std::size_t>(count) * kDescRecordSize;
    try {
        // resize either succeeds or leaves the buffer untouched.
        descRecords.resize(at + kDescRecordSize);
    } catch (const std::bad_alloc&) {
        return AppendResult::OutOfMemory;
    }
    std::uint8_t* record = descRecords.data() + at;
    std::memset(record, 0, kDescRecordSize);
    WriteU32(record, 0, typeId);
    WriteDescText(record, text);
    ++count;
    return AppendResult::Appended;
}

} // namespace ledgrin
