// The members of a SetItem record: up to ten (TypeID, quantity) pairs behind MemberCount.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ledgrin {

constexpr std::size_t kMaxSetMembers = 10;

struct SetMember {
    std::uint32_t typeId;
    std::uint16_t storedQuantity;
    std::uint32_t shownQuantity; // a stored 0 is shown as 1
};

// Fixed capacity, so listing the members never allocates.
struct SetMemberList {
    SetMember members[kMaxSetMembers];
    std::size_t count;
    const SetMember* begin() const { return members; }
    const SetMember* end() const { return members + count; }
};

// The first min(MemberCount, 10) members of a SetItem record, in index order. A stored
// MemberCount above 10 cannot make a read leave the record.
SetMemberList ListSetMembers(const std::uint8_t* setItemRecord);

} // namespace ledgrin
