#include "records/SetMembers.h"
#include "tests/records/RecordBytes.h"

#include <memory>

namespace ledgrin {
namespace {

using test::Bytes;
using test::Put;

// A SetItem record (244 bytes): MemberCount at 0xA8, TypeIDs u32[10] at 0xAC,
// quantities u16[10] at 0xD4; member i holds TypeID 1000 + i and quantity i.
TEST(SetMembers, AreTheFirstMemberCountPairsInIndexOrderAtMostTen) {
    const std::pair<std::uint32_t, std::size_t> cases[] = {
        {0, 0}, {3, 3}, {10, 10}, {11, 10}, {0xFFFFFFFF, 10}};
    for (const auto& [stored, listed] : cases) {
        Bytes pattern = test::Pattern(244);
        Put(pattern, 0xA8, 4, stored);
        for (std::uint32_t i = 0; i < 10; ++i) {
            Put(pattern, 0xAC + 4 * i, 4, 1000 + i);
            Put(pattern, 0xD4 + 2 * i, 2, i);
        }
        // An allocation of exactly 244 bytes, so a sanitizer build catches any stray read.
        std::unique_ptr<std::uint8_t[]> rec(new std::uint8_t[244]);
        std::copy(pattern.begin(), pattern.end(), rec.get());
        const SetMemberList list = ListSetMembers(rec.get());
        ASSERT_EQ(list.count, listed) << stored;
        for (std::uint32_t i = 0; i < listed; ++i) {
            EXPECT_EQ(list.members[i].typeId, 1000 + i);
            EXPECT_EQ(list.members[i].storedQuantity, i);
            EXPECT_EQ(list.members[i].shownQuantity, i == 0 ? 1 : i); // a stored 0 is shown as 1
        }
    }
}

} // namespace
} // namespace ledgrin
