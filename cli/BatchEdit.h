// `set --where`: conditions that pick records of a table, and assignments that give each
// picked record its new values. The result is import rows, so every record goes through
// the import's checks and exact writes alike.
#pragma once

#include "archive/TableStore.h"
#include "cli/InputRows.h"
#include "cli/TableColumns.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ledgrin::cli {

enum class CompareOp { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, NameContains };

struct Condition {
    const Column* column = nullptr;
    CompareOp op = CompareOp::Equal;
    std::uint32_t value = 0; // the numeric comparisons
    std::string text;        // NameContains: what the editor's search looks for
};

enum class AssignOp { Set, Add, Subtract, Multiply };

struct Assignment {
    const Column* column = nullptr;
    AssignOp op = AssignOp::Set;
    std::string text;         // the value, N or F as given
    std::uint64_t amount = 0; // Add, Subtract: N; Multiply: F times `scale`
    std::uint64_t scale = 1;  // Multiply: 10 to the number of F's decimals
};

// name~TEXT, or FIELD=V, !=, <, <=, > or >= on a numeric column. Empty, or why text is refused.
std::string ParseCondition(const std::vector<Column>& columns, std::string_view text, Condition& out);

// FIELD=V on a column import writes, or FIELD+=N, -=N, *=F on a numeric field (F: a
// decimal number of at most nine digits). Empty, or why text is refused.
std::string ParseAssignment(const std::vector<Column>& columns, std::string_view text, Assignment& out);

struct BatchRows {
    std::size_t matched = 0;       // the records all conditions hold for
    std::vector<Problem> problems; // computed values below 0 or too wide, at their records
};

// The rows that apply the assignments to every record of item table t that matches, each
// handed to `row` in index order as it is made (one row, refilled: a batch over a full
// table would otherwise hold every row's cells). +=, -= and *= start from the stored
// value; a product is rounded to the nearest integer, halves away from zero.
BatchRows PlanBatch(const TableStore& store, TableIndex t, const std::vector<Condition>& conditions,
                    const std::vector<Assignment>& assignments,
                    const std::function<void(const InputRow&)>& row);

} // namespace ledgrin::cli
