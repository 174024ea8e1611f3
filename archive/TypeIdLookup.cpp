#include "archive/TypeIdLookup.h"

#include "records/RecordHead.h"

#include <algorithm>

namespace ledgrin {

namespace {

// The order in which the item tables are searched; the first match wins.
constexpr TableIndex kLookupOrder[] = {
    kPartTable,   kItemTable, kClubSetTable, kBallTable,      kCharacterTable,  kCardTable,    kMascotTable,
    kCaddieTable, kSkinTable, kAuxPartTable, kHairStyleTable, kCaddieItemTable, kSetItemTable,
};

} // namespace

std::optional<std::string_view> FindNameByTypeID(const TableStore& store, std::uint32_t typeId) {
    for (TableIndex t : kLookupOrder) {
        const TableSlot& slot = store[t];
        const std::size_t size = RecordSize(t);
        // Bounded by the buffer too, so a count that disagrees with it cannot cause a stray read.
        const std::size_t count = std::min<std::size_t>(slot.RecordCount, slot.Records.size() / size);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* record = slot.Record(i, size);
            if (RecordTypeId(record) == typeId) return RecordName(record);
        }
    }
    return std::nullopt;
}

} // namespace ledgrin
