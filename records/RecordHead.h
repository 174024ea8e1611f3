// The head shared by the records of all thirteen item tables (offsets 0x00 to 0x69).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ledgrin {

constexpr std::size_t kEnabledOffset = 0x00;
constexpr std::size_t kTypeIdOffset = 0x04;
constexpr std::size_t kNameOffset = 0x08;
constexpr std::size_t kNameSize = 40;
constexpr std::size_t kLevelOffset = 0x30;
constexpr std::size_t kPriceOffset = 0x5C;
constexpr std::size_t kDiscountPriceOffset = 0x60;
constexpr std::size_t kShopFlagsOffset = 0x68;
constexpr std::size_t kMarkFlagsOffset = 0x69;
constexpr std::size_t kHeadSize = 0x6A;

// ShopFlags bits. Bits 2 to 4 are not interpreted and always kept.
constexpr std::uint8_t kShopPoints = 0x01; // price in Points; clear: in Crells
constexpr std::uint8_t kShopTradeable = 0x02;
constexpr std::uint8_t kShopAvailable = 0x20; // sold in the shop
constexpr std::uint8_t kShopNotGiftable = 0x40;
constexpr std::uint8_t kShopDisplayOnly = 0x80; // shown in the shop, not sold
// MarkFlags bits. Bits 2 to 7 are kept.
constexpr std::uint8_t kMarkNew = 0x01;
constexpr std::uint8_t kMarkHot = 0x02;
// Level byte: bits 0 to 6 the rank index, bit 7 set when the rank is a maximum.
constexpr std::uint8_t kLevelMaximum = 0x80;
constexpr std::uint8_t kLevelIndexMask = 0x7F;

std::uint32_t RecordEnabled(const std::uint8_t* record);
std::uint32_t RecordTypeId(const std::uint8_t* record);
std::uint8_t RecordLevel(const std::uint8_t* record);
std::uint32_t RecordPrice(const std::uint8_t* record);
std::uint32_t RecordDiscountPrice(const std::uint8_t* record);
std::uint8_t RecordShopFlags(const std::uint8_t* record);
std::uint8_t RecordMarkFlags(const std::uint8_t* record);

// The name up to its NUL, bounded by the 40 bytes of the field (a name written by
// another tool may have no NUL).
std::string_view RecordName(const std::uint8_t* record);

// Clears the 40 bytes, then stores at most 39 characters of text and a NUL
// (text stops early at an embedded NUL).
void SetRecordName(std::uint8_t* record, std::string_view text);

} // namespace ledgrin
