// Helpers for byte-exact record tests: a record full of recognisable non-zero bytes, and
// a comparison that names every offset that differs from what was expected.
#pragma once

#include "records/TableInfo.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ledgrin::test {

using Bytes = std::vector<std::uint8_t>;

// No byte is 0, and neighbours differ, so a cleared or shifted byte always shows.
inline Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 37 + 101) % 251 + 1);
    return bytes;
}

// Puts the little-endian bytes of value, width bytes wide, at offset.
inline void Put(Bytes& bytes, std::size_t offset, std::size_t width, std::uint32_t value) {
    for (std::size_t i = 0; i < width; ++i)
        bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

// Clears the field, then copies text, cut to the field.
inline void PutText(Bytes& bytes, std::size_t offset, const std::string& text, std::size_t fieldSize) {
    for (std::size_t i = 0; i < fieldSize; ++i)
        bytes.at(offset + i) = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
}

inline void ExpectSameBytes(const Bytes& expected, const Bytes& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    int reported = 0;
    for (std::size_t i = 0; i < expected.size() && reported < 10; ++i) {
        if (expected[i] == actual[i]) continue;
        ADD_FAILURE() << "byte 0x" << std::hex << i << ": expected 0x" << int(expected[i]) << ", got 0x"
                      << int(actual[i]);
        ++reported;
    }
}

// Parameter names "Part", "Card"... for tests run once per table.
inline std::string TableParamName(const ::testing::TestParamInfo<TableIndex>& info) {
    const std::string name = EntryName(info.param);
    return name.substr(0, name.find('.'));
}

} // namespace ledgrin::test
