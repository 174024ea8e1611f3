#include "records/ExactUpdate.h"

#include "records/RecordFields.h"
#include "records/RecordHead.h"
#include "records/RecordValues.h"

#include <cstring>

namespace ledgrin {

namespace {

std::vector<std::uint8_t> Updated(TableIndex t, const std::uint8_t* stored, const std::uint8_t* source,
                                  const std::string* newName) {
    std::vector<std::uint8_t> record(stored, stored + RecordSize(t));
    RecordValues values = ReadRecordValues(t, source);
    if (newName) values.name = *newName;
    ApplyUpdate(t, record.data(), values);
    return record;
}

} // namespace

std::vector<std::uint8_t> ExactUpdate(TableIndex t, const std::uint8_t* stored, const std::uint8_t* wanted,
                                      const std::string* newName) {
    // The Update of the unchanged record tells which writes are mere normalisation.
    const std::vector<std::uint8_t> unchanged = Updated(t, stored, stored, nullptr);
    const std::vector<std::uint8_t> full = Updated(t, stored, wanted, newName);
    std::vector<std::uint8_t> out(stored, stored + RecordSize(t));
    // Values compared as their bytes: equal values of one width are equal bytes, and a
    // command runs this for every record it changes.
    const auto differ = [](const std::uint8_t* a, const std::uint8_t* b, const FieldDef& field) {
        return std::memcmp(a + field.offset, b + field.offset, field.width) != 0;
    };
    for (const FieldDef& field : TableFields(t)) {
        if (differ(wanted, stored, field) || differ(full.data(), unchanged.data(), field))
            std::memcpy(out.data() + field.offset, full.data() + field.offset, field.width);
    }
    if (newName && *newName != RecordName(stored))
        std::memcpy(out.data() + kNameOffset, full.data() + kNameOffset, kNameSize);
    return out;
}

} // namespace ledgrin
