#include "records/RecordHead.h"

#include "records/ByteAccess.h"

#include <algorithm>
#include <cstring>

namespace ledgrin {

std::uint32_t RecordEnabled(const std::uint8_t* record) {
    return ReadU32(record, kEnabledOffset);
}

std::uint32_t RecordTypeId(const std::uint8_t* record) {
    return ReadU32(record, kTypeIdOffset);
}

std::uint8_t RecordLevel(const std::uint8_t* record) {
    return ReadU8(record, kLevelOffset);
}

std::uint32_t RecordPrice(const std::uint8_t* record) {
    return ReadU32(record, kPriceOffset);
}

std::uint32_t RecordDiscountPrice(const std::uint8_t* record) {
    return ReadU32(record, kDiscountPriceOffset);
}

std::uint8_t RecordShopFlags(const std::uint8_t* record) {
    return ReadU8(record, kShopFlagsOffset);
}

std::uint8_t RecordMarkFlags(const std::uint8_t* record) {
    return ReadU8(record, kMarkFlagsOffset);
}

std::string_view RecordName(const std::uint8_t* record) {
    const char* name = reinterpret_cast<const char*>(record + kNameOffset);
    const void* nul = std::memchr(name, '\0', kNameSize);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - name) : kNameSize;
    return {name, length};
}

void SetRecordName(std::uint8_t* record, std::string_view text) {
    // The copy is taken first: text may be a view of this very name.
    char copy[kNameSize] = {};
    const std::size_t length = std::min(text.find('\0'), std::min(text.size(), kNameSize - 1));
    std::copy_n(text.data(), length, copy); // no memcpy: an empty view may have no data pointer
    std::memcpy(record + kNameOffset, copy, kNameSize);
}

} // namespace ledgrin
