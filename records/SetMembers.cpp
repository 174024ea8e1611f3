#include "records/SetMembers.h"

#include "records/ByteAccess.h"
#include "records/RecordFields.h"

#include <algorithm>

namespace ledgrin {

SetMemberList ListSetMembers(const std::uint8_t* setItemRecord) {
    SetMemberList list{};
    const FieldDef* countField = FindField(kSetItemTable, "MemberCount");
    const FieldDef* typeIds = FindField(kSetItemTable, "MemberTypeID0");
    const FieldDef* quantities = FindField(kSetItemTable, "MemberQuantity0");
    if (!countField || !typeIds || !quantities) return list;
    list.count = std::min<std::size_t>(GetField(setItemRecord, *countField), kMaxSetMembers);
    // Both arrays are contiguous: member i lies i field widths behind member 0.
    for (std::size_t i = 0; i < list.count; ++i) {
        SetMember& member = list.members[i];
        member.typeId = ReadField(setItemRecord, typeIds->offset + i * typeIds->width, typeIds->width);
        member.storedQuantity = static_cast<std::uint16_t>(
            ReadField(setItemRecord, quantities->offset + i * quantities->width, quantities->width));
        member.shownQuantity = member.storedQuantity == 0 ? 1 : member.storedQuantity;
    }
    return list;
}

} // namespace ledgrin
