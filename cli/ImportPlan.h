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
#include <memory>
#include <string>
#include <vector>

namespace ledgrin::cli {

enum class DescAction { None, Rewrite, Append };

struct RowPlan {
    Position at;           // of the row; shown with the record when it is a line of a file
    std::size_t index = 0; // the record in the item table
    std::uint32_t typeId = 0;
    std::size_t firstEdit = 0, edits = 0; // the record's changed runs in ImportPlan::edits; none: it stays
    DescAction desc = DescAction::None;
    std::size_t descIndex = kNoDescription; // Rewrite: the Desc record rewritten
    std::string oldText, newText;           // the description before and after
};

// A run of a record's bytes that a plan changes: `length` bytes at `offset`, whose new
// values stand at `data` in ImportPlan::editBytes.
struct ByteEdit {
    std::uint16_t offset = 0, length = 0;
    std::uint32_t data = 0;
};

struct ImportPlan {
    TableIndex table = 0;
    std::vector<Problem> problems;
    std::vector<RowPlan> rows; // only rows that change something
    // The changed bytes alone: a plan that changes every record holds no copy of the table.
    std::vector<ByteEdit> edits;
    std::vector<std::uint8_t> editBytes;

    std::size_t RecordCount() const;
    std::size_t DescCount(DescAction action) const;
    // Writes the row's changes over its record's stored bytes.
    void Edit(const RowPlan& row, std::uint8_t* record) const;
};

// Plans the import of rows into item table t of store. The header's columns, where the
// file has one, are checked even when no row follows.
ImportPlan PlanImport(const TableStore& store, TableIndex t, const std::vector<InputRow>& rows,
                      const std::vector<InputCell>& header = {});

// PlanImport a row at a time, as a reader yields them, so that a file of a full table is
// never held as cells.
class ImportPlanner;
class RowPlanner {
  public:
    RowPlanner(const TableStore& store, TableIndex t, const std::vector<InputCell>& header = {});
    ~RowPlanner();
    void Add(const InputRow& row);
    ImportPlan Finish();

  private:
    std::unique_ptr<ImportPlanner> planner_;
    ImportPlan refused_; // a table that cannot be imported
};

// Writes a plan without problems into store; throws std::bad_alloc when Desc cannot grow.
void ApplyImport(TableStore& store, const ImportPlan& plan);

// Field by field, each changed record under a line naming it, appended to out; from the
// store the plan was made for, before the plan is applied.
void AppendPlanDetails(std::string& out, const TableStore& store, const ImportPlan& plan);

// One line: how many records and descriptions change ("... to change" when planned only).
std::string FormatPlanSummary(const ImportPlan& plan, bool written);

} // namespace ledgrin::cli
