// Import as a plan: every row is matched to its record by TypeID, checked, and turned
// into the record's new bytes by the Update's own rules (ReadRecordValues, then
// ApplyUpdate) before anything is changed. A plan with errors is never applied.
//
// What a row may do:
// - A row whose cells all equal what the archive holds changes nothing, not even bytes
//   the Update would normalise (a 40-byte name, a bonus byte from 1 to 100, a PriceCopy
//   that disagrees with Price). That keeps an export followed by an import exact.
// - A row with a changed field writes the bytes of the fields whose value changes, and of
//   the fields the Update's rules derive from them (PriceCopy, MonthlyPrice, StatCopy, the
//   bonus word), as the editor's Update writes them; a changed name clears its 40 bytes
//   first. Unchanged fields keep their bytes, even where the Update would normalise them.
// - A changed value must come out of those rules as written; otherwise it is an error
//   (a value too wide for its field, a read-only field, a bit the Update keeps, a
//   derived field that disagrees with its rule). A derived or decoded column left as
//   exported is accepted.
// - The Description column rewrites the item's first Desc record, or appends one, only
//   when its text (without carriage returns) differs from the stored text.
#pragma once

#include "archive/TableStore.h"
#include "cli/InputRows.h"
#include "records/DescRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ledgrin::cli {

enum class DescAction { None, Rewrite, Append };

struct RowPlan {
    Position at;           // of the row; shown with the record when it is a line of a file
    std::size_t index = 0; // the record in the item table
    std::uint32_t typeId = 0;
    std::string name;                 // the record's name before the change
    std::vector<std::uint8_t> bytes;  // the record's new bytes; empty: the record stays as it is
    std::vector<std::string> changes; // "Price: 1500 -> 1800", one per changed field
    DescAction desc = DescAction::None;
    std::size_t descIndex = kNoDescription; // Rewrite: the Desc record rewritten
    std::string oldText, newText;           // the description before and after
};

struct ImportPlan {
    TableIndex table = 0;
    std::vector<Problem> problems;
    std::vector<RowPlan> rows; // only rows that change something

    std::size_t RecordCount() const;
    std::size_t DescCount(DescAction action) const;
};

// Plans the import of rows into item table t of store. The header's columns, where the
// file has one, are checked even when no row follows.
ImportPlan PlanImport(const TableStore& store, TableIndex t, const std::vector<InputRow>& rows,
                      const std::vector<InputCell>& header = {});

// Writes a plan without problems into store; throws std::bad_alloc when Desc cannot grow.
void ApplyImport(TableStore& store, const ImportPlan& plan);

// Field by field, each changed record under a line naming it.
std::string FormatPlanDetails(const ImportPlan& plan);

// One line: how many records and descriptions change ("... to change" when planned only).
std::string FormatPlanSummary(const ImportPlan& plan, bool written);

} // namespace ledgrin::cli
