// What the record panel shows for one record: every value the Update reads back, the
// read-only texts, the set members, the description and the two diagnostic lines.
#pragma once

#include "archive/TableStore.h"
#include "records/RecordValues.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ledgrin {

// One row of the member list 10072.
struct MemberRow {
    std::string typeIdText;   // "%d" of the member's TypeID
    std::string name;         // FindNameByTypeID, empty when no record has the TypeID
    std::string quantityText; // the stored quantity, "1" for a stored 0
};

struct RecordDisplay {
    bool valid = false;         // false: no such record (or no memory); show nothing
    RecordValues values;        // the editable controls, as ReadRecordValues gives them
    std::string characterText;  // 10022: the character's label, empty for none or no label
    std::string typeIdText;     // 10024: the TypeID in unsigned decimal
    std::string cardpackText;   // 10075 (Card): the Volume's label, empty above 4
    std::uint32_t position = 0; // 10077 (Card)
    bool showEffectValue = false, showEffectTime = false; // 10078/10079, 10080/10081 (Card)
    bool isCard = false;                                  // the card block's controls and visibility apply
    bool isSetItem = false;                               // the member list is refilled from members
    std::vector<MemberRow> members;                       // at most 10, in member order
    std::string description; // the Desc text with CR LF line breaks; empty when none
    std::string clickedLine; // "Entry clicked: %d (%d, %s)\n"
    std::string fieldsLine;  // "char %d group %d type %d pos %d serial %d\n"
};

// The display of record `index` of item table t. Never throws; invalid when t is not an
// item table, index is not below its RecordCount, or memory runs out.
RecordDisplay BuildRecordDisplay(const TableStore& store, TableIndex t, std::uint32_t index) noexcept;

} // namespace ledgrin
