// Its own program: it replaces the global operator new to make one allocation fail.
#include "records/DescRecord.h"
#include "tests/records/RecordBytes.h"

#include <cstdlib>
#include <new>

namespace {
std::size_t gFailFrom = 0; // allocations of at least this many bytes fail; 0 = none fail
}

void* operator new(std::size_t size) {
    if (gFailFrom != 0 && size >= gFailFrom) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace ledgrin {
namespace {

TEST(DescAppend, WithoutMemoryLeavesTheTableAsItWas) {
    test::Bytes table = test::Pattern(2 * 516);
    table.shrink_to_fit();
    const test::Bytes before = table;
    const std::uint8_t* buffer = table.data();
    std::uint16_t count = 2;

    gFailFrom = 3 * 516;
    const AppendResult result = AppendDescription(table, count, 5, "text");
    gFailFrom = 0;

    EXPECT_EQ(result, AppendResult::OutOfMemory);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(table.data(), buffer);
    test::ExpectSameBytes(before, table);
    EXPECT_EQ(AppendDescription(table, count, 5, "text"), AppendResult::Appended);
    EXPECT_EQ(count, 3);
}

} // namespace
} // namespace ledgrin
