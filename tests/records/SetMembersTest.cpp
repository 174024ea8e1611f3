#include "records/SetMembers.h"
#include "records/RecordCodes.h"
#include "tests/records/RecordBytes.h"

#include <memory>

namespace ledgrin {
namespace {

using test::Bytes;
using test::Put;

// A SetItem record (244 bytes): MemberCount at 0xA8, TypeIDs u32[10] at 0xAC,
// quantities u16[10] at 0xD4; member i holds TypeID 1000 + i and quantity i.
Bytes SetRecord(std::uint32_t memberCount) {
    Bytes rec = test::Pattern(244);
    Put(rec, 0xA8, 4, memberCount);
    for (std::uint32_t i = 0; i < 10; ++i) {
        Put(rec, 0xAC + 4 * i, 4, 1000 + i);
        Put(rec, 0xD4 + 2 * i, 2, i);
    }
    return rec;
}

TEST(SetMembers, NoneWhenMemberCountIs0) {
    EXPECT_EQ(ListSetMembers(SetRecord(0).data()).count, 0u);
}

TEST(SetMembers, ExactlyTheFirstMemberCountInIndexOrder) {
    const SetMemberList list = ListSetMembers(SetRecord(3).data());
    ASSERT_EQ(list.count, 3u);
    EXPECT_EQ(list.members[0].typeId, 1000u);
    EXPECT_EQ(list.members[1].typeId, 1001u);
    EXPECT_EQ(list.members[2].typeId, 1002u);
    EXPECT_EQ(list.members[2].storedQuantity, 2);
    EXPECT_EQ(list.members[2].shownQuantity, 2u);
}

TEST(SetMembers, AStoredQuantityOf0IsShownAs1) {
    Bytes rec = SetRecord(1);
    const SetMember member = ListSetMembers(rec.data()).members[0];
    EXPECT_EQ(member.storedQuantity, 0);
    EXPECT_EQ(member.shownQuantity, 1u);
}

TEST(SetMembers, AMemberCountAbove10ListsTenAndReadsNothingBehindTheRecord) {
    for (std::uint32_t stored : {11u, 0xFFFFFFFFu}) {
        const Bytes pattern = SetRecord(stored);
        // An allocation of exactly 244 bytes, so a sanitizer build catches any stray read.
        std::unique_ptr<std::uint8_t[]> rec(new std::uint8_t[244]);
        std::copy(pattern.begin(), pattern.end(), rec.get());
        const SetMemberList list = ListSetMembers(rec.get());
        ASSERT_EQ(list.count, 10u);
        EXPECT_EQ(list.members[9].typeId, 1009u);
        EXPECT_EQ(list.members[9].shownQuantity, 9u);
    }
}

TEST(RecordCodes, AreTheStoredNumbersWhateverTheyAre) {
    Bytes hair = test::Pattern(172);
    hair[0xA9] = 255;
    EXPECT_EQ(HairStyleCharacterIndex(hair.data()), kNoCharacter);
    hair[0xA9] = 2;
    EXPECT_EQ(HairStyleCharacterIndex(hair.data()), 2);

    Bytes card = test::Pattern(360);
    Put(card, 0x15A, 2, 7); // a volume without a label stays a plain number
    Put(card, 0x15C, 4, 0x01020304);
    EXPECT_EQ(CardVolume(card.data()), 7);
    EXPECT_EQ(CardPosition(card.data()), 0x01020304u);
}

} // namespace
} // namespace ledgrin
