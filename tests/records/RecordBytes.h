// Helpers for byte-exact record tests (with Pattern, Put and PutText from the support
// library): a comparison that names every offset that differs from what was expected.
#pragma once

#include "records/TableInfo.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ledgrin::test {

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

} // namespace ledgrin::test
