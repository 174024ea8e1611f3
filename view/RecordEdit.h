// The Update's work on the store: the TypeID guard, the record's name, head and table
// fields, and the description rewrite or append. Saving is left to the caller, which
// then refreshes the list row and writes the table and the Desc table.
#pragma once

#include "archive/TableStore.h"
#include "records/DescRecord.h"
#include "records/RecordValues.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ledgrin {

// The description box is read with a 1,024-byte buffer, NUL included.
constexpr std::size_t kDescriptionBoxLimit = 1024;

struct UpdateOutcome {
    bool refused = true; // guard failed: nothing was written ("No Item selected, no Update.")
    std::size_t descIndex = kNoDescription;       // the Desc record rewritten or appended
    bool appended = false;                        // a Desc record was (to be) appended
    AppendResult append = AppendResult::Appended; // when appended: whether it was added
    std::string_view name; // the record's new Name for the list row; points into the store
    std::string entryLine; // the "Entry to Update" line as printed (empty if out of memory)
};

// Update of record `index` of item table t from the panel values. Refused, with nothing
// written, when t is not an item table, the table has no such record, or typeIdBox (the
// number in the "TypeID" box) differs from the record's TypeID. Otherwise writes the name,
// head and table fields (ApplyUpdate), then the description: the first Desc record with
// the item's TypeID is rewritten from descriptionText (read as the box's first 1,023
// bytes, carriage returns dropped); without one a record is appended, unless the Desc
// table is full (65,535 records) or memory runs out, which `append` reports while the
// item record itself stays written. Prints the Update's diagnostic lines. Never throws.
UpdateOutcome ApplyRecordUpdate(TableStore& store, TableIndex t, std::uint32_t index, std::uint32_t typeIdBox,
                                const RecordValues& panel, std::string_view descriptionText) noexcept;

// The paired check boxes: " Avail. in Shop" 10007 / " Display only" 10061 exclude each
// other; exactly one of " Minimum" 10028 / " Maximum" 10029 stays checked.
struct PairEffect {
    int otherId;       // the partner box; 0 when clickedId has none
    bool otherChecked; // its new state, when change is set
    bool change;       // whether the partner box is to be set
};
PairEffect CheckPairEffect(int clickedId, bool nowChecked);

// A number box as GetDlgItemInt reads it unsigned: decimal digits, optionally between
// spaces; empty text, any other character or a value above 4,294,967,295 read as 0.
std::uint32_t ParseNumberBox(std::string_view text);

} // namespace ledgrin
